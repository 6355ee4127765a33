#include "core/calculators/plates/BuriedSphere.h"

#include "core/calculators/plates/BodyElectrodes.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::buriedsphere {

namespace {
const QString diameterName = u"EditDiam"_s;
const QString depthName = u"EditGlub"_s;

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TSferaFrm"_s;
    d.caption = u"Сферический заземлитель в земле."_s;
    d.helpContext = 22;
    d.kindCode = 1;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Сферический в земле..."_s;
    d.pictureFile = u"sfera.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (2*П*D) * [1+D / (4*T)], Ом"_s;
    d.conditionCaption = u" Условие применения формулы "_s;
    d.weakConditions = {inputsCondition(u"2T >> D"_s, u"2T/D"_s, u"EditGlub"_s, 2, u"EditDiam"_s, 1)};
    d.conditionLines = {u"2T >> D"_s};

    // "Т" of the depth's label is Cyrillic, the range labels' T Latin.
    body::addBuriedGeometry(
        d, body::diameterInput(u"D - диаметр сферы, м:"_s, u"SpinButtonD"_s, u"D1"_s),
        {u"Т - глубина заложения, м:"_s, u"( D < 1,4 )"_s,
         u"Диапазон допустимых значений диаметра сферы для текущего значения глубины заложения"_s,
         u"( T > 0,25 )"_s,
         u"Диапазон допустимых значений глубины заложения для текущего значения диаметра сферы"_s});

    using K = InputCheck::Kind;
    d.checks = body::soilChecks(K::Positive);
    d.checks << InputCheck{K::Positive, diameterName, u"диаметра сферы"_s}
             << InputCheck{K::Positive, depthName, u"глубины заложения"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = body::soilCaptions();
    h.captions << HistoryCaption{u"Диаметр сферы, м:"_s, u"D1"_s}
               << HistoryCaption{u"Глубина заложения, м:"_s, u"T"_s};

    // A sphere may be smaller than a plate: down to 0,1.
    SelectionParameter sphere =
        body::diameterSelection(u"Диаметр сферы, м"_s, u"0,1"_s, u"D, м - диаметр сферы, м"_s);
    sphere.columns = {{depthName, u"T, м"_s, u"T, м - глубина заложения, м"_s}};
    d.selection.parameters = {sphere, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, diameterName, depthName};

    d.report = report;
    d.reportSteps = 5;
    return d;
}

class SphereInGround : public body::BuriedBody {
public:
    // Linking writes hundredths here.
    SphereInGround()
        : BuriedBody(makeDescriptor(),
                     {u"T"_s, 2,
                      u"Ошибка. Глубина заложения должна быть больше радиуса сферического заземлителя."_s}) {}

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto diameter = in.number(diameterName);
        const auto depth = in.number(depthName);
        if (!p0 || !kp || !diameter || !depth)
            return std::nullopt;
        return ComputeResistance(*p0, *kp, *diameter, *depth);
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(u"EditRo"_s), in.text(diameterName), in.text(depthName),
                              in.text(u"EditVS1"_s))};
    }
};
} // namespace

const Calculator& calculator() {
    static const SphereInGround c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

long double ComputeResistance(long double p0, long double kp, long double diameter, long double depth) {
    constexpr long double pi = std::numbers::pi_v<long double>;
    const long double p = calculatedResistivity(p0, kp);
    return roundResistance(p / 2 / pi / diameter * (diameter / (4 * depth) + 1));
}

QString calcOrderLine(const QString& ro, const QString& diameter, const QString& depth, const QString& r) {
    return u"R = "_s + ro + u" / (2*3,14*"_s + diameter + u") * [1+"_s + diameter + u" / (4*"_s + depth +
           u")]"_s + oneLineEnding(r);
}

void report(ReportBuilder& w, const ReportSource& s) {
    const QString diameter = s.text(diameterName);
    const QString depth = s.text(depthName);
    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой сферический заземлитель диаметром D = "_s +
               diameter + u" м."_s + reportCr);
    // "Т" is Cyrillic here.
    w.WordText(u"Глубина заложения заземлителя: Т = "_s + depth + u" м."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (2*П*D) * [1+D / (4*T)], Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(2*3,14*"_s + diameter + u") * [1 + "_s + diameter +
               u"/(4*"_s + depth + u")]"_s + multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    body::reportClosing(w, s);
}

} // namespace kz::buriedsphere
