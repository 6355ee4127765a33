#pragma once

#include "core/model/Calculator.h"
#include "core/model/HistoryMapping.h"
#include "core/selection/Selection.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <functional>
#include <optional>

class QMenu;
class QWidget;

namespace kz {

class CalculatorWindow;
class DataModule;

// Parameter selection on a calculator window: the run dialog's nested walk, one input over its
// stored range (from the inputs' popup menu too), the window held while a run goes, and the way
// back to the inputs as they were before the last run.
class SelectionRunController : public QObject {
    Q_OBJECT
public:
    SelectionRunController(CalculatorWindow& window, const Calculator& calculator, DataModule& data);

    // The popup on the inputs that can be selected, the toolbar's buttons, the way back.
    void wire();

    // The run dialog, then the nested walk over its rows until the resistance meets the required
    // value.
    void runSelection();
    // One input over its stored range until the resistance meets the permissible one, with data
    // the table and chart afterwards.
    void selectParameter(const QString& name, bool withData);
    // The popup's commands on the input it was opened on; nothing on any other input.
    void selectParameterAtPopup();
    void selectParameterWithDataAtPopup();
    // The selection settings of this calculator, at the parameter of the focused input.
    void showSelectionSettings();
    // The run dialog's offer: the calculator's parameters with the soil's range filled in.
    QList<SelectionDescriptor> selectionDescriptors() const;

    // The inputs as they were before the last selection run that changed them, brought back
    // (toolbar or Ctrl+Z) until an input changes.
    void restoreInputsBeforeRun();
    bool restoreAvailable() const;
    // Forgets the way back once an input differs from what the run left.
    void forgetRestoreOnChange();

    QMenu* popup() const { return popup_; }
    bool selectionRunning() const { return runValues_ != nullptr; }
    // During a run: whether it is the single-parameter one (its conditions may differ).
    bool singleParameterRun() const { return selectionRunning() && singleRun_; }

private:
    void wireSelection();
    void wireRestoreBeforeRun();
    QList<SelectionParameter> selectionOffer() const;
    const SelectionParameter* selectionParameter(const QString& name) const;
    // Runs the levels with the gauge, the stop button and the window held; writes the last
    // combination back and remembers the inputs before (the way back). nullopt when the window's
    // values cannot start a run.
    std::optional<selection::RunResult> runLevels(
        const QList<selection::Level>& levels, long long gaugeMax,
        const std::function<std::optional<long double>()>& required,
        const std::function<void(long double, std::optional<long double>, const QMap<QString, long double>&)>&
            tried,
        const InputTexts& before);
    void holdWindowForRun(bool hold);
    void rememberInputsBeforeRun(const InputTexts& before);
    void showSelectionResult(const QMap<QString, long double>& values, const selection::RunResult& result);
    // Ctrl+Z in an edit line goes to the window while a run can be undone.
    bool eventFilter(QObject* watched, QEvent* event) override;

    CalculatorWindow& window_;
    const Calculator& calc_;
    const CalculatorDescriptor& d_;
    DataModule& data_;
    QMenu* popup_ = nullptr;
    QWidget* popupOwner_ = nullptr;
    const QMap<QString, long double>* runValues_ = nullptr;
    QList<QPair<QWidget*, bool>> heldWidgets_;
    QPointer<QWidget> focusBeforeRun_;
    bool singleRun_ = false;
    InputTexts inputsBeforeRun_;
    InputTexts inputsAfterRun_;
};

} // namespace kz
