#include "widgets/selection/SelectionRunDialog.h"

#include "widgets/common/DialogService.h"
#include "widgets/frames/FrameWidgets.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/NumberText.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/frames/PermissibleResistanceDialog.h"
#include "widgets/common/SpinButton.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
QLabel* boldLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Keys that only move around the grid; they never change a cell.
bool isNavigationKey(const QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
        return true;
    default:
        return false;
    }
}

// Cell editors whose keys the dialog filters, and which it can commit before checking the grid.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(QObject* keyFilter, QObject* parent) : QStyledItemDelegate(parent), keyFilter_(keyFilter) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setObjectName(QStringLiteral("CellEditor"));
        editor->installEventFilter(keyFilter_);
        // Every keystroke reaches the cell at once, so OK checks what is on screen.
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            auto* self = const_cast<CellDelegate*>(this);
            connect(line, &QLineEdit::textEdited, self, [self, line] { emit self->commitData(line); });
        }
        return editor;
    }

private:
    QObject* keyFilter_;
};
} // namespace

SelectionRunDialog::SelectionRunDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TParam1Fm"));
    setWindowTitle(u"Параметры подбора."_s);
    setHelpContext(this, 34);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);

    auto* rRow = new QHBoxLayout;
    rRow->addWidget(boldLabel(this, u"Требуемое значение сопротивления заземляющего устройства:"_s));
    editR_ = makeEdit(this, QStringLiteral("EditR"), QStringLiteral("4"));
    editR_->setFixedWidth(70);
    editRFilter_ = makeNumericInput(editR_);
    rRow->addWidget(editR_);
    btnR1_ = new SpinButton(editR_, 1, this);
    btnR1_->setObjectName(QStringLiteral("btnR1"));
    btnR1_->useDefaultSteps();
    btnR01_ = new SpinButton(editR_, 0.1, this);
    btnR01_->setObjectName(QStringLiteral("btnR01"));
    btnR01_->useDefaultSteps();
    rRow->addWidget(btnR1_);
    rRow->addWidget(btnR01_);
    speedButton2_ = makeToolButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("eu"),
                                   u"Вызов диалога "_s +
                                       quoted(u"Предельно допустимые сопротивления заземляющих устройств"_s));
    rRow->addWidget(speedButton2_);
    rRow->addStretch(1);
    layout->addLayout(rRow);

    auto* lists = new QHBoxLayout;
    auto* source = new QVBoxLayout;
    source->addWidget(boldLabel(this, u"Исходные параметры."_s));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListBox1"));
    list_->setSortingEnabled(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setMinimumWidth(260);
    source->addWidget(list_);
    lists->addLayout(source);

    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    const QString tableName = quoted(u"Выбранные параметры"_s);
    btnAdd_ =
        makeToolButton(this, QStringLiteral("btnAdd"), {}, u"Добавить параметр в таблицу "_s + tableName);
    btnAdd_->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    btnDelete_ =
        makeToolButton(this, QStringLiteral("btnDelete"), {}, u"Удалить параметр из таблицы "_s + tableName);
    btnDelete_->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    btnUp_ = makeToolButton(this, QStringLiteral("btnUp"), {}, u"Переместить параметр на строку вверх"_s);
    btnUp_->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    btnDown_ = makeToolButton(this, QStringLiteral("btnDown"), {}, u"Переместить параметр на строку вниз"_s);
    btnDown_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    for (QToolButton* b : {btnAdd_, btnDelete_, btnUp_, btnDown_})
        moves->addWidget(b);
    moves->addStretch(1);
    lists->addLayout(moves);

    auto* chosen = new QVBoxLayout;
    chosen->addWidget(boldLabel(this, u"Выбранные параметры."_s));
    grid_ = new QTableWidget(1, 4, this);
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    grid_->setHorizontalHeaderLabels({u"Параметр"_s, u"Начало"_s, u"Конец"_s, u"Шаг"_s});
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(18);
    // The headings stay readable whatever the font.
    const int widths[] = {242, 45, 40, 36};
    const QFontMetrics metrics(grid_->horizontalHeader()->font());
    // A small step or a large end shows whole, not as "0,…".
    const int number = QFontMetrics(grid_->font()).horizontalAdvance(u"0000,0001"_s) + 14;
    int total = 0;
    for (int c = 0; c < 4; ++c) {
        const int heading = metrics.horizontalAdvance(grid_->horizontalHeaderItem(c)->text()) + 14;
        grid_->setColumnWidth(c, std::max({widths[c], heading, c > 0 ? number : 0}));
        total += grid_->columnWidth(c);
    }
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setTabKeyNavigation(true);
    grid_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::EditKeyPressed);
    grid_->setItemDelegate(new CellDelegate(this, grid_));
    grid_->installEventFilter(this);
    grid_->setMinimumWidth(total + 4);
    chosen->addWidget(grid_);
    lists->addLayout(chosen, 1);
    layout->addLayout(lists, 1);

    auto* notes = new QHBoxLayout;
    auto* note = new QGroupBox(u"Примечание."_s, this);
    note->setObjectName(QStringLiteral("PanelNote"));
    auto* noteLayout = new QVBoxLayout(note);
    for (const char* line : {"Начало - начальное значение параметра.", "Конец - конечное значение параметра.",
                             "Шаг - шаг изменения значения параметра."})
        noteLayout->addWidget(new QLabel(QString::fromUtf8(line), note));
    notes->addWidget(note);
    auto* attention = new QGroupBox(u"Внимание!"_s, this);
    attention->setObjectName(QStringLiteral("PanelAttention"));
    auto* attentionLayout = new QGridLayout(attention);
    lblAllowChar_ = makeLabel(attention, {}, QStringLiteral("lblAllowChar"));
    lblDiapazon_ = makeLabel(attention, {}, QStringLiteral("lblDiapazon"));
    lblRecom_ = makeLabel(attention, {}, QStringLiteral("lblRecom"));
    // The texts follow the chosen cell; they wrap instead of widening the dialog under the cursor.
    for (QLabel* l : {lblAllowChar_, lblDiapazon_, lblRecom_}) {
        l->setWordWrap(true);
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    attentionLayout->addWidget(new QLabel(u"Допустимые символы:"_s, attention), 0, 0);
    attentionLayout->addWidget(lblAllowChar_, 0, 1);
    attentionLayout->addWidget(new QLabel(u"Допустимые значения:"_s, attention), 1, 0);
    attentionLayout->addWidget(lblDiapazon_, 1, 1);
    attentionLayout->addWidget(new QLabel(u"Рекомендация:"_s, attention), 2, 0);
    attentionLayout->addWidget(lblRecom_, 2, 1);
    attentionLayout->setColumnStretch(1, 1);
    notes->addWidget(attention, 1);
    layout->addLayout(notes);

    auto* buttons = new QHBoxLayout;
    buttonRow_ = buttons;
    buttons->addStretch(1);
    btnOK_ = new QPushButton(QStringLiteral("OK"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnOK_->setDefault(true);
    auto* cancel = new QPushButton(u"Отмена"_s, this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* help = new QPushButton(u"Справка..."_s, this);
    help->setObjectName(QStringLiteral("btnHelp"));
    buttons->addWidget(btnOK_);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    layout->addLayout(buttons);

    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelp(34); });
    connect(btnAdd_, &QToolButton::clicked, this, &SelectionRunDialog::addParameter);
    connect(btnDelete_, &QToolButton::clicked, this, &SelectionRunDialog::removeParameter);
    connect(btnUp_, &QToolButton::clicked, this, &SelectionRunDialog::moveRowUp);
    connect(btnDown_, &QToolButton::clicked, this, &SelectionRunDialog::moveRowDown);
    connect(speedButton2_, &QToolButton::clicked, this, &SelectionRunDialog::runPermissibleResistanceDialog);
    connect(editR_, &QLineEdit::textChanged, this, &SelectionRunDialog::updateButtons);
    connect(list_, &QListWidget::currentRowChanged, this, &SelectionRunDialog::updateButtons);
    connect(grid_, &QTableWidget::currentCellChanged, this, &SelectionRunDialog::showCellHints);
    activate();
}

void SelectionRunDialog::clearSelectionParameters() {
    descriptors_.clear();
}

void SelectionRunDialog::AddSelectionParameter(const SelectionDescriptor& descriptor) {
    descriptors_ << descriptor;
    descriptors_.last().compactTexts = compactTexts_;
}

void SelectionRunDialog::setEditRExitCheck(bool on) {
    delete editRFilter_;
    editRFilter_ = makeNumericInput(editR_, true, on);
}

void SelectionRunDialog::setRows(const QList<SelectionRow>& rows) {
    grid_->clearContents();
    grid_->setRowCount(std::max<int>(1, int(rows.size())));
    for (int c = 0; c < 4; ++c)
        setCellText(0, c, {});
    QStringList inGrid;
    for (int r = 0; r < rows.size(); ++r) {
        setCellText(r, 0, rows[r].name);
        setCellText(r, 1, rows[r].start);
        setCellText(r, 2, rows[r].end);
        setCellText(r, 3, rows[r].step);
        inGrid << rows[r].name;
    }
    grid_->setCurrentCell(0, 0);
    list_->clear();
    for (const SelectionDescriptor& d : std::as_const(descriptors_))
        if (!inGrid.contains(d.name))
            list_->addItem(d.name);
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    showCellHints();
}

const SelectionDescriptor* SelectionRunDialog::descriptorOf(const QString& name) const {
    for (const SelectionDescriptor& d : descriptors_)
        if (d.name == name)
            return &d;
    return nullptr;
}

QString SelectionRunDialog::cellText(int row, int column) const {
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

void SelectionRunDialog::setCellText(int row, int column, const QString& text) {
    QTableWidgetItem* item = grid_->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        // Names are chosen from the list, never typed.
        if (column == 0)
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        grid_->setItem(row, column, item);
    }
    item->setText(text);
}

bool SelectionRunDialog::firstRowNamed() const {
    return grid_->rowCount() > 0 && !cellText(0, 0).isEmpty();
}

QList<SelectionRow> SelectionRunDialog::selectedRows() const {
    QList<SelectionRow> rows;
    if (!firstRowNamed())
        return rows;
    for (int r = 0; r < grid_->rowCount(); ++r)
        rows << SelectionRow{cellText(r, 0), cellText(r, 1), cellText(r, 2), cellText(r, 3)};
    return rows;
}

long long SelectionRunDialog::SelectionCount() const {
    return selection::selectionCount(selectedRows());
}

void SelectionRunDialog::activate() {
    grid_->clearContents();
    grid_->setRowCount(1);
    for (int c = 0; c < 4; ++c)
        setCellText(0, c, {});
    grid_->setCurrentCell(0, 0);
    list_->clear();
    // Names that differ only at their end (the two layers' resistivities) are shown whole.
    int widest = 0;
    int widestInGrid = 0;
    for (const SelectionDescriptor& d : std::as_const(descriptors_)) {
        list_->addItem(d.name);
        widest = std::max(widest, list_->fontMetrics().horizontalAdvance(d.name));
        widestInGrid = std::max(widestInGrid, QFontMetrics(grid_->font()).horizontalAdvance(d.name));
    }
    const int scrollBar = list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    list_->setMinimumWidth(std::max(260, widest + 2 * list_->frameWidth() + scrollBar + 16));
    const int nameColumn = std::max(242, widestInGrid + 14);
    if (grid_->columnWidth(0) != nameColumn) {
        grid_->setMinimumWidth(grid_->minimumWidth() + nameColumn - grid_->columnWidth(0));
        grid_->setColumnWidth(0, nameColumn);
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    showCellHints();
}

void SelectionRunDialog::addParameter() {
    QListWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    const SelectionDescriptor* d = descriptorOf(item->text());
    if (!d)
        return;
    int row = 0;
    if (firstRowNamed() || grid_->rowCount() > 1) {
        row = grid_->rowCount();
        grid_->setRowCount(row + 1);
    }
    setCellText(row, 0, d->name);
    setCellText(row, 1, d->start);
    setCellText(row, 2, d->end);
    setCellText(row, 3, d->step);
    grid_->setCurrentCell(row, grid_->currentColumn() < 0 ? 0 : grid_->currentColumn());

    const int at = list_->row(item);
    delete list_->takeItem(at);
    if (list_->count() > 0)
        list_->setCurrentRow(std::min(at, list_->count() - 1));
    showCellHints();
}

void SelectionRunDialog::removeParameter() {
    if (!firstRowNamed())
        return;
    const int row = std::max(grid_->currentRow(), 0);
    const QString name = cellText(row, 0);
    if (!name.isEmpty()) {
        list_->addItem(name);
        const auto found = list_->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty())
            list_->setCurrentItem(found.first());
    }
    if (grid_->rowCount() >= 2) {
        grid_->removeRow(row);
        grid_->setCurrentCell(std::min(row, grid_->rowCount() - 1), std::max(grid_->currentColumn(), 0));
    } else {
        for (int c = 0; c < 4; ++c)
            setCellText(row, c, {});
    }
    showCellHints();
}

void SelectionRunDialog::moveRowUp() {
    const int row = grid_->currentRow();
    if (row <= 0)
        return;
    for (int c = 0; c < 4; ++c) {
        const QString above = cellText(row - 1, c);
        setCellText(row - 1, c, cellText(row, c));
        setCellText(row, c, above);
    }
    grid_->setCurrentCell(row - 1, grid_->currentColumn());
    updateButtons();
}

void SelectionRunDialog::moveRowDown() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= grid_->rowCount() - 1)
        return;
    for (int c = 0; c < 4; ++c) {
        const QString below = cellText(row + 1, c);
        setCellText(row + 1, c, cellText(row, c));
        setCellText(row, c, below);
    }
    grid_->setCurrentCell(row + 1, grid_->currentColumn());
    updateButtons();
}

void SelectionRunDialog::updateButtons() {
    const int row = grid_->currentRow();
    btnAdd_->setEnabled(list_->count() > 0 && list_->currentItem() != nullptr);
    btnDelete_->setEnabled(firstRowNamed());
    btnUp_->setEnabled(row > 0);
    btnDown_->setEnabled(row >= 0 && row < grid_->rowCount() - 1);
    btnOK_->setEnabled(firstRowNamed() && !editR_->text().isEmpty());
}

void SelectionRunDialog::showCellHints() {
    const int column = grid_->currentColumn();
    const SelectionDescriptor* d = nullptr;
    if (column >= 1 && column <= 3 && firstRowNamed())
        d = descriptorOf(cellText(grid_->currentRow(), 0));
    lblAllowChar_->setText(d ? selection::allowedCharsText(*d) : QString());
    lblDiapazon_->setText(d ? selection::rangeText(*d) : QString());
    lblRecom_->setText(d ? d->recommendation : QString());
    updateButtons();
}

bool SelectionRunDialog::gridKeyAllowed(const QKeyEvent* key) {
    if (isNavigationKey(key))
        return true;
    const bool edits = !key->text().isEmpty() || key->key() == Qt::Key_Backspace ||
                       key->key() == Qt::Key_Delete || key->key() == Qt::Key_F2;
    if (!edits)
        return true;
    if (!firstRowNamed()) {
        dialogs().showMessage(u"Добавьте параметр."_s);
        return false;
    }
    const int column = grid_->currentColumn();
    if (column <= 0) {
        dialogs().beep();
        return false;
    }
    if (key->text().isEmpty())
        return true;
    const SelectionDescriptor* d = descriptorOf(cellText(grid_->currentRow(), 0));
    const QString text = key->text();
    for (const QChar ch : text)
        if (d && !selection::acceptsKey(*d, ch)) {
            dialogs().beep();
            return false;
        }
    return true;
}

bool SelectionRunDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == grid_ || watched->objectName() == QLatin1String("CellEditor"))) {
        if (!gridKeyAllowed(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SelectionRunDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    updateButtons();
}

void SelectionRunDialog::chooseCell(int row, int column) {
    grid_->setCurrentCell(row, column);
    grid_->setFocus();
}

bool SelectionRunDialog::checkNumbers() {
    if (!parseNumber(editR_->text())) {
        focusIfPossible(editR_);
        dialogs().showMessage(selection::notANumberMessage(editR_->text()));
        return false;
    }
    const QList<SelectionRow> rows = selectedRows();
    if (rows.isEmpty())
        return false;
    if (const auto fault = selection::checkGrid(rows, descriptors_, false)) {
        chooseCell(fault->row, fault->column);
        dialogs().showMessage(fault->message);
        return false;
    }
    return true;
}

bool SelectionRunDialog::checkBeforeClosing() {
    if (!checkNumbers())
        return false;
    if (const auto fault = selection::checkGrid(selectedRows(), descriptors_)) {
        chooseCell(fault->row, fault->column);
        dialogs().showMessage(fault->message);
        return false;
    }
    return true;
}

void SelectionRunDialog::done(int result) {
    if (result == QDialog::Accepted && !checkBeforeClosing())
        return;
    QDialog::done(result);
}

void SelectionRunDialog::runPermissibleResistanceDialog() {
    if (!rForm_)
        rForm_ = new PermissibleResistanceDialog(this);
    rForm_->activate();
    if (dialogs().execModal(rForm_) == QDialog::Accepted)
        editR_->setText(rForm_->lblRmax()->text());
}

SelectionRunDialog& param1Form(QWidget* calculator) {
    static QPointer<SelectionRunDialog> form;
    if (!form) {
        QWidget* owner = calculator && calculator->parentWidget() ? calculator->parentWidget() : calculator;
        form = new SelectionRunDialog(owner);
    }
    return *form;
}

} // namespace kz
