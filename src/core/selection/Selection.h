#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Parameter selection without any window: what the run dialog offers and checks, and the nested
// walk over the chosen ranges that stops at the first combination meeting the required resistance.
namespace kz {

// One parameter the run dialog offers: its name (also its key in the grid, the run and the
// stored settings), default start, end and step, "double" or "integer", the limits (empty for
// none) and the advice shown beside the grid.
struct SelectionDescriptor {
    QString name;
    QString start;
    QString end;
    QString step;
    QString type;
    QString lower;
    QString upper;
    QString recommendation;
    // The standard device's dialog words its hints and limit messages shorter: "0..9",
    // "min..max", "не менее 1", "больше 0" for a parameter without limits.
    bool compactTexts = false;

    bool isInteger() const { return type == QLatin1String("integer"); }
};

// A row of the run dialog's grid: name, start, end, step as typed.
struct SelectionRow {
    QString name;
    QString start;
    QString end;
    QString step;
};

namespace selection {

// The hint texts under the grid for the parameter in the current row.
QString allowedCharsText(const SelectionDescriptor& d);
QString rangeText(const SelectionDescriptor& d);

// Whether a key typed into a start, end or step cell passes: digits (and the comma for a real
// parameter); backspace and tab always.
bool acceptsKey(const SelectionDescriptor& d, QChar key);

// "Ошибка. "<text>" - недопустимое числовое значение."
QString notANumberMessage(const QString& text);

// The first fault of the grid on OK: every start, end and step a number above 0 (column by
// column, row by row), then every start and end within its parameter's limits (row by row).
// Column 1..3 as in the grid; row from 0 over the given rows.
struct GridFault {
    int row = 0;
    int column = 0;
    QString message;
};
// Without limits only the numbers are checked.
std::optional<GridFault> checkGrid(const QList<SelectionRow>& rows,
                                   const QList<SelectionDescriptor>& descriptors, bool limits = true);

// How many combinations the rows give: the product over the rows of round(|end − start| ÷ step) + 1.
// 0 when a row is not a valid range.
long long selectionCount(const QList<SelectionRow>& rows);

// A value produced by adding a step, rounded to the step's precision (0,1 → tenths).
long double roundToStep(long double value, long double step);

// One nested level of a run: the outermost first.
struct Level {
    QString name;
    long double start = 0;
    long double end = 0;
    long double step = 0;
};
// Levels from checked grid rows; nullopt when a cell is not a number.
std::optional<QList<Level>> levelsOf(const QList<SelectionRow>& rows);

// What a run asks of the calculator.
struct RunHooks {
    // Sets the parameter to the (rounded) value and recomputes what follows from it.
    std::function<void(const QString& name, long double value)> apply;
    // The resistance of the combination now set; nullopt when it violates the formula's conditions.
    std::function<std::optional<long double>()> resistance;
    // Before the resistance: a failed input check of the combination, which stops the run with its
    // message (unlike an inadmissible one, which is skipped). None: nothing refuses.
    std::function<std::optional<QString>()> refusal;
    // The required resistance, read afresh for every combination; nullopt never matches.
    std::function<std::optional<long double>()> required;
    std::function<bool()> breakRequested;
    // Lets the window breathe between values (the stop button must stay clickable).
    std::function<void()> yield;
    // One more value tried at some level: the progress gauge.
    std::function<void()> advance;
    // Every combination computed, with its resistance or nullopt when inadmissible.
    std::function<void(long double value, std::optional<long double> r)> tried;
};

enum class Outcome {
    Found,    // a combination met the required resistance
    Stopped,  // the stop button
    Exhausted, // every combination tried without success (or none could be)
    Refused    // a combination failed an input check: the run stops and says why
};

struct RunResult {
    Outcome outcome = Outcome::Exhausted;
    int combinations = 0;         // combinations computed
    bool inadmissible = false;    // the last one violated the formula's conditions
    std::optional<long double> r; // the resistance of the last admissible one
    QString refusal;              // the message of a refused combination
};

// Walks the levels in nested loops, the first outermost, each from its start towards its end
// (the step turned to point there) and stops at the first combination whose resistance does not
// exceed the required one, or when a stop is requested after a computed combination. A level
// whose step is 0 tries nothing.
RunResult runSelection(const QList<Level>& levels, const RunHooks& hooks);

// The gauge maximum of a single-parameter run: round(|end − start| ÷ step + 1), 0 for a zero step.
long long singleRunCount(long double start, long double end, long double step);

} // namespace selection
} // namespace kz
