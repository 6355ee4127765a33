#include "widgets/reference/TableGrid.h"

#include "store/DataTable.h"
#include "store/DataTableModel.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QToolButton>

#include <algorithm>

namespace kz {

namespace {
// Forwards to whatever dialog service is installed when the message comes.
struct DialogsMessenger : Messenger {
    void showMessage(const QString& text) override { dialogs().showMessage(text); }
};

class PickListDelegate : public QStyledItemDelegate {
public:
    explicit PickListDelegate(TableGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const QStringList items = itemsOf(index);
        if (items.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("PickList"));
        combo->addItems(items);
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int i = combo->findText(index.data(Qt::EditRole).toString());
            combo->setCurrentIndex(i >= 0 ? i : 0);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, combo->currentText());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    QStringList itemsOf(const QModelIndex& index) const {
        return grid_->dataModel() ? grid_->pickList(grid_->dataModel()->fieldAt(index.column()))
                                  : QStringList();
    }
    TableGrid* grid_;
};
} // namespace

void reportThroughDialogs(DataTable& table) {
    static DialogsMessenger messenger;
    if (!table.reporter())
        table.setReporter(&messenger);
}

TableGrid::TableGrid(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new PickListDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(14);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void TableGrid::setTable(DataTable* table, const QStringList& fields) {
    if (table_)
        disconnect(table_, nullptr, this, nullptr);
    DataTableModel* old = model_;
    table_ = table;
    model_ = nullptr;
    pickLists_.clear();
    if (table_) {
        QStringList shown = fields;
        if (shown.isEmpty())
            for (const FieldDef& f : table_->def().fields)
                if (f.visible)
                    shown << f.name;
        model_ = new DataTableModel(*table_, shown, this);
        reportThroughDialogs(*table_);
    }
    setModel(model_);
    delete old;
    if (!table_)
        return;
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TableGrid::rowChosen);
    connect(model_, &QAbstractItemModel::modelReset, this, &TableGrid::syncFromTable);
    // New rows (another master row, an insert) may hold longer texts; columns never shrink under
    // the user's eyes.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { applyColumnWidths(true); });
    connect(table_, &DataTable::currentChanged, this, &TableGrid::syncFromTable);
    connect(table_, &DataTable::stateChanged, this, &TableGrid::syncFromTable);
    applyColumnWidths();
    syncFromTable();
}

void TableGrid::applyColumnWidths(bool growOnly) {
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int width = fittingWidth(c);
        if (!growOnly || width > columnWidth(c))
            setColumnWidth(c, width);
    }
}

int TableGrid::fittingWidth(int column) const {
    const QString field = model_->fieldAt(column);
    const FieldDef* f = table_->def().field(field);
    const int chars = chars_.value(field, f && f->width > 0 ? f->width : 12);
    const int charWidth = fontMetrics().averageCharWidth();
    int width = chars * charWidth + 12;
    // The heading is read in full, and so are the texts that tell rows apart ("сталь круглая" and
    // "сталь квадратная" must not both end in "сталь ..."), up to a sensible length.
    const QString title = model_->headerData(column, Qt::Horizontal).toString();
    width = std::max(width, horizontalHeader()->fontMetrics().horizontalAdvance(title) + 24);
    const int rows = std::min(model_->rowCount(), 500);
    const int widest = 40 * charWidth;
    for (int r = 0; r < rows; ++r) {
        const QString text = model_->index(r, column).data().toString();
        width = std::max(width, std::min(fontMetrics().horizontalAdvance(text) + 16, widest));
    }
    return width;
}

void TableGrid::setTitle(const QString& field, const QString& title) {
    if (!model_)
        return;
    model_->setTitle(field, title);
    if (const int c = columnOf(field); c >= 0)
        setColumnWidth(c, fittingWidth(c));
}

void TableGrid::setColumnChars(const QString& field, int chars) {
    chars_.insert(field, chars);
    if (const int c = columnOf(field); c >= 0)
        setColumnWidth(c, fittingWidth(c));
}

void TableGrid::setEditable(const QString& field, bool editable) {
    if (model_)
        model_->setEditable(field, editable);
}

void TableGrid::setAllEditable(bool editable) {
    if (!model_)
        return;
    for (int c = 0; c < model_->columnCount(); ++c)
        model_->setEditable(model_->fieldAt(c), editable);
}

void TableGrid::setColumnAlignment(const QString& field, Qt::Alignment alignment) {
    if (model_)
        model_->setAlignment(field, alignment);
}

void TableGrid::setPickList(const QString& field, const QStringList& items) {
    if (items.isEmpty())
        pickLists_.remove(field);
    else
        pickLists_.insert(field, items);
}

QStringList TableGrid::pickList(const QString& field) const {
    return pickLists_.value(field);
}

int TableGrid::columnOf(const QString& field) const {
    return model_ ? model_->columnOf(field) : -1;
}

void TableGrid::syncFromTable() {
    if (!model_ || syncing_)
        return;
    syncing_ = true;
    const int row = model_->currentRow();
    if (row >= 0 && row < model_->rowCount()) {
        const int column = std::max(currentIndex().column(), 0);
        if (currentIndex().row() != row || !currentIndex().isValid())
            setCurrentIndex(model_->index(row, column));
    } else {
        setCurrentIndex({});
    }
    syncing_ = false;
}

void TableGrid::rowChosen(const QModelIndex& current, const QModelIndex&) {
    if (syncing_ || !table_ || !current.isValid())
        return;
    const int row = model_->tableRow(current.row());
    const bool inserting = table_->state() == DataTable::State::Insert;
    if (row < 0 || (row == table_->recNo() && !inserting))
        return;
    // Leaving an edited or inserted row posts it first; a refused post keeps the grid there.
    if (!table_->moveTo(row))
        syncFromTable();
}

TableNavigator::TableNavigator(QWidget* parent) : QWidget(parent) {
    struct ButtonText {
        const char* name;
        const char* glyph;
        const char* hint;
    };
    static const ButtonText buttons[] = {
        {"nbFirst", "|\u25C0", "Первая запись"},       {"nbPrior", "\u25C0", "Предыдущая запись"},
        {"nbNext", "\u25B6", "Следующая запись"},      {"nbLast", "\u25B6|", "Последняя запись"},
        {"nbInsert", "+", "Вставка записи"},           {"nbDelete", "\u2212", "Удаление записи"},
        {"nbEdit", "\u25B2", "Редактирование записи"}, {"nbPost", "\u2714", "Сохранение записи"},
        {"nbCancel", "\u2716", "Отмена изменений"},    {"nbRefresh", "\u21BB", "Обновление данных"},
    };
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = First; i <= Refresh; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(buttons[i].name));
        b->setText(QString::fromUtf8(buttons[i].glyph));
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(25, 25);
        setHint(b, QString::fromUtf8(buttons[i].hint));
        connect(b, &QToolButton::clicked, this, [this, i] { click(Button(i)); });
        row->addWidget(b);
        buttons_[i] = b;
    }
    updateButtons();
}

void TableNavigator::setTable(DataTable* table) {
    if (table_)
        disconnect(table_, nullptr, this, nullptr);
    table_ = table;
    if (table_) {
        reportThroughDialogs(*table_);
        connect(table_, &DataTable::currentChanged, this, &TableNavigator::updateButtons);
        connect(table_, &DataTable::stateChanged, this, &TableNavigator::updateButtons);
        connect(table_, &DataTable::rowsChanged, this, &TableNavigator::updateButtons);
    }
    updateButtons();
}

void TableNavigator::setVisibleButtons(const QList<Button>& buttons) {
    for (int i = First; i <= Refresh; ++i)
        buttons_[i]->setVisible(buttons.contains(Button(i)));
}

void TableNavigator::click(Button b) {
    if (!table_ || !table_->isOpen())
        return;
    switch (b) {
    case First:
        table_->first();
        break;
    case Prior:
        table_->prior();
        break;
    case Next:
        table_->next();
        break;
    case Last:
        table_->last();
        break;
    case Insert:
        table_->insert();
        break;
    case Delete:
        if (confirmDeletion(nameField_.isEmpty() ? QString() : table_->text(nameField_)))
            table_->remove();
        break;
    case Edit:
        table_->edit();
        break;
    case Post:
        table_->post();
        break;
    case Cancel:
        table_->cancel();
        break;
    case Refresh:
        table_->refresh();
        break;
    }
    updateButtons();
    emit clicked(b);
}

void TableNavigator::updateButtons() {
    const bool open = table_ && table_->isOpen();
    const bool editing = open && table_->isEditing();
    const bool inserting = open && table_->state() == DataTable::State::Insert;
    const bool empty = !open || table_->isEmpty();
    const int rec = open ? table_->recNo() : -1;
    const int count = open ? table_->recordCount() : 0;
    buttons_[First]->setEnabled(open && (inserting || (!empty && rec > 0)));
    buttons_[Prior]->setEnabled(open && (inserting || (!empty && rec > 0)));
    buttons_[Next]->setEnabled(open && (inserting || (!empty && rec < count - 1)));
    buttons_[Last]->setEnabled(open && (inserting || (!empty && rec < count - 1)));
    buttons_[Insert]->setEnabled(open);
    buttons_[Delete]->setEnabled(open && !empty && !inserting);
    buttons_[Edit]->setEnabled(open && !empty && !editing);
    buttons_[Post]->setEnabled(editing);
    buttons_[Cancel]->setEnabled(editing);
    buttons_[Refresh]->setEnabled(open && !editing);
}

} // namespace kz
