#include "core/calculators/rods/TwoLayerRodAtSurface.h"

#include "core/calculators/rods/RodAtSurface.h"
#include "core/calculators/rods/TwoLayerRods.h"
#include "core/model/GeometryInputs.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::twolayerrodatsurface {

namespace {
using namespace twolayerrods;

const QString lengthName = u"EditDlina"_s;

void report(ReportBuilder& w, const ReportSource& s);

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TUVert2Fm"_s;
    d.caption = u"Вертикальный заземлитель у поверхности двухслойной земли."_s;
    d.helpContext = 52;
    d.kindCode = 39;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Вертикальный заземлитель у поверхности двухслойной земли..."_s;
    d.pictureFile = u"UVert2.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = pэ / (2*П*L) * Ln(4*L/D), Ом"_s;
    d.weakConditions = {diameterCondition(u"L >> D"_s, u"L/D"_s, u"EditDlina"_s)};
    d.conditionLines = {u"L >> D "_s, u"Для полосы шириной B:  D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s, u"рэ = L / (L1/p1 + L2/p2), Ом м"_s};
    d.twoLayerSoil = true;
    d.construction = ConstructionSetup{u"D"_s, u"B"_s, u"вертикальный"_s};

    GeometryInput length = electrodeLengthInput(lengthName, u"L - длина заземлителя, м:"_s, u"SpinButtonA"_s);
    GeometryInput thickness = thicknessInput();
    thickness.steps.names = {u"SpinButton1"_s, u"SpinButton2"_s, u"SpinButton3"_s};
    d.geometry = {
        length, thickness, shownValue(upperPartName, u"L1 - длина части заземлителя в верхнем слое, м:"_s),
        shownValue(lowerPartName, u"L2 - длина части заземлителя в нижнем слое, м:"_s),
        shownValue(equivalentName, u"рэ - эквивалентное удельное сопротивление двухслойной земли, Ом м:"_s)};

    d.checks = splitRodChecks(lengthName) << InputCheck{InputCheck::Kind::Positive, thicknessName,
                                                        u"толщины (мощности) верхнего слоя земли"_s};

    HistoryLayout& h = d.history;
    h.presetName = u"Вертикальный заземлитель у поверхности двухслойной земли 1."_s;
    h.captions = splitRodCaptions();

    d.selection.parameters = selections(lengthName, u"20"_s);
    d.selection.writeBack = selectionWriteBack(lengthName);

    d.windowTop = 5;
    d.report = report;
    d.reportSteps = 7;
    return d;
}

class RodAtSurfaceOfLayers : public Calculator {
public:
    RodAtSurfaceOfLayers() : Calculator(makeDescriptor()) {}

    // The split and pэ follow L, H and both soils while the user types.
    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override {
        if (changed == u"cmbDiam"_s)
            return {};
        QMap<QString, QString> shown{{upperPartName, {}}, {lowerPartName, {}}, {equivalentName, {}}};
        const auto l = in.positive(lengthName);
        const auto h = in.positive(thicknessName);
        if (!l || !h)
            return shown;
        const Split split = splitAtSurface(*h, *l);
        showSplit(in, *l, split, shown);
        return shown;
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto l = in.number(lengthName);
        if (!in.diameter || *in.diameter <= 0 || !l)
            return CheckFailure{diameterMissingMessage(), {}};
        if (const auto error = rodatsurface::geometryError(*in.diameter, *l))
            return CheckFailure{*error, {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p = layers(in);
        const auto l = in.number(lengthName);
        const auto h = in.number(thicknessName);
        if (!p || !l || !h || !in.diameter)
            return std::nullopt;
        const Split split = splitAtSurface(*h, *l);
        const long double pe = equivalentResistivity(*l, split, p->p1, p->p2);
        shown.insert(upperPartName, formatGeneral(split.upper));
        shown.insert(lowerPartName, formatGeneral(split.lower));
        shown.insert(equivalentName, formatGeneral(pe));
        return roundResistance(std::log(4 * *l / *in.diameter) *
                               (pe / 2 / std::numbers::pi_v<long double> / *l));
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {rodatsurface::calcOrderLine(in.text(equivalentName), in.text(lengthName),
                                            in.diameter.value_or(0), in.text(u"EditVS1"_s))};
    }
};

void report(ReportBuilder& w, const ReportSource& s) {
    const CalculatorDescriptor& d = calculator().description();
    const QString l = s.text(lengthName);
    const QString l1 = s.text(upperPartName);
    const QString l2 = s.text(lowerPartName);
    writeOpening(w, s, d, d.caption, u"вертикальный заземлитель"_s, lengthName);
    const QString upperPart = u"- длина части заземлителя в верхнем слое: L"_s;
    const QString lowerPart = u"- длина части заземлителя в нижнем слое: L"_s;
    if (parseNumber(l2).value_or(0) != 0) {
        w.WordText(u"Заземлитель располагается в двух слоях земли:"_s + reportCr + upperPart);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = H = "_s + l1 + u" м;"_s + reportCr + lowerPart);
        w.WordSubscript(u"2"_s);
        w.WordText(u" = L - L"_s);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = "_s + l + u" - "_s + l1 + u" = "_s + l2 + u" м."_s + reportCr);
    } else {
        w.WordText(u"Заземлитель полностью располагается в верхнем слое земли:"_s + reportCr + upperPart);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = L = "_s + l1 + u" м;"_s + reportCr + lowerPart);
        w.WordSubscript(u"2"_s);
        w.WordText(u" = 0 м."_s + reportCr);
    }
    const auto diameter = writeEquivalentResistivity(w, s, lengthName);
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = "_s);
    writeRho(w, u"э"_s);
    w.WordText(u" / (2*П*L) * Ln(4*L/D), Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(equivalentName) + u"/(2*3,14*"_s + l + u") * Ln(4*"_s + l + u"/"_s +
               formatGeneral(diameter.value_or(0)) + u") = "_s + s.text(u"EditVS1"_s) + u" Ом."_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Left);
    w.progress();
    writeVerdict(w, s);
    w.progress();
}
} // namespace

const Calculator& calculator() {
    static const RodAtSurfaceOfLayers c;
    return c;
}

} // namespace kz::twolayerrodatsurface
