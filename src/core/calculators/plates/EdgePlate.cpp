#include "core/calculators/plates/EdgePlate.h"

#include "core/calculators/plates/BodyElectrodes.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::edgeplate {

namespace {
bool depthRuleHolds(long double width, long double depth) {
    return 2 * depth >= width;
}
} // namespace

QList<GeometryInput> geometry(const QString& lengthDefault, const QString& widthDefault,
                              const QString& lengthRange, const QString& widthRange,
                              const QString& lengthField, const QString& widthField,
                              const QString& depthField) {
    GeometryInput length = body::sizeInput(lengthName, u"b - длина пластины, м:"_s, lengthDefault,
                                           u"SpinButtonB"_s, lengthField);
    length.range.name = u"lblRangeB"_s;
    length.range.text = lengthRange;
    length.range.hint =
        u"Диапазон допустимых значений длины пластины для текущих значений ширины пластины и глубины заложения"_s;
    length.range.follows = {widthName};
    length.userChangesOnly = true;
    GeometryInput width =
        body::sizeInput(widthName, u"a - ширина пластины, м:"_s, widthDefault, u"SpinButtonA"_s, widthField);
    width.range.name = u"lblRangeA"_s;
    width.range.text = widthRange;
    width.range.hint =
        u"Диапазон допустимых значений ширины пластины для текущих значений длины пластины и глубины заложения"_s;
    width.range.follows = {lengthName};
    width.userChangesOnly = true;
    GeometryInput depth =
        body::sizeInput(depthName, u"Тo - глубина заложения, м:"_s, u"0,7"_s, u"SpinButtonT"_s, depthField);
    depth.selectionColour = false;
    depth.range.name = u"lblRangeTo"_s;
    depth.range.text = u"( To >= 0,25 )"_s;
    depth.range.hint =
        u"Диапазон допустимых значений глубины заложения для текущих значений длины и ширины пластины"_s;
    depth.range.follows = {widthName};
    depth.userChangesOnly = true;
    return {length, width, depth};
}

QList<InputCheck> geometryChecks() {
    using K = InputCheck::Kind;
    return {{K::Positive, lengthName, u"длины пластины"_s},
            {K::Positive, widthName, u"ширины пластины"_s},
            {K::Positive, depthName, u"глубины заложения"_s}};
}

QList<SelectionParameter> sizeSelections() {
    const QString lengthNote = u"b, м - длина пластины, м"_s;
    // The note starts with a Cyrillic а under the heading's Latin a.
    const QString widthNote = u"а, м - ширина пластины, м"_s;
    const SelectionColumn depth{depthName, u"Tо, м"_s, u"Tо, м - глубина заложения, м"_s};
    SelectionParameter byLength =
        body::sizeSelection(u"Длина пластины, м"_s, lengthName, u"0,5"_s, u"b, м"_s, lengthNote);
    byLength.columns = {{widthName, u"a, м"_s, widthNote}, depth};
    SelectionParameter byWidth =
        body::sizeSelection(u"Ширина пластины, м"_s, widthName, u"0,5"_s, u"a, м"_s, widthNote);
    byWidth.columns = {{lengthName, u"b, м"_s, lengthNote}, depth};
    return {byLength, byWidth};
}

long double resistance(long double p, long double width, long double length, long double depth) {
    // The plate as a strip of length b and width a, R = p/(2πb)·ln(4b/a), and its image in the
    // surface at 2To: the mutual resistance of two parallel lines of length b at that distance.
    constexpr long double pi = std::numbers::pi_v<long double>;
    const long double twoDepth = 2 * depth;
    const long double diagonal = std::sqrt(length * length + twoDepth * twoDepth);
    const long double image = std::log((length + diagonal) / twoDepth) - (diagonal - twoDepth) / length;
    return roundResistance((std::log(4 * length / width) + image) * (p / 2 / pi / length));
}

namespace {
// "[Ln(4*b/a) + Ln((b + √(b*b + 4*To*To)) / (2*To)) - (√(b*b + 4*To*To) - 2*To) / b]" with the texts given.
QString bracket(const QString& a, const QString& b, const QString& to) {
    const QString root = u"√("_s + b + u'*' + b + u" + 4*"_s + to + u'*' + to + u')';
    return u"[Ln(4*"_s + b + u'/' + a + u") + Ln(("_s + b + u" + "_s + root + u") / (2*"_s + to +
           u")) - ("_s + root + u" - 2*"_s + to + u") / "_s + b + u']';
}
} // namespace

QString formulaText(const QString& resistivity) {
    return u"Расчетная формула:   R = "_s + resistivity + u" / (2*П*b) * "_s +
           bracket(u"a"_s, u"b"_s, u"To"_s) + u", Ом"_s;
}

QString calcOrderLine(const QString& ro, const QString& width, const QString& length, const QString& depth,
                      const QString& r) {
    return u"R = "_s + ro + u" / (2*3,14*"_s + length + u") * "_s + bracket(width, length, depth) +
           oneLineEnding(r);
}

void writeFormula(ReportBuilder& w, const ReportSource& s, void (*writeSymbol)(ReportBuilder&),
                  const QString& resistivityText) {
    const QString a = s.text(widthName);
    const QString b = s.text(lengthName);
    const QString to = s.text(depthName);
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = "_s);
    writeSymbol(w);
    w.WordText(u" / (2*П*b) * "_s + bracket(u"a"_s, u"b"_s, u"To"_s) + u", Ом;"_s + reportCr);
    w.WordText(u"R = "_s + resistivityText + u"/(2*3,14*"_s + b + u") * "_s + bracket(a, b, to) +
               multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
}

std::optional<CheckFailure> EdgePlate::checkGeometry(const CalcInputs& in) const {
    const auto width = in.number(widthName);
    const auto length = in.number(lengthName);
    const auto depth = in.number(depthName);
    if (!width || !depth || !depthRuleHolds(*width, *depth))
        return CheckFailure{
            u"Ошибка. Двойное значение глубины заложения должно быть больше либо равно ширине пластины."_s,
            {}};
    if (!length || !body::rectangleRuleHolds(*width, *length))
        return CheckFailure{u"Ошибка. Длина прямоугольной пластины должна быть больше  ее ширины, но меньше "
                            u"четырехкратного значения ширины."_s,
                            {}};
    return std::nullopt;
}

QMap<QString, QString> EdgePlate::link(const CalcInputs& in, const QString& changed) const {
    const auto b = in.positive(lengthName);
    const auto a0 = in.positive(widthName);
    const auto t = in.positive(depthName);
    if (!b || !a0 || !t)
        return {};
    long double a = *a0, length = *b, depth = *t;
    QMap<QString, QString> moved;
    const auto write = [&moved](const QString& name, long double v) { moved.insert(name, formatGeneral(v)); };
    if (changed == lengthName) {
        if (const auto w = body::linkedWidth(a, length, 5, true))
            write(widthName, a = *w);
    } else if (changed == widthName) {
        if (const auto l = body::linkedLength(a, length, 5, true))
            write(lengthName, length = *l);
    } else if (changed == depthName) {
        if (!depthRuleHolds(a, depth))
            write(widthName, a = roundTo(2 * depth, 5));
        if (!(length > a))
            write(lengthName, roundTo(a + 0.1L, 5));
        else if (!(4 * a > length) && 4 * a - 0.1L > 0)
            write(lengthName, roundTo(4 * a - 0.1L, 5));
        return moved;
    } else {
        return {};
    }
    if (!depthRuleHolds(a, depth))
        write(depthName, roundTo(a / 2, 5));
    return moved;
}

QString EdgePlate::rangeLabel(const CalcInputs& in, const QString& label) const {
    if (label == "lblRangeB"_L1)
        return body::lengthRangeText(in.positive(widthName));
    if (label == "lblRangeA"_L1)
        return body::widthRangeText(in.positive(lengthName));
    if (label == "lblRangeTo"_L1) {
        const auto a = in.positive(widthName);
        return a ? u"( T >= "_s + formatGeneral(roundTo(*a / 2, 5)) + u" )"_s : QString();
    }
    return Calculator::rangeLabel(in, label);
}

bool EdgePlate::selectionAdmissible(const CalcInputs& in) const {
    const auto a = in.number(widthName);
    const auto b = in.number(lengthName);
    const auto t = in.number(depthName);
    return a && b && t && body::rectangleRuleHolds(*a, *b) && *a <= 2 * *t;
}

void EdgePlate::selectionValueApplied(const CalcInputs& in, const QString& input,
                                      QMap<QString, long double>& values) const {
    // Only the single-parameter run moves the others, to hundredths, the depth to a/2 + 0,1.
    if (!in.singleRun || !in.linking || !values.contains(widthName) || !values.contains(lengthName) ||
        !values.contains(depthName))
        return;
    if (input == lengthName) {
        if (const auto a = body::linkedWidth(values.value(widthName), values.value(lengthName), 2, false))
            values.insert(widthName, *a);
    } else if (input == widthName) {
        if (const auto b = body::linkedLength(values.value(widthName), values.value(lengthName), 2, false))
            values.insert(lengthName, *b);
    } else {
        return;
    }
    const long double a = values.value(widthName);
    if (!depthRuleHolds(a, values.value(depthName)))
        values.insert(depthName, roundTo(a / 2 + 0.1L, 2));
}

QStringList EdgePlate::calcOrder(const CalcInputs& in) const {
    return {calcOrderLine(resistivityText(in), in.text(widthName), in.text(lengthName), in.text(depthName),
                          in.text(u"EditVS1"_s))};
}

} // namespace kz::edgeplate
