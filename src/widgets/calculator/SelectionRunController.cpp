#include "widgets/calculator/SelectionRunController.h"

#include "core/common/NumberText.h"
#include "core/common/Paths.h"
#include "core/selection/SelectionModelRun.h"
#include "store/SelectionRanges.h"
#include "widgets/calculator/CalculatorWindow.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/frames/SoilFrame.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/selection/SelectionRunDialog.h"
#include "widgets/selection/SelectionSettingsDialog.h"
#include "widgets/selection/StandardSelectionDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QShortcut>
#include <QToolButton>
#include <climits>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
using SoilSlot = CalculatorWidgets::SoilSlot;

SelectionChartDialog& sharedChartDialog(QWidget* calculator) {
    static QPointer<SelectionChartDialog> form;
    if (!form)
        form = new SelectionChartDialog(sharedWindowOwner(calculator));
    return *form;
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}
} // namespace

SelectionRunController::SelectionRunController(CalculatorWindow& window, const Calculator& calculator,
                                               DataModule& data)
    : window_(window), calc_(calculator), d_(calculator.description()), data_(data) {}

void SelectionRunController::wire() {
    CalculatorToolbar* t = window_.ui_.toolbar;
    t->btnParPodbor()->setEnabled(!d_.selection.parameters.isEmpty());
    connect(t->btnPodbor(), &QToolButton::clicked, this, &SelectionRunController::runSelection);
    connect(t->btnParPodbor(), &QToolButton::clicked, this, &SelectionRunController::showSelectionSettings);
    wireSelection();
    wireRestoreBeforeRun();
}

void SelectionRunController::wireSelection() {
    popup_ = new QMenu(&window_);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* n1 = popup_->addAction(u"Подбор параметра"_s);
    n1->setObjectName(QStringLiteral("N1"));
    QAction* n2 = popup_->addAction(u"Подбор параметра с выводом данных..."_s);
    n2->setObjectName(QStringLiteral("N2"));
    connect(n1, &QAction::triggered, this, &SelectionRunController::selectParameterAtPopup);
    connect(n2, &QAction::triggered, this, &SelectionRunController::selectParameterWithDataAtPopup);
    for (const SelectionParameter& p : d_.selection.parameters) {
        QWidget* input = window_.inputWidget(p.input);
        if (!input)
            continue;
        input->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(input, &QWidget::customContextMenuRequested, this, [this, input](const QPoint& at) {
            popupOwner_ = input;
            popup_->popup(input->mapToGlobal(at));
        });
    }
}

const SelectionParameter* SelectionRunController::selectionParameter(const QString& name) const {
    for (const SelectionParameter& p : d_.selection.parameters)
        if (p.name == name)
            return &p;
    return nullptr;
}

QList<SelectionDescriptor> SelectionRunController::selectionDescriptors() const {
    QList<SelectionDescriptor> list;
    for (const SelectionParameter& p : selectionOffer()) {
        SelectionDescriptor d{p.name, p.start, p.end, p.step, p.type, p.lower, p.upper, p.recommendation};
        if (p.soilRange) {
            const SoilFrame* frame = window_.soilFrameOf(p.input);
            d.start = d.upper = formatGeneral(frame ? frame->RoMax() : 0);
            d.end = d.lower = formatGeneral(frame ? frame->RoMin() : 0);
        }
        list << d;
    }
    return list;
}

void SelectionRunController::selectParameterAtPopup() {
    for (const SelectionParameter& p : d_.selection.parameters)
        if (popupOwner_ && window_.inputWidget(p.input) == popupOwner_)
            return selectParameter(p.name, false);
}

void SelectionRunController::selectParameterWithDataAtPopup() {
    for (const SelectionParameter& p : d_.selection.parameters)
        if (popupOwner_ && window_.inputWidget(p.input) == popupOwner_)
            return selectParameter(p.name, true);
}

void SelectionRunController::showSelectionSettings() {
    int table = 1;
    QString name;
    if (QWidget* focused = window_.focusWidget())
        for (const SelectionParameter& p : d_.selection.parameters)
            // A spin edit passes its focus on to its inner edit line.
            if (QWidget* input = window_.inputWidget(p.input);
                input && (input == focused || input->isAncestorOf(focused))) {
                table = p.settingsTable;
                name = p.name;
                break;
            }
    ShowSelectionSetup(data_, window_.session().selectionKind(), table, name);
}

void SelectionRunController::runSelection() {
    if (d_.selection.parameters.isEmpty() || selectionRunning())
        return;
    if (const auto refused = window_.session_->refuseSelection()) {
        window_.redraw();
        window_.fail(*refused, true);
        return;
    }
    SelectionRunDialog& form =
        d_.selection.storedSets ? standardSelectionForm(&window_) : param1Form(&window_);
    form.clearSelectionParameters();
    for (const SelectionDescriptor& d : selectionDescriptors())
        form.AddSelectionParameter(d);
    if (!window_.ui_.eu->EditRmax()->text().isEmpty())
        form.EditR()->setText(window_.ui_.eu->EditRmax()->text());
    form.activate();
    if (dialogs().execModal(&form) != QDialog::Accepted)
        return;
    const auto levels = selection::levelsOf(form.selectedRows());
    if (!levels || levels->isEmpty())
        return;
    QLineEdit* required = form.EditR();
    singleRun_ = false;
    const auto result = runLevels(
        *levels, form.SelectionCount(), [required] { return parseNumber(required->text()); }, nullptr,
        window_.currentInputs(d_.inputOrder));
    if (result && result->outcome == selection::Outcome::Exhausted)
        dialogs().showMessage(u"Подбор параметров неудачен."_s);
    else if (result && result->outcome == selection::Outcome::Refused)
        dialogs().showMessage(result->refusal);
}

void SelectionRunController::selectParameter(const QString& name, bool withData) {
    const SelectionParameter* p = selectionParameter(name);
    if (!p || selectionRunning())
        return;
    const InputTexts before = window_.currentInputs(d_.inputOrder);
    if (const auto refusal = window_.session_->prepareSingleSelection(*p)) {
        dialogs().showMessage(*refusal);
        return;
    }
    window_.redraw();
    // The stored range of this calculator kind; the resistivity runs over the soil's range.
    QString message;
    const auto stored =
        storedSelectionRange(dataDir(), window_.session().selectionKind(), p->settingsTable, name, &message);
    if (!stored) {
        dialogs().showMessage(message);
        return;
    }
    selection::Level level{name, stored->start, stored->end, stored->step};
    if (p->soilRange) {
        const SoilFrame* frame = window_.soilFrameOf(p->input);
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
    QLineEdit* permissible = window_.ui_.eu->EditRmax();
    singleRun_ = true;
    const auto result = runLevels(
        {level}, selection::singleRunCount(level.start, level.end, level.step),
        [permissible] { return parseNumber(permissible->text()); }, tried, before);
    if (!result)
        return;
    if (result->outcome == selection::Outcome::Refused) {
        dialogs().showMessage(result->refusal);
        window_.updateButtons();
        return;
    }
    const bool found = result->outcome == selection::Outcome::Found;
    if (withData) {
        SelectionChartDialog& chart = sharedChartDialog(&window_);
        chart.setWindowTitle(u"Подбор параметра "_s + quoted(name) + QLatin1Char('.'));
        chart.Memo1()->setPlainText(notes.join(QLatin1Char('\n')));
        chart.ShowSelectionChart(data, name, int(p->columns.size()) + 2);
        chart.lblItog()->setText(found ? u"подбор параметра успешен."_s : u"подбор параметра неудачен."_s);
        dialogs().execModal(&chart);
    } else if (result->outcome == selection::Outcome::Exhausted) {
        dialogs().showMessage(u"Подбор параметра "_s + quoted(name) + u" неудачен."_s);
    }
    window_.updateButtons();
}

std::optional<selection::RunResult> SelectionRunController::runLevels(
    const QList<selection::Level>& levels, long long gaugeMax,
    const std::function<std::optional<long double>()>& required,
    const std::function<void(long double, std::optional<long double>, const QMap<QString, long double>&)>&
        tried,
    const InputTexts& before) {
    // The run starts from the window's values; a text that is no number cannot be varied from.
    QMap<QString, long double> values;
    for (const QString& name : d_.selection.writeBack) {
        const auto* edit = qobject_cast<const QLineEdit*>(window_.inputWidget(name));
        if (edit && edit->isReadOnly())
            continue;
        // An input left empty (an optional size) takes part only once the run sets it.
        if (window_.inputText(name).isEmpty())
            continue;
        const auto v = parseNumber(window_.inputText(name));
        if (!v) {
            dialogs().showMessage(selection::notANumberMessage(window_.inputText(name)));
            return std::nullopt;
        }
        values.insert(name, *v);
    }
    // Each soil frame's calculated resistivity follows its p0 and Kп.
    QStringList frames;
    for (const SoilSlot& slot : std::as_const(window_.ui_.soils))
        frames << slot.setup->prefix;
    for (const QString& frame : std::as_const(frames))
        if (!values.contains(frame + QStringLiteral("EditRo")))
            if (const auto shown = parseNumber(window_.inputText(frame + QStringLiteral("EditRo"))))
                values.insert(frame + QStringLiteral("EditRo"), *shown);
    // Nothing on the window changes while the run holds it: one snapshot serves every combination.
    window_.session_->setRun(nullptr, singleRun_);
    SelectionModelRun model(calc_, window_.snapshot(), std::move(values), frames);
    model.derive();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    holdWindowForRun(true);
    window_.ui_.toolbar->clearBreakRequest();
    QProgressBar* gauge = window_.ui_.toolbar->Gauge1();
    window_.ui_.toolbar->setSelectionRunning(true);
    gauge->setRange(0, int(std::clamp<long long>(gaugeMax, 1, INT_MAX)));
    gauge->setValue(0);
    window_.repaint();

    selection::RunHooks hooks;
    hooks.required = required;
    hooks.breakRequested = [this] { return window_.ui_.toolbar->breakRequested(); };
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
    window_.session_->setRun(runValues_, singleRun_);
    const selection::RunResult result = model.run(levels, hooks);
    runValues_ = nullptr;
    window_.session_->setRun(nullptr, singleRun_);
    showProgress();
    showSelectionResult(model.values(), result);
    rememberInputsBeforeRun(before);
    return result;
}

void SelectionRunController::wireRestoreBeforeRun() {
    QToolButton* button = window_.ui_.toolbar->btnUndoPodbor();
    button->setEnabled(false);
    connect(button, &QToolButton::clicked, this, &SelectionRunController::restoreInputsBeforeRun);
    auto* shortcut = new QShortcut(QKeySequence::Undo, &window_);
    connect(shortcut, &QShortcut::activated, this, &SelectionRunController::restoreInputsBeforeRun);
    // An edit line takes Ctrl+Z for its own undo; while a run can be undone, the window's comes first
    // (the line has nothing of its own to undo then: the run wrote it).
    for (QLineEdit* edit : window_.findChildren<QLineEdit*>())
        edit->installEventFilter(this);
}

bool SelectionRunController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && restoreAvailable() &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo))
        return true; // left unaccepted: the window's shortcut runs
    return QObject::eventFilter(watched, event);
}

void SelectionRunController::rememberInputsBeforeRun(const InputTexts& before) {
    const InputTexts after = window_.currentInputs(d_.inputOrder);
    if (after == before)
        return;
    inputsBeforeRun_ = before;
    inputsAfterRun_ = after;
    window_.updateButtons();
}

bool SelectionRunController::restoreAvailable() const {
    return !inputsBeforeRun_.isEmpty() && !selectionRunning();
}

void SelectionRunController::restoreInputsBeforeRun() {
    if (!restoreAvailable())
        return;
    const InputTexts before = inputsBeforeRun_;
    inputsBeforeRun_.clear();
    inputsAfterRun_.clear();
    window_.applyInputs(before);
}

void SelectionRunController::holdWindowForRun(bool hold) {
    // Only the stop button answers while a run yields to the window.
    if (hold) {
        // Disabling takes the focus away; it goes back once the values are written.
        focusBeforeRun_ = window_.focusWidget();
        heldWidgets_.clear();
        for (QWidget* w : window_.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w != window_.ui_.toolbar) {
                heldWidgets_ << qMakePair(w, w->isEnabled());
                w->setEnabled(false);
            }
        for (QToolButton* b : window_.ui_.toolbar->buttons())
            if (b != window_.ui_.toolbar->btnBreak()) {
                heldWidgets_ << qMakePair(static_cast<QWidget*>(b), b->isEnabled());
                b->setEnabled(false);
            }
    } else {
        for (const auto& [w, enabled] : std::as_const(heldWidgets_))
            w->setEnabled(enabled);
        heldWidgets_.clear();
    }
}

void SelectionRunController::showSelectionResult(const QMap<QString, long double>& values,
                                                 const selection::RunResult& result) {
    QApplication::restoreOverrideCursor();
    window_.ui_.toolbar->setSelectionRunning(false);
    holdWindowForRun(false);
    window_.session_->takeSelectionResult(values, result.combinations, result.inadmissible, result.r);
    window_.freshResult_ = window_.session_->hasResult();
    window_.redraw();
    if (focusBeforeRun_ && focusBeforeRun_->isEnabled())
        focusBeforeRun_->setFocus(Qt::OtherFocusReason);
    focusBeforeRun_ = nullptr;
}

QList<SelectionParameter> SelectionRunController::selectionOffer() const {
    return window_.session().selectionOffer();
}

void SelectionRunController::forgetRestoreOnChange() {
    // The way back lasts until an input differs from what the run left.
    if (!inputsBeforeRun_.isEmpty() && !selectionRunning() &&
        window_.currentInputs(d_.inputOrder) != inputsAfterRun_) {
        inputsBeforeRun_.clear();
        inputsAfterRun_.clear();
    }
}

} // namespace kz
