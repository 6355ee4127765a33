#include "core/calculators/plates/BodyElectrodes.h"

#include "core/common/NumberText.h"
#include "core/model/CalcOrder.h"
#include "core/model/GeometryInputs.h"
#include "core/model/LinkedPair.h"

using namespace Qt::StringLiterals;

namespace kz::body {

namespace {
const QString diameterName = u"EditDiam"_s;
const QString depthName = u"EditGlub"_s;
} // namespace

QList<InputCheck> soilChecks(InputCheck::Kind measuredResistivity) {
    using K = InputCheck::Kind;
    return {{K::Positive, u"EditPKV"_s, u"коэффициента поправки"_s},
            {K::Filled, u"ComboGrunt"_s, u"типа грунта"_s},
            {measuredResistivity, u"EditRo0"_s, u"удельного сопротивления грунта"_s}};
}

QList<HistoryCaption> soilCaptions() {
    return {{u"Тип грунта:"_s, u"Grunt"_s},
            {u"Удельное сопротивление грунта, Ом м:"_s, u"P"_s},
            {u"Коэффициент поправки:"_s, u"KP"_s}};
}

GeometryInput sizeInput(const QString& name, const QString& label, const QString& defaultText,
                        const QString& spinPrefix, const QString& historyField) {
    GeometryInput g = metreInput(name, label, defaultText, historyField, spinPrefix);
    g.selectionColour = true;
    return g;
}

GeometryInput diameterInput(const QString& label, const QString& spinPrefix, const QString& historyField) {
    return sizeInput(diameterName, label, u"0,5"_s, spinPrefix, historyField);
}

SelectionParameter sizeSelection(const QString& name, const QString& input, const QString& lower,
                                 const QString& heading, const QString& note) {
    SelectionParameter p;
    p.name = name;
    p.input = input;
    p.start = u"1"_s;
    p.end = u"5"_s;
    p.step = u"1"_s;
    p.lower = lower;
    p.recommendation = u"начальное значение меньше конечного"_s;
    p.heading = heading;
    p.note = note;
    return p;
}

SelectionParameter diameterSelection(const QString& name, const QString& lower, const QString& note) {
    return sizeSelection(name, diameterName, lower, u"D, м"_s, note);
}

void addBuriedGeometry(CalculatorDescriptor& d, GeometryInput diameter, const BuriedLabels& labels) {
    diameter.range.name = u"lblRangeD"_s;
    diameter.range.text = labels.diameterRange;
    diameter.range.hint = labels.diameterHint;
    diameter.range.follows = {depthName};
    diameter.userChangesOnly = true;
    GeometryInput depth = electrodeDepthInput(depthName, labels.depthLabel);
    depth.range.name = u"lblRangeT"_s;
    depth.range.text = labels.depthRange;
    depth.range.hint = labels.depthHint;
    depth.range.follows = {diameterName};
    depth.userChangesOnly = true;
    d.geometry = {diameter, depth};
    d.linkedParameters = true;
}

// The depth stays above half the diameter.
constexpr LinkedPair depthOverDiameter{0.5L};

bool depthRuleHolds(long double diameter, long double depth) {
    return depthOverDiameter.holds(depth, diameter);
}

QString diameterRangeText(std::optional<long double> depth) {
    if (!depth || !(*depth > 0))
        return {};
    return u"( D < "_s + formatGeneral(2 * *depth) + u" )"_s;
}

QString depthRangeText(const QString& letter, std::optional<long double> diameter) {
    if (!diameter || !(*diameter > 0))
        return {};
    return u"( "_s + letter + u" > "_s + formatGeneral(roundTo(*diameter / 2, 5)) + u" )"_s;
}

std::optional<long double> linkedDepth(long double diameter, long double depth, int decimals) {
    return depthOverDiameter.linkLarger(depth, diameter, decimals);
}

std::optional<long double> linkedDiameter(long double diameter, long double depth, int decimals) {
    // A depth of 0,05 or less leaves no diameter to move to.
    return depthOverDiameter.linkSmaller(depth, diameter, decimals);
}

BuriedBody::BuriedBody(CalculatorDescriptor description, BuriedRules rules)
    : Calculator(std::move(description)), rules_(std::move(rules)) {}

std::optional<CheckFailure> BuriedBody::checkGeometry(const CalcInputs& in) const {
    const auto diameter = in.number(diameterName);
    const auto depth = in.number(depthName);
    if (!diameter || !depth || !depthRuleHolds(*diameter, *depth))
        return CheckFailure{rules_.depthMessage, {}};
    return std::nullopt;
}

QMap<QString, QString> BuriedBody::link(const CalcInputs& in, const QString& changed) const {
    const auto diameter = in.positive(diameterName);
    const auto depth = in.positive(depthName);
    if (!diameter || !depth)
        return {};
    if (changed == diameterName) {
        if (const auto moved = linkedDepth(*diameter, *depth, rules_.linkDecimals))
            return {{depthName, formatGeneral(*moved)}};
    } else if (changed == depthName) {
        if (const auto moved = linkedDiameter(*diameter, *depth, rules_.linkDecimals))
            return {{diameterName, formatGeneral(*moved)}};
    }
    return {};
}

QString BuriedBody::rangeLabel(const CalcInputs& in, const QString& label) const {
    if (label == "lblRangeD"_L1)
        return diameterRangeText(in.positive(depthName));
    if (label == "lblRangeT"_L1)
        return depthRangeText(rules_.depthLetter, in.positive(diameterName));
    return Calculator::rangeLabel(in, label);
}

bool BuriedBody::selectionAdmissible(const CalcInputs& in) const {
    const auto diameter = in.number(diameterName);
    const auto depth = in.number(depthName);
    return diameter && depth && depthRuleHolds(*diameter, *depth);
}

void BuriedBody::selectionValueApplied(const CalcInputs& in, const QString& input,
                                       QMap<QString, long double>& values) const {
    // Only the single-parameter run moves the depth with the diameter, to hundredths.
    if (!in.singleRun || input != diameterName || !in.linking || !values.contains(depthName))
        return;
    if (const auto moved = linkedDepth(values.value(diameterName), values.value(depthName), 2))
        values.insert(depthName, *moved);
}

// The rectangle's length lies between its width and four widths: two pairs.
constexpr LinkedPair lengthOverWidth{1};
constexpr LinkedPair widthOverQuarterLength{0.25L};

bool rectangleRuleHolds(long double width, long double length) {
    return lengthOverWidth.holds(length, width) && widthOverQuarterLength.holds(width, length);
}

QString lengthRangeText(std::optional<long double> width) {
    if (!width || !(*width > 0))
        return {};
    return u"( "_s + formatGeneral(*width) + u" < b < "_s + formatGeneral(4 * *width) + u" )"_s;
}

QString widthRangeText(std::optional<long double> length) {
    if (!length || !(*length > 0))
        return {};
    return u"( "_s + formatGeneral(roundTo(*length / 4, 5)) + u" < a < "_s + formatGeneral(*length) + u" )"_s;
}

std::optional<long double> linkedWidth(long double width, long double length, int decimals,
                                       bool keepPositive) {
    std::optional<long double> a;
    if (!lengthOverWidth.holds(length, width)) {
        // Tested after rounding, unlike the depth of the buried bodies.
        const long double t = lengthOverWidth.smallerBelow(length, decimals);
        if (!keepPositive || t > 0)
            a = t;
    }
    // The second rule reads the width the first one may have written.
    if (!widthOverQuarterLength.holds(a.value_or(width), length))
        a = widthOverQuarterLength.largerAbove(length, decimals);
    return a;
}

std::optional<long double> linkedLength(long double width, long double length, int decimals,
                                        bool keepPositive) {
    std::optional<long double> b;
    if (!lengthOverWidth.holds(length, width))
        b = lengthOverWidth.largerAbove(width, decimals);
    if (!widthOverQuarterLength.holds(width, b.value_or(length))) {
        // Up to a width of 1/40 m there is no length left to move to.
        const long double t = widthOverQuarterLength.smallerBelow(width, decimals);
        if (!keepPositive || t > 0)
            b = t;
    }
    return b;
}

void reportClosing(ReportBuilder& w, const ReportSource& s) {
    w.setAlignment(ReportParagraph::Alignment::Left);
    if (s.installation.include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

SurfaceBody::SurfaceBody(CalculatorDescriptor description, Formula formula, OrderLine orderLine)
    : Calculator(std::move(description)), formula_(formula), orderLine_(orderLine) {}

std::optional<long double> SurfaceBody::compute(const CalcInputs& in, QMap<QString, QString>&) const {
    const auto p0 = in.number(u"EditRo0"_s);
    const auto kp = in.number(u"EditPKV"_s);
    const auto diameter = in.number(diameterName);
    if (!p0 || !kp || !diameter)
        return std::nullopt;
    return formula_(*p0, *kp, *diameter);
}

QStringList SurfaceBody::calcOrder(const CalcInputs& in) const {
    return {orderLine_(in.text(u"EditRo"_s), in.text(diameterName), in.text(u"EditVS1"_s))};
}

} // namespace kz::body
