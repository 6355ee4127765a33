#include "core/calculators/rods/TwoLayerRodSplit.h"

#include "core/calculators/rods/RodAtSurface.h"
#include "core/calculators/rods/TwoLayerRods.h"
#include "core/model/GeometryInputs.h"

#include "core/calculators/rods/BuriedRod.h"
#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::twolayerrodsplit {

namespace {
using namespace twolayerrods;

const QString lengthName = u"EditDlina"_s;
const QString depthName = u"EditGlub"_s;
const QString middleName = u"EditT"_s;

void report(ReportBuilder& w, const ReportSource& s);

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TVert2_1F"_s;
    d.caption = u"Вертикальный заземлитель в двухслойной земле 2."_s;
    d.helpContext = 53;
    d.kindCode = 40;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Вертикальный заземлитель в двухслойной земле 2..."_s;
    d.pictureFile = u"Vert2_1.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = pэ / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L) / (4*T-L))], Ом"_s;
    d.weakConditions = {diameterCondition(u"L >> D"_s, u"L/D"_s, u"EditDlina"_s)};
    d.conditionLines = {u"L >> D "_s, u"Для полосы шириной B:  D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s, u"рэ = L / (L1/p1 + L2/p2), Ом м"_s,
                        u"To >= 0,5"_s};
    d.twoLayerSoil = true;
    d.construction = ConstructionSetup{u"D"_s, u"B"_s, u"вертикальный"_s};

    GeometryInput length = electrodeLengthInput(lengthName, u"L - длина заземлителя, м:"_s, u"SpinButtonA"_s);
    length.hint = u"Общая длина заземлителя, м"_s;
    GeometryInput thickness = thicknessInput();
    thickness.steps.names = {u"SpinButton1"_s, u"SpinButton2"_s, u"SpinButton3"_s};
    GeometryInput depth = metreInput(depthName, u"Tо, м:"_s, u"0,7"_s, u"D2"_s, u"SpinButtonT"_s);
    depth.hint = u"Расстояние от поверхности земли до верхнего края заземлителя, м"_s;
    depth.range.name = u"lblRangeTo"_s;
    depth.range.text = u"( To >= 0,5 )"_s;
    depth.range.hint = u"Диапазон допустимых значений глубины заложения"_s;
    depth.steps.floor = 0.5;
    GeometryInput middle;
    middle.name = middleName;
    middle.label = u"T - глубина заложения, м:"_s;
    middle.readOnly = true;
    GeometryInput upper = shownValue(upperPartName, u"L1, м:"_s);
    upper.hint = u"Длина части заземлителя в верхнем слое земли, м"_s;
    GeometryInput lower = shownValue(lowerPartName, u"L2, м:"_s);
    lower.hint = u"Длина части заземлителя в нижнем слое земли, м"_s;
    d.geometry = {
        length,
        thickness,
        depth,
        middle,
        upper,
        lower,
        shownValue(equivalentName, u"рэ - эквивалентное удельное сопротивление двухслойной земли, Ом м:"_s)};

    using K = InputCheck::Kind;
    d.checks = splitRodChecks(lengthName);
    d.checks << InputCheck{K::Positive, depthName, u"расстояния от поверхности земли до заземлителя"_s}
             << InputCheck{K::Positive, thicknessName, u"толщины (мощности) верхнего слоя земли"_s};

    HistoryLayout& h = d.history;
    h.presetName = u"Вертикальный заземлитель в двухслойной земле 1."_s;
    h.captions = splitRodCaptions();
    h.captions << HistoryCaption{u"Расстояние от поверхности земли до заземлителя, м:"_s, u"D2"_s};

    d.selection.parameters = selections(lengthName, u"20"_s);
    d.selection.writeBack = selectionWriteBack(lengthName);

    d.windowTop = 10;
    d.report = report;
    d.reportSteps = 8;
    return d;
}

class RodAcrossLayers : public Calculator {
public:
    RodAcrossLayers() : Calculator(makeDescriptor()) {}

    // T, the split and pэ follow L, H, To and both soils while the user types.
    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override {
        if (changed == u"cmbDiam"_s)
            return {};
        QMap<QString, QString> shown{
            {middleName, {}}, {upperPartName, {}}, {lowerPartName, {}}, {equivalentName, {}}};
        const auto l = in.positive(lengthName);
        const auto to = in.positive(depthName);
        const auto h = in.positive(thicknessName);
        if (l && to)
            shown[middleName] = formatGeneral(roundTo(buriedrod::middleDepth(*l, *to), 2));
        if (!l || !to || !h)
            return shown;
        const Split split = splitInGround(*h, *to, *l);
        showSplit(in, *l, split, shown);
        return shown;
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto l = in.number(lengthName);
        const auto to = in.number(depthName);
        if (!in.diameter || *in.diameter <= 0 || !l || !to)
            return CheckFailure{diameterMissingMessage(), {}};
        if (const auto error = rodatsurface::geometryError(*in.diameter, *l))
            return CheckFailure{*error, {}};
        if (auto error = stubbyElectrodeError(*l, *in.diameter, u"заземлителя"_s))
            return CheckFailure{*error, {}};
        if (!(*to >= 0.5L))
            return CheckFailure{buriedrod::depthMessage(), {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p = layers(in);
        const auto l = in.number(lengthName);
        const auto to = in.number(depthName);
        const auto h = in.number(thicknessName);
        if (!p || !l || !to || !h || !in.diameter)
            return std::nullopt;
        const Split split = splitInGround(*h, *to, *l);
        const long double t = roundTo(buriedrod::middleDepth(*l, *to), 2);
        const long double pe = equivalentResistivity(*l, split, p->p1, p->p2);
        const long double a = std::log(2 * *l / *in.diameter);
        const long double b = std::log((4 * t + *l) / (4 * t - *l));
        shown.insert(middleName, formatGeneral(t));
        shown.insert(upperPartName, formatGeneral(split.upper));
        shown.insert(lowerPartName, formatGeneral(split.lower));
        shown.insert(equivalentName, formatGeneral(pe));
        return roundResistance((a + 0.5L * b) * (pe / 2 / std::numbers::pi_v<long double> / *l));
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {buriedrod::calcOrderLine(in.text(equivalentName), in.text(lengthName),
                                         in.diameter.value_or(0), in.text(middleName),
                                         in.text(u"EditVS1"_s))};
    }

    bool selectionAdmissible(const CalcInputs& in) const override {
        const auto l = in.number(lengthName);
        return in.diameter && l && *in.diameter < *l;
    }
};

void report(ReportBuilder& w, const ReportSource& s) {
    const CalculatorDescriptor& d = calculator().description();
    const QString l = s.text(lengthName);
    const QString to = s.text(depthName);
    const QString t = s.text(middleName);
    const QString l1 = s.text(upperPartName);
    const QString l2 = s.text(lowerPartName);
    writeOpening(w, s, d, d.caption, u"вертикальный заземлитель"_s, lengthName);
    w.WordText(u"Расстояние от поверхности земли до верхнего края заземлителя: То = "_s + to + u" м."_s +
               reportCr);
    w.WordText(u"Глубина заложения заземлителя: Т = L/2 + To = "_s + l + u"/2 + "_s + to + u" = "_s + t +
               u" м."_s + reportCr);
    const bool upper = parseNumber(l1).value_or(0) != 0;
    const bool lower = parseNumber(l2).value_or(0) != 0;
    const QString upperPart = u"- длина части заземлителя в верхнем слое: L"_s;
    const QString lowerPart = u"- длина части заземлителя в нижнем слое: L"_s;
    if (upper && lower) {
        w.WordText(u"Заземлитель располагается в двух слоях земли: "_s + reportCr + upperPart);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = H - To = "_s + s.text(thicknessName) + u" - "_s + to + u" = "_s + l1 + u" м;"_s +
                   reportCr + lowerPart);
        w.WordSubscript(u"2"_s);
        w.WordText(u" = L - L"_s);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = "_s + l + u" - "_s + l1 + u" = "_s + l2 + u" м."_s + reportCr);
    } else if (upper) {
        w.WordText(u"Заземлитель полностью располагается в верхнем слое земли: "_s + reportCr + upperPart);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = L = "_s + l1 + u" м;"_s + reportCr + lowerPart);
        w.WordSubscript(u"2"_s);
        w.WordText(u" = 0 м."_s + reportCr);
    } else if (lower) {
        w.WordText(u"Заземлитель полностью располагается в нижнем слое земли: "_s + reportCr + upperPart);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = 0 м;"_s + reportCr + lowerPart);
        w.WordSubscript(u"2"_s);
        w.WordText(u" = L = "_s + l2 + u" м."_s + reportCr);
    }
    w.progress();
    const auto diameter = writeEquivalentResistivity(w, s, lengthName);
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = "_s);
    writeRho(w, u"э"_s);
    w.WordText(u" / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L)/(4*T-L))], Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(equivalentName) + u"/(2*3,14*"_s + l + u") * [Ln(2*"_s + l + u"/"_s +
               formatGeneral(diameter.value_or(0)) + u") + 0,5*Ln((4*"_s + t + u"+"_s + l + u")/(4*"_s + t +
               u"-"_s + l + u"))] = "_s + s.text(u"EditVS1"_s) + u" Ом."_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Left);
    w.progress();
    writeVerdict(w, s);
    w.progress();
}
} // namespace

const Calculator& calculator() {
    static const RodAcrossLayers c;
    return c;
}

} // namespace kz::twolayerrodsplit
