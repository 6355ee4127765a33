#include "widgets/calculator/CalculatorWindow.h"

#include "core/common/NumberText.h"
#include "core/common/ScopedCount.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/RowGridText.h"
#include "core/model/TwoLayerSoil.h"
#include "core/rules/SoilRules.h"
#include "store/DataModule.h"
#include "store/StoredFrameData.h"
#include "widgets/calculator/CalculatorCommands.h"
#include "widgets/calculator/RowGrid.h"
#include "widgets/calculator/SelectionRunController.h"
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

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
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

using SoilSlot = CalculatorWidgets::SoilSlot;
using PictureChoiceWidgets = CalculatorWidgets::PictureChoiceWidgets;
} // namespace

ReferenceDialogs& referenceDialogs() {
    static ReferenceDialogs hooks;
    return hooks;
}

QWidget* sharedWindowOwner(QWidget* calculator) {
    return calculator->parentWidget() ? calculator->parentWidget() : calculator;
}

QSize largestCalculatorWindow() {
    // 1366 × 768 less a title bar, the window's borders and a taskbar.
    return {1366 - 16, 768 - 72};
}

CalculatorWindow::CalculatorWindow(const Calculator& calculator, DataModule& data, QWidget* parent)
    : QDialog(parent), calc_(calculator), d_(calculator.description()), data_(data),
      frameData_(std::make_unique<StoredFrameData>(data, StoredFrameData::Reading::Live)),
      session_(std::make_unique<CalculatorSession>(calculator, *frameData_)),
      ui_(CalculatorWindowBuilder(*this, d_, data).build()),
      commands_(std::make_unique<CalculatorCommands>(*this, calculator, data)),
      selection_(std::make_unique<SelectionRunController>(*this, calculator, data)) {
    session_->setListener(this);
    session_->setDriver(CalculatorSession::Driver::Window);
    // The scroll box keeps its contents' layout to itself: the window follows it by hand.
    ui_.mainScroll->widget()->installEventFilter(this);
    wireRowGrids();
    wirePictureChoices();
    wireCoefficientTabs();
    wireEquivalentResistivity();
    wireToolbar();
    commands_->wire();
    wireFrames();
    wireRadioInputs();
    wireRowChoices();
    selection_->wire();
}

CalculatorWindow::~CalculatorWindow() {
    // A cell still being edited is committed while the dialog hides: nothing of the window is left
    // to take it.
    for (RowGrid* grid : std::as_const(ui_.rowGrids))
        grid->disconnect(this);
}

void CalculatorWindow::wireToolbar() {
    CalculatorToolbar* t = ui_.toolbar;
    // The session takes the buttons' states as they change; a click runs their command.
    for (QToolButton* button :
         {t->btnAutoScore(), t->btnLinkRo(), t->btnLinkParam(), t->btnEU(), t->btnPicture()})
        connect(button, &QToolButton::toggled, this,
                [this, button](bool down) { session_->setToggle(button->objectName(), down); });
    connect(t->btnAutoScore(), &QToolButton::clicked, this, [this](bool down) {
        if (down)
            calculate(true);
    });
    connect(t->btnLinkRo(), &QToolButton::clicked, this, &CalculatorWindow::linkInstallationResistivity);
    connect(t->btnClose(), &QToolButton::clicked, this, &QDialog::reject);
    connect(ui_.btnScore, &QToolButton::clicked, this, [this] { calculate(true); });

    t->btnLinkParam()->setEnabled(d_.linkedParameters);
    connect(t->btnLinkParam(), &QToolButton::clicked, this, [this](bool down) {
        if (!down)
            return;
        QString focused;
        for (auto it = ui_.geometry.cbegin(); it != ui_.geometry.cend(); ++it)
            if (changedByUser(it.value()))
                focused = it.key();
        session_->linkParameters(focused);
        redraw();
    });
}

void CalculatorWindow::wireFrames() {
    for (const GeometryInput& g : d_.geometry) {
        QLineEdit* edit = ui_.geometry.value(g.name);
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
    for (QSpinBox* spin : std::as_const(ui_.spins))
        connect(spin, &QSpinBox::valueChanged, this, [this, spin] { spinInputEdited(spin); });
    for (QComboBox* combo : std::as_const(ui_.choices))
        connect(combo, &QComboBox::currentIndexChanged, this, [this, combo] {
            const ScopedCount choosing(choosing_);
            userEdit(combo->objectName(), combo->currentText(), false);
        });
    for (SpinButton* pair : std::as_const(ui_.steps)) {
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
    connect(ui_.eu->EditRmax(), &QLineEdit::textChanged, this,
            [this](const QString& text) { userEdit(u"frmEU1.EditRmax"_s, text, true); });
    connect(ui_.eu->chkInclude(), &QCheckBox::toggled, this, [this](bool down) {
        if (redrawing_ == 0)
            session_->press(u"frmEU1.chkInclude"_s, down);
    });
    connect(ui_.eu, &InstallationFrame::installationChanged, this, [this] {
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
    updateButtons();
    if (const std::optional<bool> ok = std::exchange(calculatedNow_, std::nullopt))
        emit calculated(*ok);
}

void CalculatorWindow::redrawOwnInputs() {
    const CalculatorSession& s = *session_;
    for (const GeometryInput& g : d_.geometry) {
        if (QLineEdit* edit = ui_.geometry.value(g.name)) {
            if (const QString text = s.text(g.name); edit->text() != text) {
                const QSignalBlocker quiet(edit);
                edit->setText(text);
            }
        } else if (QSpinBox* spin = ui_.spins.value(g.name)) {
            const QSignalBlocker quiet(spin);
            if (const auto [min, max] = s.spinRange(g.name); min != spin->minimum() || max != spin->maximum())
                spin->setRange(min, max);
            spin->setValue(s.text(g.name).toInt());
            if (ui_.pictureChoices.contains(g.name) && pictureShown_.value(g.name) != spin->value()) {
                pictureShown_.insert(g.name, spin->value());
                showPictureChoice(g.name);
            }
        } else if (QComboBox* combo = ui_.choices.value(g.name)) {
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
        } else if (RadioGroup* radio = ui_.radios.value(g.name)) {
            const QSignalBlocker quiet(radio);
            if (radio->itemText() != s.text(g.name))
                radio->chooseItem(s.text(g.name));
        } else if (TableRowChoice* choice = ui_.rowChoices.value(g.name)) {
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
    for (auto it = ui_.rowGrids.cbegin(); it != ui_.rowGrids.cend(); ++it)
        if (const QString text = s.gridShown(it.key()); it.value()->shownText() != text) {
            const QSignalBlocker quiet(it.value());
            it.value()->setRowsText(text);
        }
    for (const auto& [tab, check] : std::as_const(ui_.tableFilters))
        if (const QString by = s.text(tab->filterInput);
            filteredBy_.value(tab->filterInput, u"\x01"_s) != by) {
            filteredBy_.insert(tab->filterInput, by);
            filterCoefficientTables(tab->filterInput);
        }
}

void CalculatorWindow::redrawFrames() {
    const CalculatorSession& s = *session_;
    const QStringList& soils = s.soilNames();
    for (int i = 0; i < ui_.soils.size() && i < s.soilCount(); ++i)
        ui_.soils[i].frame->showState(s.soil(i), soils);
    for (int i = 0; i < ui_.sections.size() && i < s.sectionCount(); ++i)
        ui_.sections[i].frame->showState(s.section(i));
    const InstallationValues& v = s.installation();
    for (const auto& [edit, text] :
         {std::pair{ui_.eu->EditTip(), v.type}, std::pair{ui_.eu->EditIzo(), v.current},
          std::pair{ui_.eu->EditUlin(), v.voltage}, std::pair{ui_.eu->EditS(), v.power},
          std::pair{ui_.eu->EditP(), v.resistivity}, std::pair{ui_.eu->EditRmax(), v.permissible}})
        if (edit->text() != text) {
            const QSignalBlocker quiet(edit);
            edit->setText(text);
        }
    if (ui_.include) {
        const QSignalBlocker quiet(ui_.include);
        ui_.include->setChecked(s.toggled(ui_.include->objectName()));
        ui_.include->setEnabled(s.includeOffered());
    }
}

void CalculatorWindow::redrawResult() {
    const CalculatorSession& s = *session_;
    if (ui_.result->text() != s.result())
        ui_.result->setText(s.result());
    setCalcOrderLines(s.order());
    warnings_ = s.warnings();
    if (s.result().isEmpty()) {
        ui_.result->setStyleSheet({});
        ui_.result->setToolTip({});
    } else if (std::exchange(freshResult_, false)) {
        // A weakly held condition is said in the message line; the result stands.
        if (!warnings_.isEmpty())
            ui_.message->setText(warnings_.join(u'\n'));
        if (const auto r = s.resistance())
            showVerdict(*r);
    }
}

void CalculatorWindow::updateToolButtons() {
    for (const GeometryInput& g : d_.geometry)
        if (!g.button.needs.isEmpty())
            if (QToolButton* b = ui_.buttons.value(g.button.name))
                b->setEnabled(!inputText(g.button.needs).isEmpty());
}

void CalculatorWindow::wireEquivalentResistivity() {
    if (!d_.equivalentResistivity)
        return;
    const EquivalentResistivitySetup& e = *d_.equivalentResistivity;
    pekvLink_ = std::make_unique<EquivalentResistivityLink>(data_, pekv::Form(e.form));
    connect(ui_.include, &QCheckBox::toggled, this, [this](bool checked) {
        if (redrawing_ == 0)
            session_->setToggle(ui_.include->objectName(), checked);
    });
    connect(ui_.include, &QCheckBox::clicked, this, [this] {
        if (autoCalculation())
            calculate(true);
    });
    if (QToolButton* button = ui_.buttons.value(e.button))
        connect(button, &QToolButton::clicked, this, [this] {
            const bool computed = pekvLink_->run(
                this, [this, size = d_.equivalentResistivity->size] { return parseNumber(inputText(size)); });
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
    for (const SpinButton* pair : ui_.steps)
        if (pair->associate() == input && (focused == pair || pair->isAncestorOf(focused)))
            return true;
    return false;
}

bool CalculatorWindow::linkingOn() const {
    return d_.linkedParameters && ui_.toolbar->btnLinkParam()->isChecked();
}

void CalculatorWindow::updateCaption(const GeometryInput& g) {
    const QString name = g.labelName.isEmpty() ? QStringLiteral("lbl") + g.name : g.labelName;
    if (QLabel* label = ui_.captions.value(name)) {
        const QString text = session_->rangeLabel(name);
        if (const QString shown = text.isEmpty() ? g.label : text; label->text() != shown)
            label->setText(shown);
    }
}

void CalculatorWindow::reserveRangeRoom() {
    // A range with both bounds needs room for two numbers the user may type.
    for (const GeometryInput& g : d_.geometry)
        if (QLabel* label = g.range.follows.isEmpty() ? nullptr : ui_.ranges.value(g.range.name);
            label && label->text().count(u'<') + label->text().count(u'>') >= 2)
            label->setMinimumWidth(
                std::max(label->minimumWidth(), label->fontMetrics().horizontalAdvance(
                                                    QStringLiteral("( 00000,00000 <= Ww <= 000000,000 )"))));
}

void CalculatorWindow::updateRangeLabels() {
    for (const GeometryInput& g : d_.geometry) {
        if (!g.labelFollows.isEmpty())
            updateCaption(g);
        for (const auto& [name, follows] :
             {std::pair{g.range.name, g.range.follows}, std::pair{g.range2.name, g.range2.follows}})
            if (QLabel* label = follows.isEmpty() ? nullptr : ui_.ranges.value(name))
                if (const QString text = session_->rangeLabel(name); label->text() != text)
                    label->setText(text);
    }
}

QToolButton* CalculatorWindow::geometryButton(const QString& name) const {
    return ui_.buttons.value(name);
}

QString CalculatorWindow::resultText(long double r) const {
    return session_->resultText(r);
}

QLineEdit* CalculatorWindow::geometryEdit(const QString& name) const {
    return ui_.geometry.value(name);
}

QComboBox* CalculatorWindow::geometryChoice(const QString& name) const {
    return ui_.choices.value(name);
}

QSpinBox* CalculatorWindow::geometrySpin(const QString& name) const {
    return ui_.spins.value(name);
}

SpinButton* CalculatorWindow::stepButton(const QString& name) const {
    return ui_.steps.value(name);
}

bool CalculatorWindow::autoCalculation() const {
    return ui_.toolbar->btnAutoScore()->isChecked();
}

void CalculatorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    activate();
    // The chosen picture is brought into view once its scroll box has its size on screen.
    if (!ui_.pictureChoices.isEmpty())
        QTimer::singleShot(0, this, [this] {
            for (auto it = ui_.pictureChoices.cbegin(); it != ui_.pictureChoices.cend(); ++it)
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
        LoadPicture(ui_.image, d_.pictureFile);
    loadChoicePictures();
    loadPagePictures();
    // The toolbar's buttons as they stand; opened again, the window keeps what the user typed.
    for (QToolButton* button : {ui_.toolbar->btnAutoScore(), ui_.toolbar->btnLinkRo(),
                                ui_.toolbar->btnLinkParam(), ui_.toolbar->btnEU(), ui_.toolbar->btnPicture()})
        session_->setToggle(button->objectName(), button->isChecked());
    if (activations_ == 1)
        session_->open();
    else
        session_->reopen();
    const QString openedOnOtherType = session_->openingNote();
    commands_->enableDictionaries();
    const ReferenceDialogs& refs = referenceDialogs();
    // The frames' own dialogs, for every calculator alike.
    for (SoilFrame* frame : soilFrames()) {
        frame->setCorrectionDialog(refs.correction ? std::function<std::optional<QString>()>(
                                                         [] { return referenceDialogs().correction(); })
                                                   : nullptr);
        frame->setStepSettingsDialog(
            refs.resistivitySteps ? std::function<void()>([] { referenceDialogs().resistivitySteps(); })
                                  : nullptr);
    }
    ui_.toolbar->setClimateRegionDialog(
        refs.climateRegions ? std::function<void()>([] { referenceDialogs().climateRegions(); }) : nullptr);
    redraw();
    reserveRangeRoom();
    updateToolButtons();
    sayEmptyChoices();
    if (!openedOnOtherType.isEmpty())
        ui_.message->setText(openedOnOtherType);
    fitPageControl();
    // The picture may have changed the size: settle it before the window appears.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    fitToContents();
    if (d_.windowTop)
        if (const QScreen* screen = this->screen())
            move(x(), screen->availableGeometry().top() + *d_.windowTop);
}

void CalculatorWindow::fitToContents() {
    // From the size hints alone: activating the layout on the way would stretch the window to a
    // height it is about to give up.
    const QSize inner = ui_.mainScroll->widget()->sizeHint();
    const int laidOut = ui_.mainScroll->minimumHeight() == ui_.mainScroll->maximumHeight()
                            ? ui_.mainScroll->maximumHeight()
                            : ui_.mainScroll->sizeHint().height();
    const int around = sizeHint().height() - laidOut;
    const int over = around + inner.height() - largestCalculatorWindow().height();
    const bool scrolls = over > 0;
    ui_.mainScroll->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int bar = ui_.mainScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ui_.mainScroll);
    ui_.mainScroll->setFixedSize(scrolls ? QSize(inner.width() + bar, inner.height() - over) : inner);
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
    for (const SoilSlot& slot : ui_.soils)
        frames << slot.frame;
    return frames;
}

bool CalculatorWindow::fail(const CheckFailure& failure, bool show) {
    if (show && !failure.message.isEmpty()) {
        dialogs().showMessage(failure.message);
        if (const auto cell = parseGridCell(failure.focus); cell && ui_.rowGrids.contains(cell->grid))
            ui_.rowGrids.value(cell->grid)->selectCell(cell->row, cell->column);
        else if (!failure.focus.isEmpty())
            focusIfPossible(inputWidget(failure.focus));
    }
    return false;
}

bool CalculatorWindow::checkInputs(bool show) {
    if (const auto failure = session_->check())
        return fail(*failure, show);
    return true;
}

void CalculatorWindow::calculate(bool show) {
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
    ui_.message->setText(failure.message);
    QWidget* input = failure.focus.isEmpty() ? focusWidget() : inputWidget(failure.focus);
    if (auto* edit = qobject_cast<QLineEdit*>(input); edit && !edit->isReadOnly()) {
        marked_ = edit;
        edit->setStyleSheet(QStringLiteral("QLineEdit { background: #ffd8d8; }"));
    }
}

void CalculatorWindow::clearInlineFailure() {
    failurePending_ = false;
    ui_.message->clear();
    if (marked_)
        marked_->setStyleSheet({});
    marked_ = nullptr;
}

void CalculatorWindow::leaveInput(QWidget* input) {
    // A text that is no number has its own message on leaving.
    if (failurePending_ && autoCalculation() && parseNumber(controlText(input)))
        calculate(true);
}

void CalculatorWindow::keyPressEvent(QKeyEvent* event) {
    // Enter calculates, as the calculate button does; it never closes the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A message waiting in the message line is said, even with an input left empty.
        if (ui_.btnScore->isEnabled() || failurePending_)
            calculate(true);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CalculatorWindow::showVerdict(long double r) {
    // The result tells at a glance whether it meets Rдоп; the verdict itself is its hint.
    const auto permissible = keptNumber(ui_.eu->EditRmax()->text());
    if (!permissible || !(*permissible > 0) || ui_.eu->isHidden()) {
        ui_.result->setStyleSheet({});
        ui_.result->setToolTip({});
        return;
    }
    const bool usable = isUsable(*permissible, r);
    ui_.result->setStyleSheet(usable ? QStringLiteral("QLineEdit { background: #d8f5d8; }")
                                     : QStringLiteral("QLineEdit { background: #ffd8d8; }"));
    ui_.result->setToolTip(usable ? u"R <= Rдоп.: заземляющее устройство можно использовать."_s
                                  : u"R > Rдоп.: заземляющее устройство нельзя использовать."_s);
}

void CalculatorWindow::updateButtons() {
    bool filled = true;
    for (const QString& name : d_.requiredInputs)
        if (inputText(name).isEmpty()) {
            filled = false;
            break;
        }
    ui_.toolbar->btnSave()->setEnabled(filled);
    if (d_.loadNeedsInputs)
        ui_.toolbar->btnLoad()->setEnabled(filled);
    ui_.btnScore->setEnabled(filled);
    ui_.toolbar->btnCopy()->setEnabled(filled);
    ui_.toolbar->btnPodbor()->setEnabled(filled && !d_.selection.parameters.isEmpty() && !selectionRunning());
    ui_.toolbar->btnReport()->setEnabled(!ui_.result->text().isEmpty() && bool(d_.report));
    // The way back lasts until an input differs from what the run left.
    selection_->forgetRestoreOnChange();
    ui_.toolbar->btnUndoPodbor()->setEnabled(restoreAvailable());
    updateEnabledInputs();
}

void CalculatorWindow::linkInstallationResistivity() {
    session_->linkInstallation();
    redraw();
}

QWidget* CalculatorWindow::inputWidget(const QString& name) const {
    if (QLineEdit* own = ui_.geometry.value(name))
        return own;
    if (RowGrid* grid = ui_.rowGrids.value(name))
        return grid;
    // A plain soil field is the upper (or only) frame's.
    if (ui_.soil && !name.contains(QLatin1Char('.')))
        if (QWidget* field = ui_.soil->findChild<QWidget*>(name))
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
    // A chosen row, its code and its values are the session's.
    if (ui_.rowChoices.contains(name.section(u'.', 0, 0)))
        return session_->text(name);
    if (name.endsWith(sizeSetModeInput())) {
        const SectionFrame* section = sectionOfMode(name);
        return section ? QString::number(section->GetSizeMode()) : QString();
    }
    const QWidget* w = inputWidget(name);
    if (const auto* spin = qobject_cast<const QSpinBox*>(w))
        return QString::number(spin->value());
    if (const auto* radio = ui_.radios.value(name))
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
        const CalculatorSession::Edit done =
            session_->press(section->objectName() + u'.' + buttons[mode], true);
        redraw();
        return done.taken;
    }
    if (const QSpinBox* spin = ui_.spins.value(name)) {
        // A count kept as a number ("4") or typed; what is no number leaves it as it is.
        const auto v = parseNumber(text);
        if (!v)
            return false;
        value =
            QString::number(int(std::clamp<long double>(std::round(*v), spin->minimum(), spin->maximum())));
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
    calculate(true);
    session_->setAutoCalculation(autoCalculation());
}

void CalculatorWindow::setCalcOrderLines(const QStringList& lines) {
    if (ui_.memo)
        ui_.memo->setPlainText(lines.join(QLatin1Char('\n')));
    else if (ui_.orderLine)
        ui_.orderLine->setText(lines.join(QLatin1Char(' ')));
}

InstallationValues CalculatorWindow::installationValues() const {
    InstallationValues v;
    v.type = ui_.eu->EditTip()->text();
    v.current = ui_.eu->EditIzo()->text();
    v.voltage = ui_.eu->EditUlin()->text();
    v.power = ui_.eu->EditS()->text();
    v.resistivity = ui_.eu->EditP()->text();
    v.permissible = ui_.eu->EditRmax()->text();
    v.include = ui_.eu->chkInclude()->isChecked();
    return v;
}

ReportSource CalculatorWindow::reportSource() const {
    return session_->reportSource();
}

void CalculatorWindow::fitPageControl() {
    if (!ui_.pages)
        return;
    // Every tab's title and every column of its grids in view, without scrolling sideways.
    int needed = ui_.pages->tabBar()->sizeHint().width() + 8;
    for (TableGrid* grid : ui_.pages->findChildren<TableGrid*>()) {
        const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
        // The row header is narrower in its hint than its fixed width.
        const QHeaderView* rows = grid->verticalHeader();
        const int rowHeader = rows->isHidden() ? 0 : std::max(rows->sizeHint().width(), rows->minimumWidth());
        const int full =
            grid->horizontalHeader()->length() + rowHeader + 2 * grid->frameWidth() + scrollBar + 2;
        grid->setMinimumWidth(full);
        needed = std::max(needed, full + 24);
    }
    ui_.pages->setMinimumWidth(needed);
}

void CalculatorWindow::sayEmptyChoices() {
    sayEmptyRowTable(emptyRowTableMessage());
    // Nothing to choose disables the calculation: the message line says why.
    for (const GeometryInput& g : d_.geometry)
        if (QComboBox* combo = ui_.choices.value(g.name);
            combo && combo->count() == 0 && !g.choice->emptyMessage.isEmpty())
            ui_.message->setText(g.choice->emptyMessage);
}

void CalculatorWindow::loadChoicePictures() {
    for (const GeometryInput& g : d_.geometry) {
        if (!g.isPictureChoice())
            continue;
        const PictureChoiceWidgets& w = ui_.pictureChoices[g.name];
        int widest = 0;
        for (int i = 0; i < g.picture->pictures.size() && i < w.images.size(); ++i) {
            LoadPicture(w.images[i], g.picture->pictures[i]);
            widest = std::max(widest, w.images[i]->width());
        }
        w.scroll->setMinimumWidth(widest + 40 + w.scroll->verticalScrollBar()->sizeHint().width());
    }
}

void CalculatorWindow::pictureClicked(const QString& name, int number) {
    QSpinBox* value = ui_.spins.value(name);
    if (!value || !ui_.pictureChoices.contains(name) || number < value->minimum() ||
        number > value->maximum())
        return;
    // The user's choice moves the inputs that must fit the type.
    const ScopedCount choosing(choosing_);
    session_->choose(name, QString::number(number));
    redraw();
}

void CalculatorWindow::showPictureChoice(const QString& name) {
    const auto it = ui_.pictureChoices.constFind(name);
    if (it == ui_.pictureChoices.cend())
        return;
    const PictureChoiceWidgets& w = *it;
    const int chosen = ui_.spins.value(name)->value() - 1;
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

void CalculatorWindow::filterCoefficientTables(const QString& changedInput) {
    for (const auto& [tab, check] : std::as_const(ui_.tableFilters)) {
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

bool CalculatorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::LayoutRequest && ui_.mainScroll && watched == ui_.mainScroll->widget()) {
        const bool done = QDialog::eventFilter(watched, event);
        fitToContents();
        return done;
    }
    return QDialog::eventFilter(watched, event);
}

void CalculatorWindow::reject() {
    // Closing mid-run would leave the run without its window.
    if (selectionRunning())
        return;
    QDialog::reject();
}

void CalculatorWindow::wireRadioInputs() {
    for (RadioGroup* radio : std::as_const(ui_.radios))
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
    const QStringList disabled = session_->disabledInputs();
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

void CalculatorWindow::wireRowChoices() {
    for (auto it = ui_.rowChoices.cbegin(); it != ui_.rowChoices.cend(); ++it) {
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
        ui_.message->setText(empty);
    } else if (!saidEmpty_.isEmpty() && ui_.message->text() == saidEmpty_) {
        // A row is there now: what was said about the empty table no longer holds.
        ui_.message->clear();
    }
    saidEmpty_ = empty;
}

QString CalculatorWindow::emptyRowTableMessage() const {
    return session_->emptyRowTableMessage();
}

TableRowChoice* CalculatorWindow::rowChoice(const QString& name) const {
    return ui_.rowChoices.value(name);
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

void CalculatorWindow::wireRowGrids() {
    for (RowGrid* grid : std::as_const(ui_.rowGrids))
        connect(grid, &RowGrid::edited, this,
                [this, grid] { userEdit(grid->objectName(), grid->rowsText(), true); });
    for (const CalculatorWidgets::RowGridButton& b : std::as_const(ui_.gridButtons))
        connect(b.widget, &QPushButton::clicked, this,
                [this, grid = b.grid, button = b.button] { gridButtonClicked(grid, *button); });
}

void CalculatorWindow::wirePictureChoices() {
    for (auto it = ui_.pictureChoices.cbegin(); it != ui_.pictureChoices.cend(); ++it)
        for (int i = 0; i < it->images.size(); ++i)
            it->images[i]->installEventFilter(new ClickFilter(
                [this, name = it.key(), number = i + 1] { pictureClicked(name, number); }, it->images[i]));
}

void CalculatorWindow::wireCoefficientTabs() {
    for (const CoefficientTab& t : d_.coefficientTabs)
        if (DataTable* table = data_.table(t.table))
            // Queued: the stored coefficients forget the old rows first.
            connect(table, &DataTable::rowsChanged, this, &CalculatorWindow::coefficientTableEdited,
                    Qt::QueuedConnection);
    for (const auto& [tab, check] : std::as_const(ui_.tableFilters))
        connect(check, &QCheckBox::toggled, this,
                [this, input = tab->filterInput] { filterCoefficientTables(input); });
}

// ---- Forwarded to the commands and the selection run

void CalculatorWindow::saveToHistory() {
    commands_->saveToHistory();
}

void CalculatorWindow::loadFromHistory() {
    commands_->loadFromHistory();
}

void CalculatorWindow::copyParameters() {
    commands_->copyParameters();
}

void CalculatorWindow::pasteParameters() {
    commands_->pasteParameters();
}

void CalculatorWindow::exportReport() {
    commands_->exportReport();
}

bool CalculatorWindow::writeReport(const QString& path, QString* error) {
    return commands_->writeReport(path, error);
}

const CopyBuffer& CalculatorWindow::copyBuffer() const {
    return commands_->copyBuffer();
}

void CalculatorWindow::runSelection() {
    selection_->runSelection();
}

void CalculatorWindow::selectParameter(const QString& name, bool withData) {
    selection_->selectParameter(name, withData);
}

void CalculatorWindow::restoreInputsBeforeRun() {
    selection_->restoreInputsBeforeRun();
}

bool CalculatorWindow::restoreAvailable() const {
    return selection_->restoreAvailable();
}

void CalculatorWindow::selectParameterAtPopup() {
    selection_->selectParameterAtPopup();
}

void CalculatorWindow::selectParameterWithDataAtPopup() {
    selection_->selectParameterWithDataAtPopup();
}

void CalculatorWindow::showSelectionSettings() {
    selection_->showSelectionSettings();
}

QMenu* CalculatorWindow::PopupMenu1() const {
    return selection_->popup();
}

bool CalculatorWindow::selectionRunning() const {
    return selection_->selectionRunning();
}

bool CalculatorWindow::singleParameterRun() const {
    return selection_->singleParameterRun();
}

QList<SelectionDescriptor> CalculatorWindow::selectionDescriptors() const {
    return selection_->selectionDescriptors();
}

} // namespace kz
