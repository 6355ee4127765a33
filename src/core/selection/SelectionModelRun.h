#pragma once

#include "core/model/Calculator.h"
#include "core/selection/Selection.h"

#include <QHash>
#include <QMap>
#include <QStringList>

// A selection run over a calculator's rules alone: the values the run sets live in a map by input
// name, over one snapshot of the other inputs taken when the run starts (nothing else changes
// while it runs). The calculator window and the benchmarks drive the same object.
namespace kz {

class SelectionModelRun {
public:
    // values: the starting values of the inputs the run may set (the window's numbers); soilFrames:
    // the prefixes of the soil frames whose calculated resistivity follows their p0 and Kп
    // ("" for the soil frame, "pFrame1." for the lower layer's).
    SelectionModelRun(const Calculator& calculator, CalcInputs inputs, QMap<QString, long double> values,
                      const QStringList& soilFrames = {QString()});
    SelectionModelRun(const SelectionModelRun&) = delete;
    SelectionModelRun& operator=(const SelectionModelRun&) = delete;

    // Walks the levels (see selection::runSelection). The model supplies apply, resistance and refusal;
    // required, breakRequested, yield, advance and tried come from the caller.
    selection::RunResult run(const QList<selection::Level>& levels, selection::RunHooks hooks);

    // The values as the run left them, the derived ones included.
    const QMap<QString, long double>& values() const { return values_; }
    QMap<QString, long double>& values() { return values_; }
    // The inputs the calculator sees during the run (their run pointer is values()).
    const CalcInputs& inputs() const { return inputs_; }

    // The values that follow those set: the calculator's derived ones and each frame's p.
    void derive();
    // Sets a parameter (by its name in the run dialog) and what follows from it.
    void apply(const QString& name, long double value);
    // The resistance of the values now set; nullopt when they violate the formula's conditions.
    std::optional<long double> resistance() const;
    // The message of an admissible combination the calculator's checks refuse: the run stops.
    std::optional<QString> refusal() const;

private:
    struct Frame {
        QString p0;
        QString kp;
        QString p;
    };

    const Calculator& calc_;
    CalcInputs inputs_;
    QMap<QString, long double> values_;
    QList<Frame> frames_;
    // Parameter name → the input it sets.
    QHash<QString, QString> inputOf_;
};

} // namespace kz
