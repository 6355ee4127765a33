#include "core/model/Calculator.h"

#include <cmath>

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"

using namespace Qt::StringLiterals;

namespace kz {

std::optional<long double> CalcInputs::number(const QString& name) const {
    if (run) {
        const auto it = run->constFind(name);
        if (it != run->cend())
            return it.value();
    }
    return parseNumber(texts.value(name));
}

std::optional<long double> CalcInputs::positive(const QString& name) const {
    const auto v = number(name);
    return v && *v > 0 ? v : std::nullopt;
}

std::pair<double, double> CalcInputs::soilRange(const QString& prefix, int index) const {
    if (const auto it = soilRanges.constFind(prefix); it != soilRanges.cend())
        return it.value();
    return index == 0 ? std::pair{pMin, pMax} : std::pair{lowerPMin, lowerPMax};
}

std::optional<long double> CalcInputs::diameterOf(const QString& prefix) const {
    if (const auto it = diameters.constFind(prefix); it != diameters.cend())
        return it.value();
    return prefix.isEmpty() ? diameter : std::nullopt;
}

QString filledMessage(const QString& subject) {
    return u"Введите значение "_s + subject + u'.';
}

std::optional<QString> positiveMessage(const QString& text, const QString& subject) {
    if (text.isEmpty())
        return filledMessage(subject);
    const auto v = parseNumber(text);
    if (!v)
        return u"\""_s + echoedText(text) + u"\" - некорректное значение для "_s + subject + u'.';
    if (*v <= 0)
        return u"Значение "_s + subject + u" должно быть больше 0."_s;
    return std::nullopt;
}

QString nonPositiveResistivityMessage() {
    return u"Ошибка. Расчетное удельное сопротивление грунта p = p0 * Кп получается не больше 0. "
           u"Проверьте удельное сопротивление грунта и коэффициент поправки."_s;
}

QString nonPositiveResultMessage() {
    return u"Ошибка. Сопротивление растеканию получается не больше 0. Проверьте исходные данные."_s;
}

QString diameterMissingMessage() {
    return u"Введите значение диаметра заземлителя."_s;
}

Calculator::Calculator(CalculatorDescriptor description) : d_(completeDescriptor(std::move(description))) {}

Calculator::~Calculator() = default;

QMap<QString, QString> Calculator::derive(const CalcInputs&, const QString&) const {
    return {};
}

std::optional<CheckFailure> Calculator::check(const CalcInputs& in) const {
    for (const InputCheck& c : d_.checks) {
        const QString text = in.text(c.input);
        if (c.kind == InputCheck::Kind::Filled) {
            if (text.isEmpty())
                return CheckFailure{filledMessage(c.subject), c.input};
        } else if (const auto message = positiveMessage(text, c.subject)) {
            return CheckFailure{*message, c.input};
        }
    }
    if (d_.soilRangeCheck && d_.soilFrame) {
        for (int i = 0; i < d_.soilFrames.size(); ++i) {
            const QString& prefix = d_.soilFrames[i].prefix;
            const auto [min, max] = in.soilRange(prefix, i);
            const auto v = in.number(prefix + u"EditRo0"_s);
            // The range message leaves the focus where it is.
            if (!v)
                return CheckFailure{soilRangeMessage(min, max), {}};
            if (const auto error = soilRangeError(*v, min, max))
                return CheckFailure{*error, {}};
            // A calculator may check its own geometry between its soil frames.
            if (auto failure = checkAfterSoil(in, i))
                return failure;
        }
    }
    return checkGeometry(in);
}

Evaluation Calculator::evaluate(const CalcInputs& in) const {
    Evaluation e;
    if (auto failure = check(in)) {
        e.failure = std::move(failure);
        return e;
    }
    if (d_.soilFrame) {
        // A coefficient small enough rounds the resistivity away: nothing is computed from it.
        for (const SoilFrameSetup& f : d_.soilFrames) {
            const QString& frame = f.prefix;
            const auto p0 = in.number(frame + u"EditRo0"_s);
            const auto kp = in.number(frame + u"EditPKV"_s);
            if (p0 && kp && !(calculatedResistivity(*p0, *kp) > 0)) {
                e.failure = CheckFailure{nonPositiveResistivityMessage(), frame + u"EditPKV"_s};
                return e;
            }
        }
    }
    const auto r = compute(in, e.shown);
    if (!r) {
        e.failure = CheckFailure{missingResultMessage(in), {}};
        e.shown.clear();
        return e;
    }
    if (!isShowableResult(*r)) {
        e.failure = CheckFailure{resultOutOfRangeMessage(), {}};
        e.shown.clear();
        return e;
    }
    if (!(*r > 0)) {
        e.failure = CheckFailure{nonPositiveResultMessage(), {}};
        e.shown.clear();
        return e;
    }
    e.r = r;
    return complete(in, std::move(e));
}

Evaluation Calculator::present(const CalcInputs& in, long double r) const {
    Evaluation e;
    compute(in, e.shown);
    e.r = r;
    return complete(in, std::move(e));
}

Evaluation Calculator::complete(const CalcInputs& in, Evaluation e) const {
    e.resultText = resultText(*e.r);
    CalcInputs after = in;
    for (auto it = e.shown.cbegin(); it != e.shown.cend(); ++it)
        after.texts.insert(it.key(), it.value());
    after.texts.insert(QStringLiteral("EditVS1"), e.resultText);
    e.order = calcOrder(after);
    e.warnings = weakConditionWarnings(after);
    e.order << e.warnings;
    return e;
}

void writeReport(const CalculatorDescriptor& d, ReportBuilder& w, const ReportSource& s) {
    d.report(w, s);
    if (s.warnings.isEmpty())
        return;
    w.setAlignment(ReportParagraph::Alignment::Left);
    for (const QString& warning : s.warnings)
        w.WordText(u"Примечание. "_s + warning + reportCr);
}

WeakCondition inputsCondition(const QString& condition, const QString& ratioName, const QString& larger,
                              long double largerFactor, const QString& smaller, long double smallerFactor) {
    return {condition, ratioName, [=](const CalcInputs& in) -> std::optional<long double> {
                const auto x = in.positive(larger);
                const auto y = in.positive(smaller);
                if (!x || !y)
                    return std::nullopt;
                return *x * largerFactor / (*y * smallerFactor);
            }};
}

WeakCondition diameterCondition(const QString& condition, const QString& ratioName, const QString& larger,
                                const QString& framePrefix) {
    return {condition, ratioName, [=](const CalcInputs& in) -> std::optional<long double> {
                const auto x = in.positive(larger);
                const auto d = in.diameterOf(framePrefix);
                if (!x || !d || !(*d > 0))
                    return std::nullopt;
                return *x / *d;
            }};
}

QStringList Calculator::weakConditionWarnings(const CalcInputs& in) const {
    QStringList warnings;
    for (const WeakCondition& c : d_.weakConditions) {
        const auto ratio = c.ratio(in);
        if (!ratio || !std::isfinite(*ratio) || !(*ratio > 0))
            continue;
        // Judged as shown: a ratio that shows as 10 holds.
        const long double shown = roundTo(*ratio, 1);
        if (!(shown < 10))
            continue;
        warnings << u"Условие применения формулы "_s + c.condition + u" выполняется слабо ("_s + c.ratioName +
                        u" = "_s + formatGeneral(shown) + u"): результат приближенный."_s;
    }
    return warnings;
}

QMap<QString, QString> Calculator::link(const CalcInputs&, const QString&) const {
    return {};
}

QString Calculator::rangeLabel(const CalcInputs&, const QString& label) const {
    for (const GeometryInput& g : d_.geometry)
        if (g.range.name == label)
            return g.range.text;
    return {};
}

QString Calculator::resultText(long double r) const {
    // A result below a hundredth keeps its significant digits whatever the mask.
    return d_.resultMask.isEmpty() || (r > 0 && r < 0.01L) ? formatGeneral(r) : formatMask(r, d_.resultMask);
}

QStringList Calculator::disabledInputs(const CalcInputs&) const {
    return {};
}

std::optional<CheckFailure> Calculator::checkGeometry(const CalcInputs&) const {
    return std::nullopt;
}

QList<SelectionParameter> Calculator::selectionOffer(const CalcInputs&) const {
    return d_.selection.parameters;
}

Calculator::Preparation Calculator::prepareSingleSelection(const CalcInputs&,
                                                           const SelectionParameter&) const {
    return {};
}

bool Calculator::selectionAdmissible(const CalcInputs& in) const {
    return !checkGeometry(in);
}

std::optional<QString> Calculator::selectionRefusal(const CalcInputs&) const {
    return std::nullopt;
}

std::optional<std::pair<int, int>> Calculator::spinLimits(const CalcInputs&, const QString&) const {
    return std::nullopt;
}

std::optional<CheckFailure> Calculator::checkAfterSoil(const CalcInputs&, int) const {
    return std::nullopt;
}

void Calculator::deriveSelectionValues(QMap<QString, long double>&) const {}

void Calculator::selectionValueApplied(const CalcInputs&, const QString&, QMap<QString, long double>&) const {
}

namespace {
// A text that is no number is left to the stepping, which reports it; an empty one stays empty.
// Binary noise removed: 5,1 − 0,1 is 5, not a hair below it.
bool withinStepBound(const CalcInputs& in, const QString& input, double step,
                     const std::optional<double>& bound, int direction) {
    if (!bound)
        return true;
    const auto v = parseNumber(in.text(input));
    if (!v)
        return !in.text(input).isEmpty();
    const long double next = roundTo(*v + direction * step, 10);
    return direction < 0 ? next >= *bound : next <= *bound;
}
} // namespace

bool Calculator::allowStepDown(const CalcInputs& in, const QString& input, double step) const {
    for (const GeometryInput& g : d_.geometry)
        if (g.name == input)
            return withinStepBound(in, input, step, g.steps.floor, -1);
    return true;
}

bool Calculator::allowStepUp(const CalcInputs& in, const QString& input, double step) const {
    for (const GeometryInput& g : d_.geometry)
        if (g.name == input)
            return withinStepBound(in, input, step, g.steps.ceiling, 1);
    return true;
}

QMap<QString, QString> Calculator::userChoice(const CalcInputs&, const QString&) const {
    return {};
}

HistoryLayout Calculator::historyLayout(const CalcInputs&) const {
    return d_.history;
}

int Calculator::selectionKind(const CalcInputs&) const {
    return d_.selection.kindCode;
}

std::optional<CheckFailure> Calculator::selectionPrecondition(const CalcInputs&) const {
    return std::nullopt;
}

GridCommand Calculator::gridCommand(const CalcInputs&, const QString&) const {
    return {};
}

QString Calculator::noResultMessage() const {
    return resultOutOfRangeMessage();
}

QString Calculator::missingResultMessage(const CalcInputs&) const {
    return noResultMessage();
}

} // namespace kz
