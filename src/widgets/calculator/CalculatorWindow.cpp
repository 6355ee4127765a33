#include "widgets/calculator/CalculatorWindow.h"

#include "core/common/NumberText.h"
#include "core/common/Paths.h"
#include "core/common/ScopedCount.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/RowGridText.h"
#include "core/model/TwoLayerSoil.h"
#include "core/rules/SoilRules.h"
#include "core/selection/SelectionModelRun.h"
#include "store/DataModule.h"
#include "store/HistoryStore.h"
#include "store/SelectionRanges.h"
#include "store/StoredFrameData.h"
#include "widgets/calculator/CalcOrderViewer.h"
#include "widgets/calculator/OwnHistory.h"
#include "widgets/calculator/RowGrid.h"
#include "widgets/calculator/TableRowChoice.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/FrameWidgets.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/frames/SoilFrame.h"
#include "widgets/reference/EquivalentResistivityDialog.h"
#include "widgets/reference/RadioGroup.h"
#include "widgets/reference/TableGrid.h"
#include "report/DocxWriter.h"
#include "widgets/report/ReportExport.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/selection/SelectionRunDialog.h"
#include "widgets/selection/SelectionSettingsDialog.h"
#include "widgets/selection/StandardSelectionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QRadioButton>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QHeaderView>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
// The windows all calculators share live beside the main window (or, without one, beside the
// calculator that opened them first).
QWidget* sharedOwner(QWidget* calculator) {
    return calculator->parentWidget() ? calculator->parentWidget() : calculator;
}

CalcOrderViewer& memoForm(QWidget* calculator) {
    static QPointer<CalcOrderViewer> form;
    if (!form)
        form = new CalcOrderViewer(sharedOwner(calculator));
    return *form;
}

SelectionChartDialog& chartForm(QWidget* calculator) {
    static QPointer<SelectionChartDialog> form;
    if (!form)
        form = new SelectionChartDialog(sharedOwner(calculator));
    return *form;
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Object-name suffix of a step pair: 1 -> "1", 0,1 -> "01", 0,01 -> "001".
QString stepSuffix(double step) {
    return formatGeneral(step).remove(QLatin1Char(','));
}

// Runs an action on a left click of the widgets it watches (the pictures of a choice).
class ClickFilter : public QObject {
public:
    ClickFilter(std::function<void()> action, QObject* parent)
        : QObject(parent), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            action_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> action_;
};

} // namespace

ReferenceDialogs& referenceDialogs() {
    static ReferenceDialogs hooks;
    return hooks;
}

CalculatorWindow::CalculatorWindow(const Calculator& calculator, DataModule& data, QWidget* parent)
    : QDialog(parent), calc_(calculator), d_(calculator.description()), data_(data),
      frameData_(std::make_unique<StoredFrameData>(data, StoredFrameData::Reading::Live)),
      session_(std::make_unique<CalculatorSession>(calculator, *frameData_)) {
    session_->setListener(this);
    session_->setDriver(CalculatorSession::Driver::Window);
    buildWindow();
    buildEquivalentResistivity();
    wireToolbar();
    wireFrames();
    wireRadioInputs();
    wireRowChoices();
    wireTablesDialog();
    wireSelection();
    wireRestoreBeforeRun();
}

CalculatorWindow::~CalculatorWindow() {
    // A cell still being edited is committed while the dialog hides: nothing of the window is left
    // to take it.
    for (RowGrid* grid : std::as_const(rowGrids_))
        grid->disconnect(this);
}

void CalculatorWindow::buildWindow() {
    setObjectName(d_.className);
    setWindowTitle(d_.caption);
    setHelpContext(this, d_.helpContext);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    // No spacing between the stacked parts: hiding a panel shortens the window by its height.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolbar_ = new CalculatorToolbar(this);
    toolbar_->setObjectName(QStringLiteral("ButtonFrame1"));
    layout->addWidget(toolbar_);

    auto* mainPanel = new QWidget(this);
    mainPanel->setObjectName(QStringLiteral("PanelMain"));
    auto* mainLayout = new QHBoxLayout(mainPanel);
    mainLayout->setContentsMargins(6, 6, 6, 6);

    auto* left = new QVBoxLayout;
    auto* picturePanel = new QFrame(mainPanel);
    picturePanel->setObjectName(QStringLiteral("PanelPicture"));
    picturePanel->setFrameShape(QFrame::StyledPanel);
    picturePanel->setFrameShadow(QFrame::Sunken);
    auto* pictureLayout = new QVBoxLayout(picturePanel);
    pictureLayout->setContentsMargins(2, 2, 2, 2);
    image_ = new QLabel(picturePanel);
    image_->setObjectName(QStringLiteral("Image1"));
    image_->setAlignment(Qt::AlignCenter);
    pictureLayout->addWidget(image_, 0, Qt::AlignCenter);
    left->addWidget(picturePanel, 0, Qt::AlignHCenter);
    picturePanel->setVisible(!d_.pictureFile.isEmpty());
    // A description stands in place of the conditions, or below them when the formula has both.
    if (!d_.conditionLines.isEmpty() || d_.descriptionLines.isEmpty()) {
        conditions_ = new QGroupBox(d_.conditionCaption, mainPanel);
        conditions_->setObjectName(QStringLiteral("GroupBox1"));
        auto* condLayout = new QVBoxLayout(conditions_);
        for (const QString& line : d_.conditionLines)
            condLayout->addWidget(new QLabel(line, conditions_));
        left->addWidget(conditions_);
        conditions_->setVisible(!d_.conditionLines.isEmpty());
    }
    if (!d_.descriptionLines.isEmpty()) {
        auto* heading = new QLabel(u"Справка."_s, mainPanel);
        heading->setObjectName(QStringLiteral("lblDescription"));
        left->addWidget(heading);
        auto* description = new QPlainTextEdit(mainPanel);
        description->setObjectName(QStringLiteral("Memo1"));
        description->setReadOnly(true);
        description->setLineWrapMode(QPlainTextEdit::NoWrap);
        description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        description->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        description->setFocusPolicy(Qt::NoFocus);
        description->setPlainText(d_.descriptionLines.join(QLatin1Char('\n')));
        description->setFixedHeight(description->fontMetrics().lineSpacing() *
                                        int(d_.descriptionLines.size()) +
                                    2 * description->frameWidth() + 12);
        left->addWidget(description);
    }
    left->addStretch(1);
    mainLayout->addLayout(left);

    auto* right = new QVBoxLayout;
    buildFrames(right, mainPanel);
    auto* geometry = new QFrame(mainPanel);
    geometry->setObjectName(QStringLiteral("PanelGeometry"));
    geometry->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(geometry);
    grid->setColumnStretch(0, 1);
    int row = 0;
    buildGeometry(grid, row);
    buildPageControl(left, mainPanel);

    auto* resultLabel = new QLabel(d_.resultLabel, geometry);
    resultLabel->setObjectName(QStringLiteral("lblResult"));
    QFont bold = resultLabel->font();
    bold.setBold(true);
    resultLabel->setFont(bold);
    result_ = makeDisplayField(geometry, d_.resultName);
    result_->setFont(bold);
    result_->setText(QStringLiteral("0.00"));
    result_->setFixedWidth(90);
    btnScore_ = new QToolButton(geometry);
    btnScore_->setObjectName(QStringLiteral("btnScore"));
    btnScore_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    btnScore_->setAutoRaise(true);
    btnScore_->setFocusPolicy(Qt::NoFocus);
    setHint(btnScore_, u"Выполнить расчет"_s);
    grid->addWidget(resultLabel, row, 0);
    grid->addWidget(result_, row, 1);
    grid->addWidget(btnScore_, row, 2, Qt::AlignLeft);
    geometryGrid_ = grid;
    right->addWidget(geometry);
    right->addStretch(1);
    mainLayout->addLayout(right, 1);
    // The main panel scrolls only where the window would not fit the smallest screen otherwise.
    mainScroll_ = new QScrollArea(this);
    mainScroll_->setObjectName(QStringLiteral("ScrollMain"));
    mainScroll_->setFrameShape(QFrame::NoFrame);
    mainScroll_->setWidgetResizable(true);
    mainScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mainScroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A click on a step button or on the panel must not draw the focus from the input, or its
    // check on leaving would speak.
    mainScroll_->setFocusPolicy(Qt::NoFocus);
    mainScroll_->setWidget(mainPanel);
    // The scroll box keeps its contents' layout to itself: the window follows it by hand.
    mainPanel->installEventFilter(this);
    layout->addWidget(mainScroll_);

    auto* formulaPanel = new QFrame(this);
    formulaPanel->setObjectName(QStringLiteral("PanelRaschet"));
    formulaPanel->setFrameShape(QFrame::StyledPanel);
    auto* formulaLayout = new QVBoxLayout(formulaPanel);
    formulaLayout->setContentsMargins(6, 4, 6, 4);
    auto* formula = new QLabel(d_.formulaText, formulaPanel);
    formula->setObjectName(QStringLiteral("Label5"));
    QFont big = formula->font();
    big.setPointSize(10);
    formula->setFont(big);
    formulaLayout->addWidget(formula);
    message_ = new QLabel(formulaPanel);
    message_->setObjectName(QStringLiteral("lblMessage"));
    message_->setWordWrap(true);
    // A long message wraps within the window's width instead of widening it.
    message_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    {
        QPalette red = message_->palette();
        red.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
        message_->setPalette(red);
        // Two lines kept free, so that a message does not move the window while the user types.
        message_->setFixedHeight(message_->fontMetrics().lineSpacing() * 2 + 2);
    }
    auto* orderRow = new QHBoxLayout;
    orderRow->addWidget(new QLabel(u"Порядок расчета:"_s, formulaPanel), 0, Qt::AlignTop);
    if (d_.multiLineOrder) {
        memo_ = new QPlainTextEdit(formulaPanel);
        memo_->setObjectName(d_.orderMemoName);
        memo_->setReadOnly(true);
        memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo_->setFixedHeight(110);
        orderRow->addWidget(memo_, 1);
    } else {
        orderLine_ = makeDisplayField(formulaPanel, QStringLiteral("EditRaschet"), true);
        orderRow->addWidget(orderLine_, 1);
    }
    formulaLayout->addLayout(orderRow);
    formulaLayout->addWidget(message_);
    layout->addWidget(formulaPanel);

    eu_ = new InstallationFrame(this);
    eu_->setObjectName(QStringLiteral("frmEU1"));
    layout->addWidget(eu_);
}

void CalculatorWindow::buildGeometry(QGridLayout* grid, int& row, int page) {
    QWidget* panel = grid->parentWidget();
    // Rows go into the panel's grid, or into the grid of the framed group they belong to.
    QGridLayout* target = grid;
    int groupRow = 0;
    int* at = &row;
    QString group;
    // The column the rows go into: the panel's grid, or a second one beside it.
    QGridLayout* column = grid;
    int secondRow = 0;
    int* columnRow = &row;
    bool newGroup = false;
    for (const GeometryInput& g : d_.geometry) {
        if (g.page != page)
            continue;
        if (g.newColumn && column == grid) {
            column = new QGridLayout;
            column->setColumnStretch(0, 1);
            grid->addLayout(column, 0, 3, -1, 1, Qt::AlignTop);
            grid->setColumnStretch(3, 1);
            columnRow = &secondRow;
            newGroup = true; // the group, if any, starts again in the new column
        }
        if (g.group != group || newGroup) {
            newGroup = false;
            group = g.group;
            if (group.isEmpty()) {
                target = column;
                at = columnRow;
            } else {
                auto* box = new QGroupBox(group, panel);
                box->setObjectName(QStringLiteral("Group") + g.name);
                target = new QGridLayout(box);
                target->setColumnStretch(0, 1);
                column->addWidget(box, (*columnRow)++, 0, 1, 3);
                groupRow = 0;
                at = &groupRow;
            }
        }
        if (g.isRadio()) {
            addRadioInput(g, target, (*at)++);
            continue;
        }
        if (g.isRowGrid()) {
            addRowGrid(g, target, (*at)++, panel);
            continue;
        }
        auto* label = new QLabel(g.label, panel);
        label->setObjectName(g.labelName.isEmpty() ? QStringLiteral("lbl") + g.name : g.labelName);
        if (!g.labelFollows.isEmpty())
            captions_.insert(label->objectName(), label);
        if (g.isChoice()) {
            auto* combo = new QComboBox(panel);
            combo->setObjectName(g.name);
            combo->setEditable(false);
            combo->setMaxVisibleItems(20);
            combo->setFixedWidth(90);
            label->setBuddy(combo);
            choices_.insert(g.name, combo);
            if (!g.choiceItems.isEmpty()) {
                combo->addItems(g.choiceItems);
                combo->setCurrentIndex(std::max(0, int(g.choiceItems.indexOf(g.defaultText))));
            }
            if (!g.hint.isEmpty())
                setHint(combo, g.hint);
            target->addWidget(label, *at, 0);
            target->addWidget(combo, *at, 1);
            addFixedRange(g, target, *at, panel);
            ++*at;
            continue;
        }
        if (g.isRowChoice()) {
            buildRowChoice(g, label, target, *at);
            ++*at;
            continue;
        }
        if (g.isPictureChoice()) {
            delete label; // the choice writes its own caption
            buildPictureChoice(g, target, *at, panel);
            ++*at;
            continue;
        }
        if (g.isSpin()) {
            auto* spin = new QSpinBox(panel);
            spin->setObjectName(g.name);
            spin->setRange(g.spinMinimum, g.spinMaximum);
            spin->setValue(g.defaultText.toInt());
            spin->setFixedWidth(90);
            label->setBuddy(spin);
            spins_.insert(g.name, spin);
            target->addWidget(label, *at, 0);
            target->addWidget(spin, *at, 1);
            addFixedRange(g, target, *at, panel);
            ++*at;
            continue;
        }
        QLineEdit* edit =
            g.readOnly ? makeDisplayField(panel, g.name) : makeEdit(panel, g.name, g.defaultText);
        if (g.readOnly)
            edit->setText(g.defaultText);
        if (!g.hint.isEmpty())
            setHint(edit, g.hint);
        edit->setFixedWidth(90);
        if (g.bold) {
            QFont f = edit->font();
            f.setBold(true);
            edit->setFont(f);
            label->setFont(f);
        }
        if (g.selectionColour) {
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, QColor(0xC0, 0xDC, 0xC0));
            edit->setPalette(palette);
        }
        label->setBuddy(edit);
        geometry_.insert(g.name, edit);
        target->addWidget(label, *at, 0);
        target->addWidget(edit, *at, 1);
        auto* spins = new QHBoxLayout;
        spins->setSpacing(0);
        for (int i = 0; i < g.steps.size(); ++i) {
            const double step = g.steps[i];
            auto* pair = new SpinButton(edit, step, panel);
            pair->setObjectName(i < g.spinNames.size() ? g.spinNames[i] : g.spinPrefix + stepSuffix(step));
            steps_.insert(pair->objectName(), pair);
            spins->addWidget(pair);
        }
        if (!g.rangeName.isEmpty()) {
            auto* range = new QLabel(g.rangeText, panel);
            range->setObjectName(g.rangeName);
            setHint(range, g.rangeHint);
            if (!g.rangeFollows.isEmpty()) {
                range->setStyleSheet(QStringLiteral("color: #800000;")); // dark red, as it changes
                // Room for any bound it shows, so that the window keeps its size while typing.
                range->setMinimumWidth(
                    range->fontMetrics().horizontalAdvance(QStringLiteral("( Ww >= 00000,000000 )")));
            }
            ranges_.insert(g.rangeName, range);
            spins->addSpacing(6);
            spins->addWidget(range);
        }
        if (!g.range2Name.isEmpty()) {
            auto* range = new QLabel(panel);
            range->setObjectName(g.range2Name);
            // Shown or emptied with the type: its room is kept either way.
            range->setMinimumWidth(range->fontMetrics().horizontalAdvance(QStringLiteral("( 0000 .. 0000 )")));
            setHint(range, g.range2Hint);
            ranges_.insert(g.range2Name, range);
            spins->addSpacing(6);
            spins->addWidget(range);
        }
        if (!g.button.isEmpty()) {
            QToolButton* button = makeToolButton(panel, g.button, QStringLiteral("coef"), g.buttonHint);
            buttons_.insert(g.button, button);
            spins->addSpacing(4);
            spins->addWidget(button);
        }
        spins->addStretch(1);
        target->addLayout(spins, *at, 2);
        ++*at;
    }
}

void CalculatorWindow::wireToolbar() {
    CalculatorToolbar* t = toolbar_;
    connect(t->btnSave(), &QToolButton::clicked, this, &CalculatorWindow::saveToHistory);
    connect(t->btnLoad(), &QToolButton::clicked, this, &CalculatorWindow::loadFromHistory);
    connect(t->btnCopy(), &QToolButton::clicked, this, &CalculatorWindow::copyParameters);
    connect(t->btnPaste(), &QToolButton::clicked, this, &CalculatorWindow::pasteParameters);
    connect(t->btnReport(), &QToolButton::clicked, this, &CalculatorWindow::exportReport);
    // The session takes the buttons' states as they change; a click runs their command.
    for (QToolButton* button : {t->btnAutoScore(), t->btnLinkRo(), t->btnLinkParam(), t->btnEU(), t->btnPicture()})
        connect(button, &QToolButton::toggled, this,
                [this, button](bool down) { session_->setToggle(button->objectName(), down); });
    connect(t->btnAutoScore(), &QToolButton::clicked, this, [this](bool down) {
        if (down)
            Calculate(true);
    });
    connect(t->btnLinkRo(), &QToolButton::clicked, this, &CalculatorWindow::SyncInstallationResistivity);
    connect(t->btnGrunt(), &QToolButton::clicked, this, &CalculatorWindow::runSoilDictionary);
    connect(t->btnMaterial(), &QToolButton::clicked, this, [this] { runSectionDictionary(false); });
    connect(t->btnKorGrunt(), &QToolButton::clicked, this, [this] { runSectionDictionary(true); });
    connect(t->btnClose(), &QToolButton::clicked, this, &QDialog::reject);
    connect(btnScore_, &QToolButton::clicked, this, [this] { Calculate(true); });

    t->btnLinkParam()->setEnabled(d_.linkedParameters);
    connect(t->btnLinkParam(), &QToolButton::clicked, this, [this](bool down) {
        if (!down)
            return;
        QString focused;
        for (auto it = geometry_.cbegin(); it != geometry_.cend(); ++it)
            if (changedByUser(it.value()))
                focused = it.key();
        session_->linkParameters(focused);
        redraw();
    });
    t->btnKI()->setEnabled(false);
    t->btnMemo()->setEnabled(d_.multiLineOrder);
    if (d_.multiLineOrder)
        t->setCalcOrderViewer([this] { showCalcOrderViewer(); });
    const bool selection = !d_.selection.parameters.isEmpty();
    t->btnParPodbor()->setEnabled(selection);
    connect(t->btnPodbor(), &QToolButton::clicked, this, &CalculatorWindow::RunSelection);
    connect(t->btnParPodbor(), &QToolButton::clicked, this, &CalculatorWindow::ShowSelectionSettings);
    t->btnPaste()->setEnabled(false);
}

void CalculatorWindow::wireFrames() {
    for (const GeometryInput& g : d_.geometry) {
        QLineEdit* edit = geometry_.value(g.name);
        if (!edit || edit->isReadOnly())
            continue;
        makeNumericInput(edit, true, g.exitCheck && !g.emptyAllowed);
        if (g.exitCheck && g.emptyAllowed)
            onUserLeave(edit, [edit] {
                if (!edit->text().isEmpty())
                    CheckNumberOnExit(edit);
            });
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { lineInputEdited(edit); });
        onUserLeave(edit, [this, edit] { leaveInput(edit); });
    }
    for (QSpinBox* spin : std::as_const(spins_))
        connect(spin, &QSpinBox::valueChanged, this, [this, spin] { spinInputEdited(spin); });
    for (QComboBox* combo : std::as_const(choices_))
        connect(combo, &QComboBox::currentIndexChanged, this, [this, combo] {
            const ScopedCount choosing(choosing_);
            userEdit(combo->objectName(), combo->currentText(), false);
        });
    for (SpinButton* pair : std::as_const(steps_)) {
        connect(pair, &SpinButton::upClicked, this, [this, pair] {
            if (session_->allowStep(pair->associate()->objectName(), pair->step(), true))
                SpinStepUp(pair, pair->step());
        });
        connect(pair, &SpinButton::downClicked, this, [this, pair] {
            if (session_->allowStep(pair->associate()->objectName(), pair->step(), false))
                SpinStepDown(pair, pair->step());
        });
    }
    for (SoilFrame* frame : soilFrames()) {
        for (QLineEdit* edit : {frame->EditRo0(), frame->EditPKV()})
            onUserLeave(edit, [this, edit] { leaveInput(edit); });
        if (!d_.coefficientInputChecks)
            frame->setCoefficientChecks(false, false);
    }
    wireSoilFrames();
    connect(eu_->EditRmax(), &QLineEdit::textChanged, this,
            [this](const QString& text) { userEdit(u"frmEU1.EditRmax"_s, text, true); });
    connect(eu_->chkInclude(), &QCheckBox::toggled, this, [this](bool down) {
        if (redrawing_ == 0)
            session_->press(u"frmEU1.chkInclude"_s, down);
    });
    connect(eu_, &InstallationFrame::installationChanged, this, [this] {
        session_->setInstallation(installationValues());
        redraw();
    });
}

void CalculatorWindow::spinInputEdited(QSpinBox* spin) {
    // Its arrows and its edit line both leave the focus in the spin edit.
    const QWidget* focused = focusWidget();
    const bool user = focused && (focused == spin || spin->isAncestorOf(focused));
    userEdit(spin->objectName(), QString::number(spin->value()), user);
}

void CalculatorWindow::lineInputEdited(QLineEdit* edit) {
    userEdit(edit->objectName(), edit->text(), changedByUser(edit));
}

void CalculatorWindow::userEdit(const QString& name, const QString& text, bool byUser) {
    if (redrawing_ > 0)
        return;
    session_->edit(name, text, byUser);
    redraw();
}

void CalculatorWindow::said(const QString& message) {
    dialogs().showMessage(message);
}

void CalculatorWindow::failed(const CheckFailure& failure, bool shown) {
    // While the user types, the message waits in the message line until the field is left.
    if (shown && (asked_ > 0 || !typing()))
        fail(failure, true);
    else
        showInlineFailure(failure);
}

void CalculatorWindow::evaluated(bool ok) {
    ++calculations_;
    clearInlineFailure();
    calculatedNow_ = ok;
    freshResult_ = ok;
}

void CalculatorWindow::redraw() {
    const ScopedCount quiet(redrawing_);
    redrawOwnInputs();
    redrawFrames();
    redrawResult();
    updateRangeLabels();
    updateToolButtons();
    sayEmptyRowTable(emptyRowTableMessage());
    UpdateButtons();
    if (const std::optional<bool> ok = std::exchange(calculatedNow_, std::nullopt))
        emit calculated(*ok);
}

void CalculatorWindow::redrawOwnInputs() {
    const CalculatorSession& s = *session_;
    for (const GeometryInput& g : d_.geometry) {
        if (QLineEdit* edit = geometry_.value(g.name)) {
            if (const QString text = s.text(g.name); edit->text() != text) {
                const QSignalBlocker quiet(edit);
                edit->setText(text);
            }
        } else if (QSpinBox* spin = spins_.value(g.name)) {
            const QSignalBlocker quiet(spin);
            if (const auto [min, max] = s.spinRange(g.name); min != spin->minimum() || max != spin->maximum())
                spin->setRange(min, max);
            spin->setValue(s.text(g.name).toInt());
            if (pictureChoices_.contains(g.name) && pictureShown_.value(g.name) != spin->value()) {
                pictureShown_.insert(g.name, spin->value());
                showPictureChoice(g.name);
            }
        } else if (QComboBox* combo = choices_.value(g.name)) {
            const QSignalBlocker quiet(combo);
            const QStringList items = s.items(g.name);
            bool same = combo->count() == items.size();
            for (int i = 0; same && i < items.size(); ++i)
                same = combo->itemText(i) == items[i];
            if (!same) {
                combo->clear();
                combo->addItems(items);
            }
            combo->setCurrentIndex(int(items.indexOf(s.text(g.name))));
        } else if (RadioGroup* radio = radios_.value(g.name)) {
            const QSignalBlocker quiet(radio);
            if (radio->itemText() != s.text(g.name))
                radio->chooseItem(s.text(g.name));
        } else if (TableRowChoice* choice = rowChoices_.value(g.name)) {
            if (const int table = s.chosenTable(g.name); table >= 0 && choice->tableIndex() != table)
                choice->setTableIndex(table);
            if (const QString key = s.text(g.name); choice->key() != key && !key.isEmpty())
                choice->choose(key);
            if (QCheckBox* check = choice->check()) {
                const QSignalBlocker quiet(check);
                check->setChecked(!s.text(g.rowChoice->checkName).isEmpty());
            }
        }
    }
    for (auto it = rowGrids_.cbegin(); it != rowGrids_.cend(); ++it)
        if (const QString text = s.gridShown(it.key()); it.value()->shownText() != text) {
            const QSignalBlocker quiet(it.value());
            it.value()->setRowsText(text);
        }
    for (const auto& [tab, check] : std::as_const(tableFilters_))
        if (const QString by = s.text(tab->filterInput); filteredBy_.value(tab->filterInput, u"\x01"_s) != by) {
            filteredBy_.insert(tab->filterInput, by);
            filterCoefficientTables(tab->filterInput);
        }
}

void CalculatorWindow::redrawFrames() {
    const CalculatorSession& s = *session_;
    const QStringList soils = frameData_->soilNames();
    for (int i = 0; i < soils_.size() && i < s.soilCount(); ++i)
        soils_[i].frame->showState(s.soil(i), soils);
    for (int i = 0; i < sections_.size() && i < s.sectionCount(); ++i)
        sections_[i].frame->showState(s.section(i));
    const InstallationValues& v = s.installation();
    for (const auto& [edit, text] : {std::pair{eu_->EditTip(), v.type}, std::pair{eu_->EditIzo(), v.current},
                                     std::pair{eu_->EditUlin(), v.voltage}, std::pair{eu_->EditS(), v.power},
                                     std::pair{eu_->EditP(), v.resistivity},
                                     std::pair{eu_->EditRmax(), v.permissible}})
        if (edit->text() != text) {
            const QSignalBlocker quiet(edit);
            edit->setText(text);
        }
    if (include_) {
        const QSignalBlocker quiet(include_);
        include_->setChecked(s.toggled(include_->objectName()));
        include_->setEnabled(s.includeOffered());
    }
}

void CalculatorWindow::redrawResult() {
    const CalculatorSession& s = *session_;
    if (result_->text() != s.result())
        result_->setText(s.result());
    setCalcOrderLines(s.order());
    warnings_ = s.warnings();
    if (s.result().isEmpty()) {
        result_->setStyleSheet({});
        result_->setToolTip({});
    } else if (std::exchange(freshResult_, false)) {
        // A weakly held condition is said in the message line; the result stands.
        if (!warnings_.isEmpty())
            message_->setText(warnings_.join(u'\n'));
        if (const auto r = s.resistance())
            showVerdict(*r);
    }
}

void CalculatorWindow::updateToolButtons() {
    for (const GeometryInput& g : d_.geometry)
        if (!g.buttonNeeds.isEmpty())
            if (QToolButton* b = buttons_.value(g.button))
                b->setEnabled(!inputText(g.buttonNeeds).isEmpty());
}

void CalculatorWindow::buildEquivalentResistivity() {
    if (!d_.equivalentResistivity)
        return;
    const EquivalentResistivitySetup& e = *d_.equivalentResistivity;
    pekvLink_ = std::make_unique<EquivalentResistivityLink>(data_, pekv::Form(e.form));
    include_ = new QCheckBox(e.includeCaption, this);
    include_->setObjectName(e.include);
    include_->setEnabled(false);
    addBelowResult(include_);
    connect(include_, &QCheckBox::toggled, this, [this](bool checked) {
        if (redrawing_ == 0)
            session_->setToggle(include_->objectName(), checked);
    });
    connect(include_, &QCheckBox::clicked, this, [this] {
        if (autoCalculation())
            Calculate(true);
    });
    if (QToolButton* button = buttons_.value(e.button))
        connect(button, &QToolButton::clicked, this, [this] {
            EquivalentResistivityLink::Target target;
            target.size = [this, size = d_.equivalentResistivity->size] { return parseNumber(inputText(size)); };
            const bool computed = pekvLink_->run(this, target);
            const QStringList& layers = pekvLink_->lastLayers();
            if (layers.isEmpty())
                return;
            session_->setEquivalentResistivity(computed ? pekvLink_->lastResistivity() : QString(), layers,
                                               layers.first());
            redraw();
        });
    updateToolButtons();
}

CalcInputs CalculatorWindow::snapshot() const {
    return session_->inputs();
}

bool CalculatorWindow::changedByUser(const QWidget* input) const {
    // The window's focus, active or not: step buttons hand it to their input before they step.
    const QWidget* focused = focusWidget();
    if (!focused || !input)
        return false;
    if (focused == input)
        return true;
    for (const SpinButton* pair : steps_)
        if (pair->associate() == input && (focused == pair || pair->isAncestorOf(focused)))
            return true;
    return false;
}

bool CalculatorWindow::linkingOn() const {
    return d_.linkedParameters && toolbar_->btnLinkParam()->isChecked();
}

void CalculatorWindow::updateCaption(const GeometryInput& g) {
    const QString name = g.labelName.isEmpty() ? QStringLiteral("lbl") + g.name : g.labelName;
    if (QLabel* label = captions_.value(name)) {
        const QString text = calc_.rangeLabel(session_->values(), name);
        if (const QString shown = text.isEmpty() ? g.label : text; label->text() != shown)
            label->setText(shown);
    }
}

void CalculatorWindow::reserveRangeRoom() {
    // A range with both bounds needs room for two numbers the user may type.
    for (const GeometryInput& g : d_.geometry)
        if (QLabel* label = g.rangeFollows.isEmpty() ? nullptr : ranges_.value(g.rangeName);
            label && label->text().count(u'<') + label->text().count(u'>') >= 2)
            label->setMinimumWidth(std::max(label->minimumWidth(), label->fontMetrics().horizontalAdvance(
                                                                        QStringLiteral("( 00000,00000 <= Ww <= 000000,000 )"))));
}

void CalculatorWindow::updateRangeLabels() {
    const CalcInputs& in = session_->values();
    for (const GeometryInput& g : d_.geometry) {
        if (!g.labelFollows.isEmpty())
            updateCaption(g);
        for (const auto& [name, follows] : {std::pair{g.rangeName, g.rangeFollows}, std::pair{g.range2Name, g.range2Follows}})
            if (QLabel* label = follows.isEmpty() ? nullptr : ranges_.value(name))
                if (const QString text = calc_.rangeLabel(in, name); label->text() != text)
                    label->setText(text);
    }
}

void CalculatorWindow::addBelowResult(QWidget* widget) {
    geometryGrid_->addWidget(widget, geometryGrid_->rowCount(), 0, 1, 3);
}

QToolButton* CalculatorWindow::geometryButton(const QString& name) const {
    return buttons_.value(name);
}

QString CalculatorWindow::resultText(long double r) const {
    return calc_.resultText(r);
}

QLineEdit* CalculatorWindow::geometryEdit(const QString& name) const {
    return geometry_.value(name);
}

QComboBox* CalculatorWindow::geometryChoice(const QString& name) const {
    return choices_.value(name);
}

QSpinBox* CalculatorWindow::geometrySpin(const QString& name) const {
    return spins_.value(name);
}

SpinButton* CalculatorWindow::stepButton(const QString& name) const {
    return steps_.value(name);
}

bool CalculatorWindow::autoCalculation() const {
    return toolbar_->btnAutoScore()->isChecked();
}

void CalculatorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    activate();
    // The chosen picture is brought into view once its scroll box has its size on screen.
    if (!pictureChoices_.isEmpty())
        QTimer::singleShot(0, this, [this] {
            for (auto it = pictureChoices_.cbegin(); it != pictureChoices_.cend(); ++it)
                showPictureChoice(it.key());
        });
}

void CalculatorWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        deactivate();
}

void CalculatorWindow::activate() {
    ++activations_;
    if (!d_.pictureFile.isEmpty())
        LoadPicture(image_, d_.pictureFile);
    loadChoicePictures();
    loadPagePictures();
    // The toolbar's buttons as they stand; opened again, the window keeps what the user typed.
    for (QToolButton* button : {toolbar_->btnAutoScore(), toolbar_->btnLinkRo(), toolbar_->btnLinkParam(),
                                toolbar_->btnEU(), toolbar_->btnPicture()})
        session_->setToggle(button->objectName(), button->isChecked());
    if (activations_ == 1)
        session_->open();
    else
        session_->reopen();
    const QString openedOnOtherType = session_->openingNote();
    const ReferenceDialogs& refs = referenceDialogs();
    toolbar_->btnGrunt()->setEnabled(bool(refs.soils));
    toolbar_->btnMaterial()->setEnabled((!sections_.isEmpty() || materialChoice()) && refs.steels);
    toolbar_->btnKorGrunt()->setEnabled(!sections_.isEmpty() && refs.corrosion);
    // The frames' own dialogs, for every calculator alike.
    for (SoilFrame* frame : soilFrames()) {
        frame->setCorrectionDialog(refs.correction ? std::function<std::optional<QString>()>(
                                                         [] { return referenceDialogs().correction(); })
                                                   : nullptr);
        frame->setStepSettingsDialog(
            refs.resistivitySteps ? std::function<void()>([] { referenceDialogs().resistivitySteps(); })
                                  : nullptr);
    }
    toolbar_->setClimateRegionDialog(
        refs.climateRegions ? std::function<void()>([] { referenceDialogs().climateRegions(); }) : nullptr);
    redraw();
    reserveRangeRoom();
    updateToolButtons();
    sayEmptyChoices();
    if (!openedOnOtherType.isEmpty())
        message_->setText(openedOnOtherType);
    fitPageControl();
    // The picture may have changed the size: settle it before the window appears.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    fitToContents();
    if (d_.windowTop)
        if (const QScreen* screen = this->screen())
            move(x(), screen->availableGeometry().top() + *d_.windowTop);
}

QSize largestCalculatorWindow() {
    // 1366 × 768 less a title bar, the window's borders and a taskbar.
    return {1366 - 16, 768 - 72};
}

void CalculatorWindow::fitToContents() {
    // From the size hints alone: activating the layout on the way would stretch the window to a
    // height it is about to give up.
    const QSize inner = mainScroll_->widget()->sizeHint();
    const int laidOut = mainScroll_->minimumHeight() == mainScroll_->maximumHeight() ? mainScroll_->maximumHeight()
                                                                                     : mainScroll_->sizeHint().height();
    const int around = sizeHint().height() - laidOut;
    const int over = around + inner.height() - largestCalculatorWindow().height();
    const bool scrolls = over > 0;
    mainScroll_->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int bar = mainScroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, mainScroll_);
    mainScroll_->setFixedSize(scrolls ? QSize(inner.width() + bar, inner.height() - over) : inner);
    const QSize size = sizeHint();
    setFixedSize(size);
    resize(size);
}

bool CalculatorWindow::event(QEvent* event) {
    const bool done = QDialog::event(event);
    // A fixed-size window that follows its contents: a panel shown or hidden, a row of a frame.
    if (event->type() == QEvent::LayoutRequest)
        fitToContents();
    return done;
}

void CalculatorWindow::deactivate() {
    // The session keeps what the user typed for the next opening.
}

QList<SoilFrame*> CalculatorWindow::soilFrames() const {
    QList<SoilFrame*> frames;
    for (const SoilSlot& slot : soils_)
        frames << slot.frame;
    return frames;
}

bool CalculatorWindow::fail(const CheckFailure& failure, bool show) {
    if (show && !failure.message.isEmpty()) {
        dialogs().showMessage(failure.message);
        if (const auto cell = parseGridCell(failure.focus); cell && rowGrids_.contains(cell->grid))
            rowGrids_.value(cell->grid)->selectCell(cell->row, cell->column);
        else if (!failure.focus.isEmpty())
            focusIfPossible(inputWidget(failure.focus));
    }
    return false;
}

bool CalculatorWindow::CheckInputs(bool show) {
    if (const auto failure = session_->check())
        return fail(*failure, show);
    return true;
}

QList<SelectionParameter> CalculatorWindow::SelectionOffer() const {
    return calc_.selectionOffer(snapshot());
}

void CalculatorWindow::Calculate(bool show) {
    const ScopedCount asked(asked_, show);
    session_->calculate(show);
    redraw();
}

bool CalculatorWindow::typing() const {
    // An item chosen from a list is done at once: its message may be a box.
    const QWidget* f = focusWidget();
    if (!f || !isVisible() || choosing_ > 0)
        return false;
    if (const auto* edit = qobject_cast<const QLineEdit*>(f))
        return !edit->isReadOnly();
    return false;
}

void CalculatorWindow::showInlineFailure(const CheckFailure& failure) {
    if (failure.message.isEmpty())
        return;
    failurePending_ = true;
    message_->setText(failure.message);
    QWidget* input = failure.focus.isEmpty() ? focusWidget() : inputWidget(failure.focus);
    if (auto* edit = qobject_cast<QLineEdit*>(input); edit && !edit->isReadOnly()) {
        marked_ = edit;
        edit->setStyleSheet(QStringLiteral("QLineEdit { background: #ffd8d8; }"));
    }
}

void CalculatorWindow::clearInlineFailure() {
    failurePending_ = false;
    message_->clear();
    if (marked_)
        marked_->setStyleSheet({});
    marked_ = nullptr;
}

void CalculatorWindow::leaveInput(QWidget* input) {
    // A text that is no number has its own message on leaving.
    if (failurePending_ && autoCalculation() && parseNumber(controlText(input)))
        Calculate(true);
}

void CalculatorWindow::keyPressEvent(QKeyEvent* event) {
    // Enter calculates, as the calculate button does; it never closes the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A message waiting in the message line is said, even with an input left empty.
        if (btnScore_->isEnabled() || failurePending_)
            Calculate(true);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CalculatorWindow::showVerdict(long double r) {
    // The result tells at a glance whether it meets Rдоп; the verdict itself is its hint.
    const auto permissible = keptNumber(eu_->EditRmax()->text());
    if (!permissible || !(*permissible > 0) || eu_->isHidden()) {
        result_->setStyleSheet({});
        result_->setToolTip({});
        return;
    }
    const bool usable = isUsable(*permissible, r);
    result_->setStyleSheet(usable ? QStringLiteral("QLineEdit { background: #d8f5d8; }")
                                  : QStringLiteral("QLineEdit { background: #ffd8d8; }"));
    result_->setToolTip(usable ? u"R <= Rдоп.: заземляющее устройство можно использовать."_s
                               : u"R > Rдоп.: заземляющее устройство нельзя использовать."_s);
}

void CalculatorWindow::UpdateButtons() {
    bool filled = true;
    for (const QString& name : d_.requiredInputs)
        if (inputText(name).isEmpty()) {
            filled = false;
            break;
        }
    toolbar_->btnSave()->setEnabled(filled);
    if (d_.loadNeedsInputs)
        toolbar_->btnLoad()->setEnabled(filled);
    btnScore_->setEnabled(filled);
    toolbar_->btnCopy()->setEnabled(filled);
    toolbar_->btnPodbor()->setEnabled(filled && !d_.selection.parameters.isEmpty() && !selectionRunning());
    toolbar_->btnReport()->setEnabled(!result_->text().isEmpty() && bool(d_.report));
    // The way back lasts until an input differs from what the run left.
    if (!inputsBeforeRun_.isEmpty() && !selectionRunning() && currentInputs(d_.inputOrder) != inputsAfterRun_) {
        inputsBeforeRun_.clear();
        inputsAfterRun_.clear();
    }
    toolbar_->btnUndoPodbor()->setEnabled(restoreAvailable());
    updateEnabledInputs();
}

void CalculatorWindow::SyncInstallationResistivity() {
    session_->linkInstallation();
    redraw();
}

QWidget* CalculatorWindow::inputWidget(const QString& name) const {
    if (QLineEdit* own = geometry_.value(name))
        return own;
    if (RowGrid* grid = rowGrids_.value(name))
        return grid;
    // A plain soil field is the upper (or only) frame's.
    if (soil_ && !name.contains(QLatin1Char('.')))
        if (QWidget* field = soil_->findChild<QWidget*>(name))
            return field;
    QWidget* at = const_cast<CalculatorWindow*>(this);
    for (const QString& part : name.split(QLatin1Char('.'))) {
        at = at->findChild<QWidget*>(part);
        if (!at)
            return nullptr;
    }
    return at;
}

QString CalculatorWindow::inputText(const QString& name) const {
    if (const TableRowChoice* choice = rowChoices_.value(name))
        return choice->key();
    if (const qsizetype dot = name.indexOf(u'.'); dot > 0)
        if (const TableRowChoice* choice = rowChoices_.value(name.left(dot))) {
            const QString part = name.mid(dot + 1);
            return choice->valueNames().contains(part) ? choice->value(part) : choice->code();
        }
    if (name.endsWith(sizeSetModeInput())) {
        const SectionFrame* section = sectionOfMode(name);
        return section ? QString::number(section->GetSizeMode()) : QString();
    }
    const QWidget* w = inputWidget(name);
    if (const auto* spin = qobject_cast<const QSpinBox*>(w))
        return QString::number(spin->value());
    if (const auto* radio = radios_.value(name))
        return radioText(radio);
    if (const auto* grid = qobject_cast<const RowGrid*>(w))
        return grid->rowsText();
    return w ? controlText(w) : QString();
}

bool CalculatorWindow::setInputText(const QString& name, const QString& text) {
    QString value = text;
    if (const SectionFrame* section = sectionOfMode(name)) {
        // The size-list mode as its number presses that mode's button.
        bool ok = false;
        const int mode = int(text.toDouble(&ok));
        static const QStringList buttons = {u"btnAllMat"_s, u"btnRecMat"_s, u"btnDopMat"_s};
        if (!ok || mode < 0 || mode >= buttons.size())
            return true;
        const CalculatorSession::Edit done = session_->press(section->objectName() + u'.' + buttons[mode], true);
        redraw();
        return done.taken;
    }
    if (const QSpinBox* spin = spins_.value(name)) {
        // A count kept as a number ("4") or typed; what is no number leaves it as it is.
        const auto v = parseNumber(text);
        if (!v)
            return false;
        value = QString::number(int(std::clamp<long double>(std::round(*v), spin->minimum(), spin->maximum())));
    }
    const CalculatorSession::Edit done = session_->edit(name, value, false);
    redraw();
    return done.taken;
}

InputTexts CalculatorWindow::currentInputs(const QStringList& names) const {
    InputTexts texts;
    for (const QString& name : names)
        texts.insert(name, inputText(name));
    return texts;
}

void CalculatorWindow::applyInputs(const InputTexts& texts) {
    // One calculation follows the whole set, with its messages.
    session_->setAutoCalculation(false);
    for (const QString& name : d_.inputOrder)
        if (texts.contains(name))
            setInputText(name, texts.value(name));
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        if (!d_.inputOrder.contains(it.key()))
            setInputText(it.key(), it.value());
    Calculate(true);
    session_->setAutoCalculation(autoCalculation());
}

void CalculatorWindow::setCalcOrderLines(const QStringList& lines) {
    if (memo_)
        memo_->setPlainText(lines.join(QLatin1Char('\n')));
    else if (orderLine_)
        orderLine_->setText(lines.join(QLatin1Char(' ')));
}

InstallationValues CalculatorWindow::installationValues() const {
    InstallationValues v;
    v.type = eu_->EditTip()->text();
    v.current = eu_->EditIzo()->text();
    v.voltage = eu_->EditUlin()->text();
    v.power = eu_->EditS()->text();
    v.resistivity = eu_->EditP()->text();
    v.permissible = eu_->EditRmax()->text();
    v.include = eu_->chkInclude()->isChecked();
    return v;
}

void CalculatorWindow::showCalcOrderViewer() {
    if (!memo_)
        return;
    CalcOrderViewer& form = memoForm(this);
    QStringList lines;
    for (QTextBlock b = memo_->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    form.setLines(lines);
    dialogs().execModal(&form);
}

void CalculatorWindow::saveToHistory() {
    if (!CheckInputs(true))
        return;
    const HistoryLayout h = calc_.historyLayout(snapshot());
    const auto name = dialogs().inputText(
        h.promptCaption.isEmpty() ? u"Введите наименование заземляющего устройства."_s : h.promptCaption,
        h.promptLabel.isEmpty() ? u"Наименование заземляющего устройства:"_s : h.promptLabel, h.presetName);
    if (!name)
        return;
    if (name->isEmpty()) {
        dialogs().showMessage(u"Введите значение наименования заземляющего устройства."_s);
        return;
    }
    const OwnHistory& history = historyOf(h);
    // A set of the same name is replaced only when the user says so.
    if (const auto existing = history.existing(data_, h, *name))
        if (dialogs().question(u"Набор параметров \"%1\" уже сохранен. Заменить его?"_s.arg(*existing),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
    QStringList inputs = d_.inputOrder;
    for (const HistoryField& f : h.fields)
        inputs << f.input;
    history.save(data_, h, *name, currentInputs(inputs));
}

void CalculatorWindow::loadFromHistory() {
    const HistoryLayout h = calc_.historyLayout(snapshot());
    if (const auto texts = historyOf(h).load(data_, h, sharedOwner(this)))
        applyInputs(*texts);
}

void CalculatorWindow::copyParameters() {
    if (!CheckInputs(true))
        return;
    copyBuffer_.store(currentInputs(d_.copyInputs));
    toolbar_->btnPaste()->setEnabled(true);
}

void CalculatorWindow::pasteParameters() {
    if (copyBuffer_.isEmpty())
        return;
    applyInputs(copyBuffer_.texts());
}

ReportSource CalculatorWindow::reportSource() const {
    return session_->reportSource();
}

void CalculatorWindow::exportReport() {
    if (!d_.report || result_->text().isEmpty())
        return;
    const QString path = askReportPath(this, u"Экспорт отчета в Microsoft Word"_s, reportFileName(d_.caption));
    if (path.isEmpty())
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool written = writeReport(path, &error);
    QApplication::restoreOverrideCursor();
    if (!written) {
        dialogs().showMessage(error);
        return;
    }
    announceReport(path);
}

bool CalculatorWindow::writeReport(const QString& path, QString* error) {
    if (!d_.report || result_->text().isEmpty()) {
        *error = u"Нет результата расчета для отчета."_s;
        return false;
    }
    QProgressBar* gauge = toolbar_->Gauge1();
    gauge->setRange(0, d_.reportSteps);
    gauge->setValue(0);
    gauge->show();
    ReportBuilder report(dialogs());
    report.onProgress = [gauge] { gauge->setValue(std::min(gauge->value() + 1, gauge->maximum())); };
    kz::writeReport(d_, report, reportSource());
    const bool written = writeDocx(report.paragraphs(), path, error);
    gauge->hide();
    return written;
}

void CalculatorWindow::runSoilDictionary() {
    const auto& open = referenceDialogs().soils;
    if (!open)
        return;
    // Without a soil frame the dictionary is only shown: nothing here depends on it.
    if (soils_.isEmpty())
        return open(this);
    // It opens on the soil of the layer in view.
    const int inFront = layerTabs_ ? std::clamp(layerTabs_->currentIndex(), 0, int(soils_.size()) - 1) : 0;
    const SoilFrame* shown = soils_[inFront].frame;
    if (DataTable* soils = data_.table(QStringLiteral("P_udel.DB")); soils && soils->isOpen())
        soils->locate(QStringLiteral("Grunt"), shown->ComboGrunt()->currentText());
    open(this);
    session_->soilsEdited();
    redraw();
}

void CalculatorWindow::runSectionDictionary(bool corrosion) {
    if (sections_.isEmpty() && !corrosion)
        return runChoiceDictionary();
    const auto& open = corrosion ? referenceDialogs().corrosion : referenceDialogs().steels;
    if (sections_.isEmpty() || !open)
        return;
    const int front = sectionInFront();
    SectionFrame* section = sections_[front].frame;
    if (corrosion)
        section->LocateCorrosionRow();
    else if (referenceDialogs().locateSteel)
        referenceDialogs().locateSteel(section->cmbSech()->currentText(), section->cmbDiam()->currentText());
    open(this);
    session_->sectionsEdited(corrosion, front);
    redraw();
}

const GeometryInput* CalculatorWindow::materialChoice() const {
    for (const GeometryInput& g : d_.geometry)
        if (g.isChoice() && !g.choiceMaterial.isEmpty())
            return &g;
    return nullptr;
}

void CalculatorWindow::runChoiceDictionary() {
    const GeometryInput* g = materialChoice();
    const auto& open = referenceDialogs().steels;
    if (!g || !open)
        return;
    if (referenceDialogs().locateSteel)
        referenceDialogs().locateSteel(g->choiceMaterial, choices_.value(g->name)->currentText());
    open(this);
    session_->choiceListEdited(g->name);
    redraw();
    sayEmptyChoices();
}

// ---- Page control: conditions, a type chosen by picture, coefficient tables ----

void CalculatorWindow::fitPageControl() {
    if (!pages_)
        return;
    // Every tab's title and every column of its grids in view, without scrolling sideways.
    int needed = pages_->tabBar()->sizeHint().width() + 8;
    for (TableGrid* grid : pages_->findChildren<TableGrid*>()) {
        const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
        // The row header is narrower in its hint than its fixed width.
        const QHeaderView* rows = grid->verticalHeader();
        const int rowHeader = rows->isHidden() ? 0 : std::max(rows->sizeHint().width(), rows->minimumWidth());
        const int full = grid->horizontalHeader()->length() + rowHeader +
                         2 * grid->frameWidth() + scrollBar + 2;
        grid->setMinimumWidth(full);
        needed = std::max(needed, full + 24);
    }
    pages_->setMinimumWidth(needed);
}

void CalculatorWindow::buildPageControl(QBoxLayout* left, QWidget* parent) {
    const bool pictures = !pictureChoices_.isEmpty();
    if (d_.conditionsTab.isEmpty() && !pictures && d_.coefficientTabs.isEmpty() && rowChoices_.isEmpty())
        return;
    pages_ = new QTabWidget(parent);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    // The pictures of a choice are Image1, Image2 ...: the device picture gives up the name.
    if (pictures)
        image_->setObjectName(QStringLiteral("ImageDevice"));
    if (!d_.conditionsTab.isEmpty() && conditions_) {
        left->removeWidget(conditions_);
        auto* page = new QWidget(pages_);
        page->setObjectName(QStringLiteral("TabConditions"));
        auto* layout = new QVBoxLayout(page);
        conditions_->setParent(page);
        layout->addWidget(conditions_);
        layout->addStretch(1);
        pages_->addTab(page, d_.conditionsTab);
    }
    for (const GeometryInput& g : d_.geometry)
        if (g.isRowChoice())
            pages_->addTab(rowChoices_.value(g.name), g.rowChoice->tab);
    for (const GeometryInput& g : d_.geometry)
        if (g.isPictureChoice())
            pages_->addTab(pictureChoices_.value(g.name).scroll, g.pictureTab);
    for (const CoefficientTab& t : d_.coefficientTabs)
        pages_->addTab(buildCoefficientTab(t), t.caption);
    // Before the stretch that closes the column.
    left->insertWidget(left->count() - 1, pages_);
}

void CalculatorWindow::sayEmptyChoices() {
    sayEmptyRowTable(emptyRowTableMessage());
    // Nothing to choose disables the calculation: the message line says why.
    for (const GeometryInput& g : d_.geometry)
        if (QComboBox* combo = choices_.value(g.name);
            combo && combo->count() == 0 && !g.choiceEmptyMessage.isEmpty())
            message_->setText(g.choiceEmptyMessage);
}

void CalculatorWindow::addFixedRange(const GeometryInput& g, QGridLayout* target, int row, QWidget* panel) {
    // A list or a count has no step buttons: its range label stands alone beside it.
    if (g.rangeName.isEmpty())
        return;
    auto* range = new QLabel(g.rangeText, panel);
    range->setObjectName(g.rangeName);
    setHint(range, g.rangeHint);
    ranges_.insert(g.rangeName, range);
    target->addWidget(range, row, 2);
}

void CalculatorWindow::buildPictureChoice(const GeometryInput& g, QGridLayout* target, int row,
                                          QWidget* panel) {
    PictureChoiceWidgets w;
    auto* caption = new QLabel(g.label, panel);
    caption->setObjectName(QStringLiteral("lblCaption") + g.name);
    w.number = new QLabel(QString::number(g.pictureDefault), panel);
    w.number->setObjectName(g.pictureLabel);
    QFont bold = w.number->font();
    bold.setBold(true);
    w.number->setFont(bold);
    target->addWidget(caption, row, 0);
    target->addWidget(w.number, row, 1);
    // The number itself lives in a spin edit nobody sees: history, paste and a batch set it by
    // number like any count.
    auto* value = new QSpinBox(panel);
    value->setObjectName(g.name);
    value->setRange(1, int(g.pictures.size()));
    value->setValue(g.pictureDefault);
    value->hide();
    spins_.insert(g.name, value);

    w.scroll = new QScrollArea;
    w.scroll->setObjectName(QStringLiteral("ScrollBox1"));
    w.scroll->setWidgetResizable(true);
    w.scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* inner = new QWidget(w.scroll);
    auto* column = new QVBoxLayout(inner);
    for (int i = 0; i < g.pictures.size(); ++i) {
        const QString n = QString::number(i + 1);
        auto* box = new QFrame(inner);
        box->setObjectName(QStringLiteral("PanelImage") + n);
        box->setFrameShape(QFrame::Box);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->setContentsMargins(4, 4, 4, 4);
        auto* image = new QLabel(box);
        image->setObjectName(QStringLiteral("Image") + n);
        image->setAlignment(Qt::AlignCenter);
        image->setCursor(Qt::PointingHandCursor);
        image->setGraphicsEffect(new QGraphicsOpacityEffect(image));
        image->installEventFilter(
            new ClickFilter([this, name = g.name, number = i + 1] { pictureClicked(name, number); }, image));
        boxLayout->addWidget(image, 0, Qt::AlignCenter);
        column->addWidget(box);
        w.panels << box;
        w.images << image;
    }
    w.scroll->setWidget(inner);
    w.scroll->setMinimumHeight(300);
    pictureChoices_.insert(g.name, w);
}

void CalculatorWindow::loadChoicePictures() {
    for (const GeometryInput& g : d_.geometry) {
        if (!g.isPictureChoice())
            continue;
        const PictureChoiceWidgets& w = pictureChoices_[g.name];
        int widest = 0;
        for (int i = 0; i < g.pictures.size() && i < w.images.size(); ++i) {
            LoadPicture(w.images[i], g.pictures[i]);
            widest = std::max(widest, w.images[i]->width());
        }
        w.scroll->setMinimumWidth(widest + 40 + w.scroll->verticalScrollBar()->sizeHint().width());
    }
}

void CalculatorWindow::pictureClicked(const QString& name, int number) {
    QSpinBox* value = spins_.value(name);
    if (!value || !pictureChoices_.contains(name) || number < value->minimum() || number > value->maximum())
        return;
    // The user's choice moves the inputs that must fit the type.
    const ScopedCount choosing(choosing_);
    session_->choose(name, QString::number(number));
    redraw();
}

void CalculatorWindow::showPictureChoice(const QString& name) {
    const auto it = pictureChoices_.constFind(name);
    if (it == pictureChoices_.cend())
        return;
    const PictureChoiceWidgets& w = *it;
    const int chosen = spins_.value(name)->value() - 1;
    w.number->setText(QString::number(chosen + 1));
    for (int i = 0; i < w.images.size(); ++i) {
        if (auto* effect = qobject_cast<QGraphicsOpacityEffect*>(w.images[i]->graphicsEffect()))
            effect->setOpacity(i == chosen ? 1.0 : 0.35);
        w.panels[i]->setLineWidth(i == chosen ? 2 : 1);
    }
    if (chosen >= 0 && chosen < w.panels.size()) {
        // Centred vertically as far as the scroll range allows.
        QFrame* panel = w.panels[chosen];
        const int margin = std::max(0, (w.scroll->viewport()->height() - panel->height()) / 2);
        w.scroll->ensureWidgetVisible(panel, 0, margin);
    }
}

QWidget* CalculatorWindow::buildCoefficientTab(const CoefficientTab& t) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Tab") + t.table);
    auto* layout = new QVBoxLayout(page);
    DataTable* table = data_.table(t.table);
    auto* navigator = new TableNavigator(page);
    navigator->setObjectName(QStringLiteral("DBNavigator") + t.table);
    navigator->setTable(table);
    layout->addWidget(navigator);
    QStringList fields;
    for (const TableColumn& c : t.columns)
        fields << c.field;
    auto* grid = new TableGrid(page);
    grid->setObjectName(QStringLiteral("DBGrid") + t.table);
    grid->setTable(table, fields);
    grid->setAllEditable();
    for (const TableColumn& c : t.columns) {
        grid->setTitle(c.field, c.title);
        grid->setColumnAlignment(c.field, Qt::AlignCenter);
        if (!c.pickList.isEmpty())
            grid->setPickList(c.field, c.pickList);
    }
    grid->setMinimumHeight(180);
    layout->addWidget(grid, 1);
    grids_.insert(t.table, grid);
    if (table) {
        reportThroughDialogs(*table);
        // Queued: the stored coefficients forget the old rows first.
        connect(table, &DataTable::rowsChanged, this, &CalculatorWindow::coefficientTableEdited,
                Qt::QueuedConnection);
    }
    if (!t.filterName.isEmpty()) {
        auto* filter = new QCheckBox(t.filterCaption, page);
        filter->setObjectName(t.filterName);
        filter->setChecked(t.filterDefault);
        tableFilters_ << qMakePair(&t, filter);
        connect(filter, &QCheckBox::toggled, this,
                [this, input = t.filterInput] { filterCoefficientTables(input); });
        layout->addWidget(filter);
    }
    auto* note = new QGroupBox(u" Примечание "_s, page);
    note->setObjectName(QStringLiteral("grpNote") + t.table);
    auto* noteLayout = new QVBoxLayout(note);
    for (const QString& line : t.notes) {
        auto* label = new QLabel(line, note);
        label->setWordWrap(true);
        noteLayout->addWidget(label);
    }
    layout->addWidget(note);
    return page;
}

void CalculatorWindow::filterCoefficientTables(const QString& changedInput) {
    for (const auto& [tab, check] : std::as_const(tableFilters_)) {
        if (tab->filterInput != changedInput)
            continue;
        DataTable* table = data_.table(tab->table);
        if (!table)
            continue;
        const auto value = parseNumber(inputText(changedInput));
        table->setFilter(QLatin1Char('[') + tab->filterField + u"]="_s + formatGeneral(value.value_or(0)));
        table->setFiltered(check->isChecked());
    }
}

void CalculatorWindow::coefficientTableEdited() {
    if (!isVisible() || selectionRunning())
        return;
    if (session_->coefficientsEdited())
        redraw();
}

// ---- Parameter selection ----

void CalculatorWindow::wireSelection() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* n1 = popup_->addAction(u"Подбор параметра"_s);
    n1->setObjectName(QStringLiteral("N1"));
    QAction* n2 = popup_->addAction(u"Подбор параметра с выводом данных..."_s);
    n2->setObjectName(QStringLiteral("N2"));
    connect(n1, &QAction::triggered, this, &CalculatorWindow::selectParameterAtPopup);
    connect(n2, &QAction::triggered, this, &CalculatorWindow::selectParameterWithDataAtPopup);
    for (const SelectionParameter& p : d_.selection.parameters) {
        QWidget* input = inputWidget(p.input);
        if (!input)
            continue;
        input->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(input, &QWidget::customContextMenuRequested, this, [this, input](const QPoint& at) {
            popupOwner_ = input;
            popup_->popup(input->mapToGlobal(at));
        });
    }
}

const SelectionParameter* CalculatorWindow::selectionParameter(const QString& name) const {
    for (const SelectionParameter& p : d_.selection.parameters)
        if (p.name == name)
            return &p;
    return nullptr;
}

QList<SelectionDescriptor> CalculatorWindow::selectionDescriptors() const {
    QList<SelectionDescriptor> list;
    for (const SelectionParameter& p : SelectionOffer()) {
        SelectionDescriptor d{p.name, p.start, p.end, p.step, p.type, p.lower, p.upper, p.recommendation};
        if (p.soilRange) {
            const SoilFrame* frame = soilFrameOf(p.input);
            d.start = d.upper = formatGeneral(frame ? frame->RoMax() : 0);
            d.end = d.lower = formatGeneral(frame ? frame->RoMin() : 0);
        }
        list << d;
    }
    return list;
}

void CalculatorWindow::selectParameterAtPopup() {
    for (const SelectionParameter& p : d_.selection.parameters)
        if (popupOwner_ && inputWidget(p.input) == popupOwner_)
            return SelectParameter(p.name, false);
}

void CalculatorWindow::selectParameterWithDataAtPopup() {
    for (const SelectionParameter& p : d_.selection.parameters)
        if (popupOwner_ && inputWidget(p.input) == popupOwner_)
            return SelectParameter(p.name, true);
}

void CalculatorWindow::ShowSelectionSettings() {
    int table = 1;
    QString name;
    if (QWidget* focused = focusWidget())
        for (const SelectionParameter& p : d_.selection.parameters)
            // A spin edit passes its focus on to its inner edit line.
            if (QWidget* input = inputWidget(p.input);
                input && (input == focused || input->isAncestorOf(focused))) {
                table = p.settingsTable;
                name = p.name;
                break;
            }
    ShowSelectionSetup(data_, calc_.selectionKind(snapshot()), table, name);
}

void CalculatorWindow::RunSelection() {
    if (d_.selection.parameters.isEmpty() || selectionRunning())
        return;
    if (const auto refused = calc_.selectionPrecondition(session_->values())) {
        session_->showValues(refused->shown);
        redraw();
        fail(*refused, true);
        return;
    }
    SelectionRunDialog& form = d_.selection.storedSets ? standardSelectionForm(this) : param1Form(this);
    form.clearSelectionParameters();
    for (const SelectionDescriptor& d : selectionDescriptors())
        form.AddSelectionParameter(d);
    if (!eu_->EditRmax()->text().isEmpty())
        form.EditR()->setText(eu_->EditRmax()->text());
    form.activate();
    if (dialogs().execModal(&form) != QDialog::Accepted)
        return;
    const auto levels = selection::levelsOf(form.selectedRows());
    if (!levels || levels->isEmpty())
        return;
    QLineEdit* required = form.EditR();
    singleRun_ = false;
    const auto result = runLevels(*levels, form.SelectionCount(),
                                  [required] { return parseNumber(required->text()); }, nullptr,
                                  currentInputs(d_.inputOrder));
    if (result && result->outcome == selection::Outcome::Exhausted)
        dialogs().showMessage(u"Подбор параметров неудачен."_s);
    else if (result && result->outcome == selection::Outcome::Refused)
        dialogs().showMessage(result->refusal);
}

void CalculatorWindow::SelectParameter(const QString& name, bool withData) {
    const SelectionParameter* p = selectionParameter(name);
    if (!p || selectionRunning())
        return;
    const Calculator::Preparation preparation = calc_.prepareSingleSelection(snapshot(), *p);
    if (preparation.refusal) {
        dialogs().showMessage(*preparation.refusal);
        return;
    }
    const InputTexts before = currentInputs(d_.inputOrder);
    if (!preparation.cleared.isEmpty()) {
        session_->holdTail();
        for (const QString& name : preparation.cleared)
            if (geometryEdit(name))
                session_->edit(name, QString(), false);
        session_->releaseTail();
        redraw();
    }
    // The stored range of this calculator kind; the resistivity runs over the soil's range.
    QString message;
    const auto stored =
        storedSelectionRange(dataDir(), calc_.selectionKind(snapshot()), p->settingsTable, name, &message);
    if (!stored) {
        dialogs().showMessage(message);
        return;
    }
    selection::Level level{name, stored->start, stored->end, stored->step};
    if (p->soilRange) {
        const SoilFrame* frame = soilFrameOf(p->input);
        level.start = frame ? frame->RoMax() : 0;
        level.end = frame ? frame->RoMin() : 0;
    }

    QStringList data;
    QStringList notes;
    if (withData) {
        data << p->heading;
        notes << p->note;
        for (const SelectionColumn& c : p->columns) {
            data << c.heading;
            notes << c.note;
        }
        data << u"R, Ом"_s;
        notes << u"R, Ом - сопротивление растеканию, Ом"_s;
    }
    const auto tried = [&](long double value, std::optional<long double> r,
                           const QMap<QString, long double>& v) {
        if (!withData)
            return;
        data << formatGeneral(value);
        for (const SelectionColumn& c : p->columns)
            data << formatGeneral(v.value(c.input));
        data << (r ? formatGeneral(*r) : u"Нарушение условий"_s);
    };
    QLineEdit* permissible = eu_->EditRmax();
    singleRun_ = true;
    const auto result = runLevels(
        {level}, selection::singleRunCount(level.start, level.end, level.step),
        [permissible] { return parseNumber(permissible->text()); }, tried, before);
    if (!result)
        return;
    if (result->outcome == selection::Outcome::Refused) {
        dialogs().showMessage(result->refusal);
        UpdateButtons();
        return;
    }
    const bool found = result->outcome == selection::Outcome::Found;
    if (withData) {
        SelectionChartDialog& chart = chartForm(this);
        chart.setWindowTitle(u"Подбор параметра "_s + quoted(name) + QLatin1Char('.'));
        chart.Memo1()->setPlainText(notes.join(QLatin1Char('\n')));
        chart.ShowSelectionChart(data, name, int(p->columns.size()) + 2);
        chart.lblItog()->setText(found ? u"подбор параметра успешен."_s : u"подбор параметра неудачен."_s);
        dialogs().execModal(&chart);
    } else if (result->outcome == selection::Outcome::Exhausted) {
        dialogs().showMessage(u"Подбор параметра "_s + quoted(name) + u" неудачен."_s);
    }
    UpdateButtons();
}

std::optional<selection::RunResult> CalculatorWindow::runLevels(
    const QList<selection::Level>& levels, long long gaugeMax,
    const std::function<std::optional<long double>()>& required,
    const std::function<void(long double, std::optional<long double>, const QMap<QString, long double>&)>&
        tried,
    const InputTexts& before) {
    // The run starts from the window's values; a text that is no number cannot be varied from.
    QMap<QString, long double> values;
    for (const QString& name : d_.selection.writeBack) {
        const auto* edit = qobject_cast<const QLineEdit*>(inputWidget(name));
        if (edit && edit->isReadOnly())
            continue;
        // An input left empty (an optional size) takes part only once the run sets it.
        if (inputText(name).isEmpty())
            continue;
        const auto v = parseNumber(inputText(name));
        if (!v) {
            dialogs().showMessage(selection::notANumberMessage(inputText(name)));
            return std::nullopt;
        }
        values.insert(name, *v);
    }
    // Each soil frame's calculated resistivity follows its p0 and Kп.
    QStringList frames;
    for (const SoilSlot& slot : std::as_const(soils_))
        frames << slot.setup->prefix;
    for (const QString& frame : std::as_const(frames))
        if (!values.contains(frame + QStringLiteral("EditRo")))
            if (const auto shown = parseNumber(inputText(frame + QStringLiteral("EditRo"))))
                values.insert(frame + QStringLiteral("EditRo"), *shown);
    // Nothing on the window changes while the run holds it: one snapshot serves every combination.
    session_->setRun(nullptr, singleRun_);
    SelectionModelRun model(calc_, snapshot(), std::move(values), frames);
    model.derive();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    holdWindowForRun(true);
    toolbar_->clearBreakRequest();
    QProgressBar* gauge = toolbar_->Gauge1();
    toolbar_->setSelectionRunning(true);
    gauge->setRange(0, int(std::clamp<long long>(gaugeMax, 1, INT_MAX)));
    gauge->setValue(0);
    repaint();

    selection::RunHooks hooks;
    hooks.required = required;
    hooks.breakRequested = [this] { return toolbar_->breakRequested(); };
    // The window breathes at most every 10 ms, and the gauge is moved then: the stop button and the
    // gauge still answer at once to the eye, while asking the system for events and redrawing the
    // gauge after every value cost more than the formula.
    QElapsedTimer breath;
    long long advanced = 0;
    const auto showProgress = [gauge, &advanced] {
        gauge->setValue(int(std::min<long long>(advanced, gauge->maximum())));
    };
    hooks.yield = [&breath, &showProgress] {
        if (breath.isValid() && breath.elapsed() < 10)
            return;
        showProgress();
        QCoreApplication::processEvents();
        breath.start();
    };
    hooks.advance = [&advanced] { ++advanced; };
    if (tried)
        hooks.tried = [&](long double value, std::optional<long double> r) {
            tried(value, r, model.values());
        };

    runValues_ = &model.values();
    session_->setRun(runValues_, singleRun_);
    const selection::RunResult result = model.run(levels, hooks);
    runValues_ = nullptr;
    session_->setRun(nullptr, singleRun_);
    showProgress();
    ShowSelectionResult(model.values(), result);
    rememberInputsBeforeRun(before);
    return result;
}

void CalculatorWindow::wireRestoreBeforeRun() {
    QToolButton* button = toolbar_->btnUndoPodbor();
    button->setEnabled(false);
    connect(button, &QToolButton::clicked, this, &CalculatorWindow::restoreInputsBeforeRun);
    auto* shortcut = new QShortcut(QKeySequence::Undo, this);
    connect(shortcut, &QShortcut::activated, this, &CalculatorWindow::restoreInputsBeforeRun);
    // An edit line takes Ctrl+Z for its own undo; while a run can be undone, the window's comes first
    // (the line has nothing of its own to undo then: the run wrote it).
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
}

bool CalculatorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::LayoutRequest && mainScroll_ && watched == mainScroll_->widget()) {
        const bool done = QDialog::eventFilter(watched, event);
        fitToContents();
        return done;
    }
    if (event->type() == QEvent::ShortcutOverride && restoreAvailable() &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo))
        return true; // left unaccepted: the window's shortcut runs
    return QDialog::eventFilter(watched, event);
}

void CalculatorWindow::rememberInputsBeforeRun(const InputTexts& before) {
    const InputTexts after = currentInputs(d_.inputOrder);
    if (after == before)
        return;
    inputsBeforeRun_ = before;
    inputsAfterRun_ = after;
    UpdateButtons();
}

bool CalculatorWindow::restoreAvailable() const {
    return !inputsBeforeRun_.isEmpty() && !selectionRunning();
}

void CalculatorWindow::restoreInputsBeforeRun() {
    if (!restoreAvailable())
        return;
    const InputTexts before = inputsBeforeRun_;
    inputsBeforeRun_.clear();
    inputsAfterRun_.clear();
    applyInputs(before);
}

void CalculatorWindow::holdWindowForRun(bool hold) {
    // Only the stop button answers while a run yields to the window.
    if (hold) {
        // Disabling takes the focus away; it goes back once the values are written.
        focusBeforeRun_ = focusWidget();
        heldWidgets_.clear();
        for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w != toolbar_) {
                heldWidgets_ << qMakePair(w, w->isEnabled());
                w->setEnabled(false);
            }
        for (QToolButton* b : toolbar_->buttons())
            if (b != toolbar_->btnBreak()) {
                heldWidgets_ << qMakePair(static_cast<QWidget*>(b), b->isEnabled());
                b->setEnabled(false);
            }
    } else {
        for (const auto& [w, enabled] : std::as_const(heldWidgets_))
            w->setEnabled(enabled);
        heldWidgets_.clear();
    }
}

void CalculatorWindow::ShowSelectionResult(const QMap<QString, long double>& values,
                                           const selection::RunResult& result) {
    QApplication::restoreOverrideCursor();
    toolbar_->setSelectionRunning(false);
    holdWindowForRun(false);
    session_->takeSelectionResult(values, result.combinations, result.inadmissible, result.r);
    freshResult_ = session_->hasResult();
    redraw();
    if (focusBeforeRun_ && focusBeforeRun_->isEnabled())
        focusBeforeRun_->setFocus(Qt::OtherFocusReason);
    focusBeforeRun_ = nullptr;
}

void CalculatorWindow::reject() {
    // Closing mid-run would leave the run without its window.
    if (selectionRunning())
        return;
    QDialog::reject();
}

} // namespace kz

namespace kz {

// ---- Radio-list inputs and the tables command

void CalculatorWindow::addRadioInput(const GeometryInput& g, QGridLayout* grid, int row) {
    auto* radio = new RadioGroup(g.name, g.label, g.radioItems, g.radioColumns, grid->parentWidget());
    const int index = int(g.radioItems.indexOf(g.defaultText));
    radio->setItemIndex(index < 0 ? 0 : index);
    radios_.insert(g.name, radio);
    grid->addWidget(radio, row, 0, 1, 3);
}

void CalculatorWindow::wireRadioInputs() {
    for (RadioGroup* radio : std::as_const(radios_))
        connect(radio, &RadioGroup::itemIndexChanged, this, [this, radio] {
            const ScopedCount choosing(choosing_);
            userEdit(radio->objectName(), radio->itemText(), false);
        });
}

QString CalculatorWindow::radioText(const RadioGroup* radio) {
    return radio->itemText();
}

void CalculatorWindow::updateEnabledInputs() {
    // Only what the calculator disabled is enabled again: a selection run holds inputs of its own.
    static const char* const mark = "disabledByCalculator";
    const QStringList disabled = calc_.disabledInputs(session_->values());
    for (const GeometryInput& g : d_.geometry) {
        QWidget* w = inputWidget(g.name);
        if (!w)
            continue;
        if (disabled.contains(g.name)) {
            w->setEnabled(false);
            w->setProperty(mark, true);
        } else if (w->property(mark).toBool()) {
            w->setEnabled(true);
            w->setProperty(mark, false);
        }
    }
}

void CalculatorWindow::wireTablesDialog() {
    if (!d_.tablesDialog)
        return;
    QToolButton* button = toolbar_->btnKI();
    button->setEnabled(true);
    setHint(button, d_.tablesDialog->hint);
    connect(button, &QToolButton::clicked, this, [this] {
        if (referenceDialogs().tables)
            referenceDialogs().tables(this, d_.tablesDialog->dialog, inputText(d_.tablesDialog->input));
    });
}

} // namespace kz

namespace kz {

// ---- A row chosen in a grid

void CalculatorWindow::buildRowChoice(const GeometryInput& g, QLabel* caption, QGridLayout* target, int row) {
    // The grid goes on a tab of its own; its key and check box stand with the inputs.
    auto* choice = new TableRowChoice(g.name, *g.rowChoice, data_, this);
    rowChoices_.insert(g.name, choice);
    target->addWidget(caption, row, 0);
    target->addWidget(choice->keyLabel(), row, 1);
    if (choice->check())
        target->addWidget(choice->check(), row, 2);
}

void CalculatorWindow::wireRowChoices() {
    for (auto it = rowChoices_.cbegin(); it != rowChoices_.cend(); ++it) {
        const QString name = it.key();
        TableRowChoice* choice = it.value();
        connect(choice, &TableRowChoice::rowChanged, this, [this, name, choice](bool byUser) {
            if (redrawing_ > 0)
                return;
            const ScopedCount choosing(choosing_);
            session_->rowChosen(name, choice->key(), byUser);
            redraw();
        });
        if (QCheckBox* check = choice->check())
            connect(check, &QCheckBox::clicked, this, [this, check](bool checked) {
                session_->press(check->objectName(), checked);
                redraw();
            });
    }
}

void CalculatorWindow::sayEmptyRowTable(const QString& empty) {
    if (!empty.isEmpty()) {
        message_->setText(empty);
    } else if (!saidEmpty_.isEmpty() && message_->text() == saidEmpty_) {
        // A row is there now: what was said about the empty table no longer holds.
        message_->clear();
    }
    saidEmpty_ = empty;
}

QString CalculatorWindow::emptyRowTableMessage() const {
    return session_->emptyRowTableMessage();
}

TableRowChoice* CalculatorWindow::rowChoice(const QString& name) const {
    return rowChoices_.value(name);
}

void CalculatorWindow::addRowGrid(const GeometryInput& g, QGridLayout* target, int row, QWidget* panel) {
    auto* grid = new RowGrid(*g.rowGrid, panel);
    grid->setObjectName(g.name);
    rowGrids_.insert(g.name, grid);
    if (const GeometryInput* count = [this, &g]() -> const GeometryInput* {
            for (const GeometryInput& c : d_.geometry)
                if (c.name == g.rowGrid->countInput)
                    return &c;
            return nullptr;
        }())
        grid->layOut(count->defaultText.toInt());
    if (!g.rowGrid->defaultText.isEmpty())
        grid->setRowsText(g.rowGrid->defaultText);
    target->addWidget(buildRowGridPanel(grid, panel), row, 0, 1, 3);
    connect(grid, &RowGrid::edited, this, [this, grid] { userEdit(grid->objectName(), grid->rowsText(), true); });
    for (const GridButton& b : g.rowGrid->buttons)
        if (auto* button = panel->findChild<QPushButton*>(b.name))
            connect(button, &QPushButton::clicked, this, [this, grid, b] { gridButtonClicked(grid, b); });
}

void CalculatorWindow::gridButtonClicked(RowGrid* grid, const GridButton& button) {
    if (button.clears) {
        grid->clearCells();
        return;
    }
    const GridCommand done = session_->gridCommand(button.name);
    redraw();
    if (done.failure) {
        fail(*done.failure, true);
    } else if (!done.message.isEmpty()) {
        dialogs().showMessage(done.message);
    }
}

} // namespace kz
