#include "widgets/calculator/RowGrid.h"

#include "core/model/RowGridText.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace kz {

namespace {
// The editor of a cell filters its keys as every numeric input does.
class NumberCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor))
            makeNumericInput(edit, true, false);
        return editor;
    }
};
} // namespace

RowGrid::RowGrid(const RowGridSetup& setup, QWidget* parent) : QTableWidget(parent), setup_(setup) {
    setColumnCount(int(setup_.headers.size()));
    setHorizontalHeaderLabels(setup_.headers);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new NumberCellDelegate(this));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setMinimumHeight(150);
    connect(this, &QTableWidget::itemChanged, this, [this] {
        if (writing_ == 0)
            emit edited();
    });
}

void RowGrid::layOut(int lastNumber) {
    const int rows = std::max(0, lastNumber - setup_.firstNumber + 1);
    if (rows == rowCount())
        return;
    ++writing_;
    setRowCount(rows);
    numberRows();
    --writing_;
}

void RowGrid::numberRows() {
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            if (item(r, c))
                continue;
            auto* cell = new QTableWidgetItem;
            if (c == 0 || c > setup_.editableColumns)
                cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(r, c, cell);
        }
        item(r, 0)->setText(QString::number(setup_.firstNumber + r));
    }
}

QString RowGrid::rowsText() const {
    return rowsText(setup_.editableColumns);
}

QString RowGrid::shownText() const {
    return rowsText(columnCount() - 1);
}

QString RowGrid::rowsText(int columns) const {
    GridRows rows;
    for (int r = 0; r < rowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c <= columns; ++c)
            cells << (item(r, c) ? item(r, c)->text().trimmed() : QString());
        rows << cells;
    }
    return gridRowsText(rows);
}

void RowGrid::setCell(int row, int column, const QString& text) {
    if (QTableWidgetItem* cell = item(row, column); cell && cell->text() != text)
        cell->setText(text);
}

void RowGrid::setRowsText(const QString& text) {
    const int cells = columnCount() - 1;
    const GridRows rows = parseGridRows(text, cells);
    ++writing_;
    layOut(setup_.firstNumber + int(rows.size()) - 1);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < cells; ++c)
            setCell(r, c + 1, rows[r][c]);
    --writing_;
}

void RowGrid::clearCells() {
    ++writing_;
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 1; c < columnCount(); ++c)
            setCell(r, c, {});
    --writing_;
    emit edited();
}

void RowGrid::selectCell(int row, int column) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    setCurrentCell(row, column);
    focusIfPossible(this);
}

void RowGrid::keyPressEvent(QKeyEvent* event) {
    // Only the distances take characters; elsewhere a character beeps and is dropped.
    const int column = currentColumn();
    const bool editable = column >= 1 && column <= setup_.editableColumns;
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        if (!editable) {
            dialogs().beep();
            return;
        }
        if (FilterNumberKey(this, event))
            return;
    }
    QTableWidget::keyPressEvent(event);
}

QWidget* buildRowGridPanel(RowGrid* grid, QWidget* parent) {
    auto* box = new QWidget(parent);
    box->setObjectName(QStringLiteral("Panel") + grid->objectName());
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    grid->setParent(box);
    layout->addWidget(grid);
    for (const QString& note : grid->setup().notes) {
        auto* label = new QLabel(note, box);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto* buttons = new QHBoxLayout;
    for (const GridButton& b : grid->setup().buttons) {
        auto* button = new QPushButton(b.caption, box);
        button->setObjectName(b.name);
        button->setAutoDefault(false);
        setHint(button, b.hint);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return box;
}

} // namespace kz
