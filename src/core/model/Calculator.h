#pragma once

#include "core/model/CalculatorDescriptor.h"
#include "core/model/CoefficientTables.h"
#include "core/model/ReportModel.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// A calculator without any window: its description and its rules over a snapshot of the inputs.
// The calculator window, the batch mode and a selection run all drive the same object.
namespace kz {

// The inputs of one calculation as values: the texts of the calculator's own inputs and of the
// frames' fields by object name ("EditDlina", "EditRo0", "EditRo", "cmbSech", "cmbDiam"), with what
// the frames know beyond their texts.
struct CalcInputs {
    QHash<QString, QString> texts; // looked up by name only: a hash is built faster than a map
    // During a selection run: the values the run has set, read before the texts.
    const QMap<QString, long double>* run = nullptr;
    bool singleRun = false;
    // The diameter the formulas use (the equivalent one for angle and strip steel); nullopt
    // without a construction or a size.
    std::optional<long double> diameter;
    // The diameter of every construction frame, by its prefix ("" for the first one).
    QMap<QString, std::optional<long double>> diameters;
    // The admissible resistivity range of every soil frame's soil, by its prefix.
    QMap<QString, std::pair<double, double>> soilRanges;
    // The admissible resistivity range of the chosen soil.
    double pMin = 0;
    double pMax = 0;
    // That of the lower layer's soil in two-layer earth.
    double lowerPMin = 0;
    double lowerPMax = 0;
    InstallationValues installation;
    // The toolbar's linked-parameters toggle.
    bool linking = false;
    // The reference tables of coefficients; none: a look-up finds nothing.
    const CoefficientTables* tables = nullptr;

    QString text(const QString& name) const { return texts.value(name); }
    bool filled(const QString& name) const { return !texts.value(name).isEmpty(); }
    // The number of an input: a run's value first, then its text; nullopt when it is no number.
    std::optional<long double> number(const QString& name) const;
    // The number when it is above 0.
    std::optional<long double> positive(const QString& name) const;
    bool selectionRunning() const { return run != nullptr; }
    // The range of the soil frame with this prefix; the first two fall back to pMin/pMax and
    // lowerPMin/lowerPMax.
    std::pair<double, double> soilRange(const QString& prefix, int index) const;
    std::optional<long double> diameterOf(const QString& prefix) const;
};

// The calculator's report, then the conditions that hold only weakly.
void writeReport(const CalculatorDescriptor& d, ReportBuilder& w, const ReportSource& s);

// "X >> Y" for two inputs, each times its factor ("L >> 4T": L, 1 over T, 4).
WeakCondition inputsCondition(const QString& condition, const QString& ratioName, const QString& larger,
                              long double largerFactor, const QString& smaller, long double smallerFactor);
// "L >> D": an input over the diameter of the construction frame with the prefix given.
WeakCondition diameterCondition(const QString& condition, const QString& ratioName, const QString& larger,
                                const QString& framePrefix = {});

// The first failed check: its message and the input the focus goes back to.
struct CheckFailure {
    CheckFailure() = default;
    CheckFailure(QString message_, QString focus_ = {}, QMap<QString, QString> shown_ = {})
        : message(std::move(message_)), focus(std::move(focus_)), shown(std::move(shown_)) {}

    QString message;
    QString focus; // an input, or a cell of a grid (RowGridText.h)
    // Inputs the check rewrote before it failed (a grid's moved cells), by name.
    QMap<QString, QString> shown;
};

// What a grid's button did: a failure, or a message and the inputs it rewrote.
struct GridCommand {
    std::optional<CheckFailure> failure;
    QString message;
    QMap<QString, QString> shown;
};

struct Evaluation {
    std::optional<long double> r;
    QString resultText;
    QStringList order; // the calculation order, a line each, the warnings last
    // Conditions of the formula that hold only weakly: the result is shown, with these.
    QStringList warnings;
    // Fields the result sets beside the inputs (the resistivity the formula used).
    QMap<QString, QString> shown;
    std::optional<CheckFailure> failure;
    bool ok() const { return r.has_value(); }
};

class Calculator {
public:
    explicit Calculator(CalculatorDescriptor description);
    virtual ~Calculator();
    Calculator(const Calculator&) = delete;
    Calculator& operator=(const Calculator&) = delete;

    const CalculatorDescriptor& description() const { return d_; }

    // Derived values that follow a change of the named input (empty: activation), by object name.
    virtual QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const;
    // The ordered input checks: the common soil and construction ones, the soil range, then the
    // calculator's own. nullopt when every check passes.
    std::optional<CheckFailure> check(const CalcInputs& in) const;
    // The checks, the formula, the result text and the calculation order.
    Evaluation evaluate(const CalcInputs& in) const;
    // "Условие применения формулы … выполняется слабо (…): результат приближенный." for each
    // ">>" condition whose ratio is below ten.
    QStringList weakConditionWarnings(const CalcInputs& in) const;
    // A result known for these inputs (a selection run's) with its texts and calculation order.
    Evaluation present(const CalcInputs& in, long double r) const;
    // With linking on, after the user changed an input: moves the inputs that depend on it.
    // Returns the inputs it wrote, by name.
    virtual QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const;
    // The text of a range label for the current inputs; the design text by default.
    virtual QString rangeLabel(const CalcInputs& in, const QString& label) const;
    // The text of the result in its mask.
    QString resultText(long double r) const;

    // The checks after the common ones: the device's geometry.
    virtual std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const;
    // Checks that run right after the range check of the soil frame number index (from 0).
    virtual std::optional<CheckFailure> checkAfterSoil(const CalcInputs& in, int index) const;
    // The resistance for checked inputs; nullopt when it gives nothing to show. shown receives
    // the fields the formula sets beside the result.
    virtual std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const = 0;
    // The calculation order of the result just computed; in holds the result's text as "EditVS1"
    // and what compute set.
    virtual QStringList calcOrder(const CalcInputs& in) const = 0;

    // Selection: the parameters the run dialog offers now.
    virtual QList<SelectionParameter> selectionOffer(const CalcInputs& in) const;
    // Before a single-parameter run: a message that refuses it, or the inputs to clear.
    struct Preparation {
        std::optional<QString> refusal;
        QStringList cleared;
    };
    virtual Preparation prepareSingleSelection(const CalcInputs& in, const SelectionParameter& p) const;
    // Before the run dialog opens: a check that refuses the run (its message and focus).
    virtual std::optional<CheckFailure> selectionPrecondition(const CalcInputs& in) const;
    // During a run: whether the combination set satisfies the formula's conditions.
    virtual bool selectionAdmissible(const CalcInputs& in) const;
    // During a run, for an admissible combination: a failed input check that stops the run (its
    // message); nullopt lets the run go on. None by default.
    virtual std::optional<QString> selectionRefusal(const CalcInputs& in) const;
    // The limits of a spin edit for the current inputs; nullopt: its declared ones.
    virtual std::optional<std::pair<int, int>> spinLimits(const CalcInputs& in, const QString& spin) const;
    // The values that follow from those a run has just set (by input name).
    virtual void deriveSelectionValues(QMap<QString, long double>& values) const;
    // During a run, after it set an input: values the calculator moves with it.
    virtual void selectionValueApplied(const CalcInputs& in, const QString& input,
                                       QMap<QString, long double>& values) const;
    // Inputs that the current inputs make inapplicable: the window disables them.
    virtual QStringList disabledInputs(const CalcInputs& in) const;
    // Whether a step button of an input may step from the current value; by default within the
    // input's declared step bounds.
    virtual bool allowStepDown(const CalcInputs& in, const QString& input, double step) const;
    virtual bool allowStepUp(const CalcInputs& in, const QString& input, double step) const;
    // After the user chose an item of a list (a picture): the inputs the choice moves with it.
    // Values set by the program (history, paste, batch) move nothing.
    virtual QMap<QString, QString> userChoice(const CalcInputs& in, const QString& input) const;
    // A button under a grid of rows (RowGridSetup) that is not the one emptying it.
    virtual GridCommand gridCommand(const CalcInputs& in, const QString& button) const;

    // The history kind, name and captions for the current inputs (a kind code per type); the
    // description's by default.
    virtual HistoryLayout historyLayout(const CalcInputs& in) const;
    // The kind code of the stored selection settings for the current inputs.
    virtual int selectionKind(const CalcInputs& in) const;

protected:
    // Said when compute gives no result for inputs that passed every check. Empty: the result
    // fields are emptied without a word (a coefficient the tables do not hold).
    virtual QString noResultMessage() const;
    // The same for these inputs (which coefficient was not found); by default noResultMessage().
    virtual QString missingResultMessage(const CalcInputs& in) const;

private:
    // The result's text, the fields the formula shows and the calculation order.
    Evaluation complete(const CalcInputs& in, Evaluation e) const;

    CalculatorDescriptor d_;
};

// The messages of the common checks.
QString filledMessage(const QString& subject);
// Empty, not a number or not above 0; nullopt when the text passes.
std::optional<QString> positiveMessage(const QString& text, const QString& subject);
// A resistivity or resistance that is not above 0 is no result.
QString nonPositiveResistivityMessage();
QString nonPositiveResultMessage();
// "Введите значение диаметра заземлителя.": a construction without a usable size.
QString diameterMissingMessage();

} // namespace kz
