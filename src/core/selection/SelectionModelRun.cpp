#include "core/selection/SelectionModelRun.h"

#include "core/model/CalcCommon.h"
#include "core/rules/SoilRules.h"

namespace kz {

SelectionModelRun::SelectionModelRun(const Calculator& calculator, CalcInputs inputs,
                                     QMap<QString, long double> values, const QStringList& soilFrames)
    : calc_(calculator), inputs_(std::move(inputs)), values_(std::move(values)) {
    inputs_.run = &values_;
    // Keys made once: a run derives p for every value it tries.
    for (const QString& frame : soilFrames)
        frames_ << Frame{frame + QStringLiteral("EditRo0"), frame + QStringLiteral("EditPKV"),
                         frame + QStringLiteral("EditRo")};
    // The names offered now (a calculator may name a parameter by the current inputs) and those
    // of the description.
    for (const SelectionParameter& p : calc_.description().selection.parameters)
        inputOf_.insert(p.name, p.input);
    for (const SelectionParameter& p : calc_.selectionOffer(inputs_))
        inputOf_.insert(p.name, p.input);
}

void SelectionModelRun::derive() {
    calc_.deriveSelectionValues(values_);
    for (const Frame& f : std::as_const(frames_)) {
        const auto p0 = values_.constFind(f.p0);
        const auto kp = values_.constFind(f.kp);
        if (p0 != values_.cend() && kp != values_.cend())
            values_.insert(f.p, calculatedResistivity(p0.value(), kp.value()));
    }
}

void SelectionModelRun::apply(const QString& name, long double value) {
    const auto input = inputOf_.constFind(name);
    if (input != inputOf_.cend()) {
        values_.insert(input.value(), value);
        calc_.selectionValueApplied(inputs_, input.value(), values_);
    }
    derive();
}

std::optional<long double> SelectionModelRun::resistance() const {
    if (!calc_.selectionAdmissible(inputs_))
        return std::nullopt;
    QMap<QString, QString> shown;
    const auto r = calc_.compute(inputs_, shown);
    if (!r || !isShowableResult(*r) || !(*r > 0))
        return std::nullopt;
    return r;
}

std::optional<QString> SelectionModelRun::refusal() const {
    if (!calc_.selectionAdmissible(inputs_))
        return std::nullopt;
    return calc_.selectionRefusal(inputs_);
}

selection::RunResult SelectionModelRun::run(const QList<selection::Level>& levels,
                                            selection::RunHooks hooks) {
    hooks.apply = [this](const QString& name, long double value) { apply(name, value); };
    hooks.resistance = [this] { return resistance(); };
    hooks.refusal = [this] { return refusal(); };
    return selection::runSelection(levels, hooks);
}

} // namespace kz
