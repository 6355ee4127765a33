#include "store/DataTableModel.h"

#include "store/DataTable.h"

#include <algorithm>

namespace kz {

DataTableModel::DataTableModel(DataTable& table, const QStringList& fields, QObject* parent)
    : QAbstractTableModel(parent), table_(table), fields_(fields) {
    for (const QString& f : fields_) {
        indices_ << table_.def().fieldIndex(f);
        const FieldDef* def = table_.def().field(f);
        titles_ << (def ? def->title() : f);
        editable_ << false;
        alignments_ << Qt::Alignment();
    }
    rows_ = expectedRows();
    // Same number of rows: repaint them, so that an editor committing a cell is not torn down.
    connect(&table_, &DataTable::rowsChanged, this, [this] {
        const bool inserting = table_.state() == DataTable::State::Insert;
        if (expectedRows() != rows_ || inserting != (insertRow_ >= 0) || rows_ == 0)
            reset();
        else
            emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    });
    // Opening, closing, inserting and its end change the rows without a row signal of their own.
    connect(&table_, &DataTable::stateChanged, this, [this] {
        const bool inserting = table_.state() == DataTable::State::Insert;
        if (expectedRows() != rows_ || inserting != (insertRow_ >= 0))
            reset();
        else if (rows_ > 0)
            emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    });
    connect(&table_, &DataTable::currentChanged, this, [this] {
        if (rows_ > 0)
            emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    });
}

int DataTableModel::expectedRows() const {
    if (!table_.isOpen())
        return 0;
    return table_.recordCount() + (table_.state() == DataTable::State::Insert ? 1 : 0);
}

void DataTableModel::reset() {
    beginResetModel();
    rows_ = expectedRows();
    insertRow_ = table_.state() == DataTable::State::Insert ? std::max(table_.recNo(), 0) : -1;
    endResetModel();
}

int DataTableModel::currentRow() const {
    if (insertRow_ >= 0)
        return insertRow_;
    return table_.isOpen() ? table_.recNo() : -1;
}

int DataTableModel::tableRow(int gridRow) const {
    if (insertRow_ < 0 || gridRow < insertRow_)
        return gridRow;
    return gridRow == insertRow_ ? -1 : gridRow - 1;
}

void DataTableModel::setAlignment(const QString& field, Qt::Alignment alignment) {
    const int c = fields_.indexOf(field);
    if (c >= 0)
        alignments_[c] = alignment;
}

void DataTableModel::setEditable(const QString& field, bool editable) {
    const int c = fields_.indexOf(field);
    if (c >= 0)
        editable_[c] = editable;
}

void DataTableModel::setTitle(const QString& field, const QString& title) {
    const int c = fields_.indexOf(field);
    if (c >= 0) {
        titles_[c] = title;
        emit headerDataChanged(Qt::Horizontal, c, c);
    }
}

int DataTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DataTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(fields_.size());
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_)
        return {};
    if (role == Qt::TextAlignmentRole && alignments_.value(index.column()))
        return QVariant::fromValue(alignments_[index.column()]);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const int f = indices_.value(index.column(), -1);
    if (f < 0)
        return {};
    const int row = tableRow(index.row());
    const QVariant v = row < 0 ? table_.value(f) : table_.valueAt(row, f);
    return DataTable::displayText(table_.def().fields[f], v);
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return titles_.value(section);
    return {};
}

Qt::ItemFlags DataTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && editable_.value(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !editable_.value(index.column()))
        return false;
    const QString field = fields_[index.column()];
    const int row = tableRow(index.row());
    // A row in the edit buffer waits for the table's post.
    if ((row < 0 && table_.state() == DataTable::State::Insert) ||
        (row == table_.recNo() && table_.state() == DataTable::State::Edit)) {
        if (!table_.setText(field, value.toString()))
            return false;
        emit dataChanged(index, index);
        return true;
    }
    if (row < 0 || (table_.recNo() != row && !table_.moveTo(row)))
        return false;
    if (!table_.edit())
        return false;
    if (!table_.setText(field, value.toString()) || !table_.post()) {
        table_.cancel();
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

} // namespace kz
