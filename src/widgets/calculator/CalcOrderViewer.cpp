#include "widgets/calculator/CalcOrderViewer.h"

#include "core/model/CalcOrder.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/FormProcedures.h"

#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextStream>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
constexpr int helpContext = 11;
constexpr int minimumTextHeight = 147;

QToolButton* navButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, const char* hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    setHint(b, QString::fromUtf8(hint));
    return b;
}

QPushButton* pushButton(QWidget* parent, const char* name, const char* text, const char* hint) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    if (hint)
        setHint(b, QString::fromUtf8(hint));
    return b;
}
} // namespace

CalcOrderViewer::CalcOrderViewer(QWidget* parent, ParameterTriples* triples)
    : QDialog(parent), triples_(triples ? *triples : parameterTriples()) {
    setObjectName(QStringLiteral("TMemoForm"));
    setWindowTitle(u"Порядок расчета."_s);
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowTitleHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setHelpContext(this, helpContext);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setChildrenCollapsible(false);

    memo_ = new QPlainTextEdit(splitter_);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setMinimumHeight(minimumTextHeight);
    // The selection of a match stays visible while the grid or the search line has the focus.
    QPalette pal = memo_->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    memo_->setPalette(pal);

    auto* lower = new QWidget(splitter_);
    lower->setObjectName(QStringLiteral("PanelBottom"));
    lower->setMinimumHeight(minimumTextHeight);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 4, 0, 0);

    auto* search = new QHBoxLayout;
    auto* group = new QGroupBox(u" Поиск "_s, lower);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    auto* groupLayout = new QHBoxLayout(group);
    auto* rbParameter = new QRadioButton(u"параметра"_s, group);
    rbParameter->setObjectName(QStringLiteral("rbParameter"));
    auto* rbSubstring = new QRadioButton(u"подстроки"_s, group);
    rbSubstring->setObjectName(QStringLiteral("rbSubstring"));
    groupLayout->addWidget(rbParameter);
    groupLayout->addWidget(rbSubstring);
    modes_ = new QButtonGroup(this);
    modes_->addButton(rbParameter, int(MemoSearchMode::Parameter));
    modes_->addButton(rbSubstring, int(MemoSearchMode::Substring));
    rbParameter->setChecked(true);
    search->addWidget(group);

    auto* findBox = new QVBoxLayout;
    labelFind_ = new QLabel(u"Искомая подстрока:"_s, lower);
    labelFind_->setObjectName(QStringLiteral("LabelFind"));
    editFind_ = new QLineEdit(lower);
    editFind_->setObjectName(QStringLiteral("EditFind"));
    labelFind_->setBuddy(editFind_);
    findBox->addWidget(labelFind_);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(editFind_, 1);
    btnFind_ = navButton(lower, "btnFind", QStyle::SP_FileDialogContentsView, "Подготовка поиска подстроки");
    btnFirst_ = navButton(lower, "btnFirst", QStyle::SP_MediaSkipBackward, "Поиск первого вхождения");
    btnPrior_ = navButton(lower, "btnPrior", QStyle::SP_MediaSeekBackward, "Поиск предыдущего вхождения");
    btnNext_ = navButton(lower, "btnNext", QStyle::SP_MediaSeekForward, "Поиск следующего вхождения");
    btnLast_ = navButton(lower, "btnLast", QStyle::SP_MediaSkipForward, "Поиск последнего вхождения");
    lblNo_ = new QLabel(u"0 из 0"_s, lower);
    lblNo_->setObjectName(QStringLiteral("lblNo"));
    lblNo_->setMinimumWidth(70);
    for (QWidget* w :
         {static_cast<QWidget*>(btnFind_), static_cast<QWidget*>(btnFirst_), static_cast<QWidget*>(btnPrior_),
          static_cast<QWidget*>(btnNext_), static_cast<QWidget*>(btnLast_), static_cast<QWidget*>(lblNo_)})
        findRow->addWidget(w);
    findBox->addLayout(findRow);
    search->addLayout(findBox, 1);
    lowerLayout->addLayout(search);

    grid_ = new QTableWidget(0, 3, lower);
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    grid_->setHorizontalHeaderLabels({u"Наименование параметра"_s, u"Обозначение"_s, u"Значение"_s});
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Each heading whole, with the room the header's sort and frame take.
    const QFontMetrics heading(grid_->horizontalHeader()->font());
    const int widths[] = {410, 83, 81};
    for (int c = 0; c < 3; ++c)
        grid_->setColumnWidth(c, std::max(widths[c], heading.horizontalAdvance(grid_->horizontalHeaderItem(c)->text()) + 20));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    lowerLayout->addWidget(grid_, 1);

    auto* buttons = new QHBoxLayout;
    auto* font = pushButton(this, "Button1", "Шрифт...", "Изменение шрифта");
    auto* save = pushButton(this, "Button2", "Сохранить...", "Сохранить в текстовом файле");
    auto* open = pushButton(this, "Button3", "Открыть...", "Открыть текстовый файл");
    auto* close = pushButton(this, "Button4", "Закрыть", "Закрыть форму");
    auto* help = pushButton(this, "Button5", "Справка...", nullptr);
    for (QPushButton* b : {font, save, open})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter_, 1);
    layout->addLayout(buttons);
    splitter_->setStretchFactor(0, 1);
    resize(640, 520);

    connect(modes_, &QButtonGroup::idClicked, this, [this] { applySearchMode(); });
    connect(editFind_, &QLineEdit::textChanged, this, [this] {
        matches_.clear();
        lblNo_->setText(matches_.counterText());
        updateButtons();
    });
    connect(editFind_, &QLineEdit::returnPressed, this, &CalcOrderViewer::findText);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this] { gridCellSelected(); });
    connect(grid_, &QTableWidget::cellClicked, this, [this] { gridCellSelected(); });
    connect(btnFind_, &QToolButton::clicked, this, &CalcOrderViewer::findText);
    connect(btnFirst_, &QToolButton::clicked, this, &CalcOrderViewer::showFirstMatch);
    connect(btnPrior_, &QToolButton::clicked, this, &CalcOrderViewer::showPriorMatch);
    connect(btnNext_, &QToolButton::clicked, this, &CalcOrderViewer::showNextMatch);
    connect(btnLast_, &QToolButton::clicked, this, &CalcOrderViewer::showLastMatch);
    connect(font, &QPushButton::clicked, this, &CalcOrderViewer::chooseFont);
    connect(save, &QPushButton::clicked, this, &CalcOrderViewer::saveText);
    connect(open, &QPushButton::clicked, this, &CalcOrderViewer::openText);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelp(helpContext); });

    updateButtons();
}

void CalcOrderViewer::setLines(const QStringList& lines) {
    memo_->setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList CalcOrderViewer::lines() const {
    QStringList out;
    for (QTextBlock b = memo_->document()->begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

MemoSearchMode CalcOrderViewer::mode() const {
    return MemoSearchMode(modes_->checkedId());
}

void CalcOrderViewer::setMode(MemoSearchMode mode) {
    modes_->button(int(mode))->setChecked(true);
    applySearchMode();
}

void CalcOrderViewer::activate() {
    filling_ = true;
    grid_->clearContents();
    grid_->setRowCount(triples_.count());
    for (int k = 0; k < triples_.count(); ++k) {
        const QString cells[3] = {triples_.name(k), triples_.designation(k), triples_.value(k)};
        for (int c = 0; c < 3; ++c)
            grid_->setItem(k, c, new QTableWidgetItem(cells[c]));
    }
    if (triples_.count() > 0)
        grid_->setCurrentCell(0, 1);
    filling_ = false;
    editFind_->clear();
    setMode(MemoSearchMode::Parameter);
}

void CalcOrderViewer::deactivate() {
    matches_.clear();
    updateButtons();
}

void CalcOrderViewer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        activate();
}

void CalcOrderViewer::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        deactivate();
}

void CalcOrderViewer::applySearchMode() {
    const bool substring = mode() == MemoSearchMode::Substring;
    labelFind_->setEnabled(substring);
    editFind_->setEnabled(substring);
    grid_->setEnabled(!substring);
    QPalette pal = grid_->palette();
    pal.setColor(QPalette::Text,
                 palette().color(substring ? QPalette::Disabled : QPalette::Active, QPalette::Text));
    grid_->setPalette(pal);
    if (substring) {
        matches_.clear();
        lblNo_->setText(matches_.counterText());
        updateButtons();
    } else {
        collect();
    }
}

QString CalcOrderViewer::needle() const {
    if (mode() == MemoSearchMode::Substring)
        return editFind_->text();
    const QTableWidgetItem* item = grid_->currentItem();
    return item ? item->text() : QString();
}

void CalcOrderViewer::collect() {
    needle_ = needle();
    const QStringList text = lines();
    matches_.set(collectMatchPositions(text, needle_));
    if (matches_.count() == 0) {
        if (!needle_.isEmpty())
            dialogs().showMessage(notFoundMessage(mode(), grid_->currentColumn(), needle_));
    } else {
        memo_->setFocus(Qt::OtherFocusReason);
        selectCurrent();
    }
    lblNo_->setText(matches_.counterText());
    updateButtons();
}

void CalcOrderViewer::selectCurrent() {
    if (matches_.current() < 0)
        return;
    const int start = documentOffset(lines(), matches_.currentPosition());
    QTextCursor cursor(memo_->document());
    cursor.setPosition(start);
    cursor.setPosition(start + int(needle_.size()), QTextCursor::KeepAnchor);
    memo_->setTextCursor(cursor);
    memo_->ensureCursorVisible();
}

void CalcOrderViewer::gridCellSelected() {
    if (!filling_ && mode() == MemoSearchMode::Parameter)
        collect();
}

void CalcOrderViewer::findText() {
    if (mode() != MemoSearchMode::Substring || editFind_->text().isEmpty())
        return;
    collect();
}

void CalcOrderViewer::showFirstMatch() {
    matches_.first();
    memo_->setFocus(Qt::OtherFocusReason);
    selectCurrent();
    lblNo_->setText(matches_.counterText());
    updateButtons();
}

void CalcOrderViewer::showPriorMatch() {
    matches_.prior();
    memo_->setFocus(Qt::OtherFocusReason);
    selectCurrent();
    lblNo_->setText(matches_.counterText());
    updateButtons();
}

void CalcOrderViewer::showNextMatch() {
    matches_.next();
    memo_->setFocus(Qt::OtherFocusReason);
    selectCurrent();
    lblNo_->setText(matches_.counterText());
    updateButtons();
}

void CalcOrderViewer::showLastMatch() {
    matches_.last();
    memo_->setFocus(Qt::OtherFocusReason);
    selectCurrent();
    lblNo_->setText(matches_.counterText());
    updateButtons();
}

void CalcOrderViewer::updateButtons() {
    btnFind_->setEnabled(mode() == MemoSearchMode::Substring && !editFind_->text().isEmpty());
    const MatchButtons b = matches_.buttons();
    btnFirst_->setEnabled(b.first);
    btnPrior_->setEnabled(b.prior);
    btnNext_->setEnabled(b.next);
    btnLast_->setEnabled(b.last);
}

void CalcOrderViewer::chooseFont() {
    if (const auto font = dialogs().chooseFont(this, memo_->font()))
        memo_->setFont(*font);
}

namespace {
const QString textFilter = u"Текстовые файлы (*.txt)"_s;
}

void CalcOrderViewer::saveText() {
    QString path = dialogs().saveFileName(this, u"Сохранить в текстовом файле"_s, textFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".txt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        dialogs().showMessage(u"Ошибка. Файл "_s + path + u" не может быть записан."_s);
        return;
    }
    QTextStream out(&file);
    for (const QString& line : lines())
        out << line << '\n';
}

void CalcOrderViewer::openText() {
    const QString path = dialogs().openFileName(this, u"Открыть текстовый файл"_s, textFilter);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        dialogs().showMessage(u"Ошибка. Файл "_s + path + u" не найден."_s);
        return;
    }
    QTextStream in(&file);
    QStringList read;
    while (!in.atEnd())
        read << in.readLine();
    setLines(read);
    matches_.clear();
    lblNo_->setText(matches_.counterText());
    updateButtons();
}

} // namespace kz
