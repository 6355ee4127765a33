#include "core/calculators/rods/StripAtSurface.h"

#include "core/calculators/rods/BuriedStrip.h"
#include "core/model/GeometryInputs.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::stripatsurface {

namespace {
const QString lengthInput = u"EditDlina"_s;

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TUGorizFm"_s;
    d.caption = u"Горизонтальный заземлитель на поверхности земли."_s;
    d.helpContext = 23;
    d.kindCode = 5;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Горизонтальный заземлитель на поверхности земли..."_s;
    d.pictureFile = u"ugoriz.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (П*L) * Ln(2*L/D), Ом"_s;
    d.weakConditions = {diameterCondition(u"L >> D"_s, u"L/D"_s, u"EditDlina"_s)};
    d.conditionLines = {u"L >> D; "_s, u"Для полосы шириной B: D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s};
    d.construction = ConstructionSetup{u"D"_s, u"B"_s, u"горизонтальный"_s};

    GeometryInput length =
        electrodeLengthInput(lengthInput, u"L - длина заземлителя, м:"_s, u"SpinButtonA"_s);
    d.geometry = {length};

    using K = InputCheck::Kind;
    d.checks = soilAndConstructionChecks(K::Positive);
    d.checks << InputCheck{K::Positive, lengthInput, u"длины заземлителя"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u"Длина стержня, м:"_s, u"L"_s};

    d.selection.parameters = {buriedstrip::lengthSelection(u"1"_s, u"50"_s), correctionSelection(),
                              soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, lengthInput};

    d.report = report;
    d.reportSteps = 5;
    return d;
}

class StripOnSurface : public Calculator {
public:
    StripOnSurface() : Calculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto l = in.number(lengthInput);
        if (!in.diameter || *in.diameter <= 0 || !l)
            return CheckFailure{diameterMissingMessage(), {}};
        if (!(*in.diameter < *l))
            return CheckFailure{buriedstrip::diameterMessage(), {}};
        if (auto error = stubbyElectrodeError(*l, *in.diameter, u"горизонтального заземлителя"_s))
            return CheckFailure{*error, {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto l = in.number(lengthInput);
        if (!p0 || !kp || !l || !in.diameter)
            return std::nullopt;
        return ComputeResistance(*p0, *kp, *l, *in.diameter).r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(u"EditRo"_s), in.text(lengthInput), in.diameter.value_or(0),
                              in.text(u"EditVS1"_s))};
    }
};
} // namespace

const Calculator& calculator() {
    static const StripOnSurface c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

Resistance ComputeResistance(long double p0, long double kp, long double l, long double d) {
    Resistance out;
    out.p = calculatedResistivity(p0, kp);
    out.r = roundResistance(std::log(2 * l / d) * (out.p / std::numbers::pi_v<long double> / l));
    return out;
}

QString calcOrderLine(const QString& roText, const QString& lText, long double d, const QString& rText) {
    return u"R = "_s + roText + u" / (3,14*"_s + lText + u") * ln(2*"_s + lText + u'/' + formatGeneral(d) +
           u')' + oneLineEnding(rText);
}

void report(ReportBuilder& w, const ReportSource& s) {
    buriedstrip::ReportShape shape;
    shape.caption = descriptor().caption;
    shape.picture = descriptor().pictureFile;
    shape.depthLine = false;
    shape.progressAfterTitle = true;
    shape.formula = [](ReportBuilder& b, const ReportSource& src, long double d) {
        const QString l = src.text(lengthInput);
        b.WordText(u"R = "_s);
        b.WordSymbol(u"r"_s);
        b.WordText(u" / (П*L) * Ln(2*L/D), Ом;"_s + reportCr);
        b.WordText(u"R = "_s + src.text(u"EditRo"_s) + u"/(3,14*"_s + l + u") * Ln(2*"_s + l + u'/' +
                   formatGeneral(d) + u')' + multiLineEnding(src.text(u"EditVS1"_s)) + reportCr);
    };
    buriedstrip::writeReport(w, s, shape);
}

} // namespace kz::stripatsurface
