#include "DataTableModel.h"

#include "DataTable.h"

namespace kz {

DataTableModel::DataTableModel(DataTable& table, const QStringList& fields, QObject* parent)
    : QAbstractTableModel(parent), table_(table), fields_(fields) {
    for (const QString& f : fields_) {
        indices_ << table_.def().fieldIndex(f);
        const FieldDef* def = table_.def().field(f);
        titles_ << (def ? def->title() : f);
        editable_ << false;
    }
    rows_ = table_.isOpen() ? table_.recordCount() : 0;
    connect(&table_, &DataTable::rowsChanged, this, &DataTableModel::reset);
    // Opening and closing change the rows without a row signal of their own.
    connect(&table_, &DataTable::stateChanged, this, [this] {
        if ((table_.isOpen() ? table_.recordCount() : 0) != rows_)
            reset();
        else if (rows_ > 0)
            emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    });
    connect(&table_, &DataTable::currentChanged, this, [this] {
        if (rows_ > 0)
            emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    });
}

void DataTableModel::reset() {
    beginResetModel();
    rows_ = table_.isOpen() ? table_.recordCount() : 0;
    endResetModel();
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
    if (!index.isValid() || index.row() >= rows_ || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const int f = indices_.value(index.column(), -1);
    if (f < 0)
        return {};
    return DataTable::displayText(table_.def().fields[f], table_.valueAt(index.row(), f));
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
    if (table_.recNo() != index.row() && !table_.moveTo(index.row()))
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
