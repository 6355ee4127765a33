#include "core/calculators/plates/HemisphereAtSurface.h"

#include "core/calculators/plates/BodyElectrodes.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::hemisphereatsurface {

namespace {
const QString diameterName = u"EditDiam"_s;

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TPSferaFm"_s;
    d.caption = u"Полусферический заземлитель на поверхности земли."_s;
    d.helpContext = 21;
    d.kindCode = 2;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Полусферический у поверхности земли..."_s;
    d.pictureFile = u"psfera.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (П*D), Ом"_s;
    d.geometry = {body::diameterInput(u"D - диаметр сферы, м:"_s, u"SpinButtonA"_s, u"D1"_s)};

    using K = InputCheck::Kind;
    d.checks = body::soilChecks(K::Positive);
    d.checks << InputCheck{K::Positive, diameterName, u"диаметра сферы"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = body::soilCaptions();
    h.captions << HistoryCaption{u"Диаметр сферы, м:"_s, u"D1"_s};

    d.selection.parameters = {
        body::diameterSelection(u"Диаметр сферы, м"_s, u"0,1"_s, u"D, м - диаметр сферы, м"_s),
        correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, diameterName};

    d.report = report;
    d.reportSteps = 4;
    return d;
}
} // namespace

const Calculator& calculator() {
    static const body::SurfaceBody c(makeDescriptor(), ComputeResistance, calcOrderLine);
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

long double ComputeResistance(long double p0, long double kp, long double diameter) {
    constexpr long double pi = std::numbers::pi_v<long double>;
    return roundResistance(calculatedResistivity(p0, kp) / pi / diameter);
}

QString calcOrderLine(const QString& ro, const QString& diameter, const QString& r) {
    return u"R = "_s + ro + u" / (3,14*"_s + diameter + u')' + oneLineEnding(r);
}

void report(ReportBuilder& w, const ReportSource& s) {
    const QString diameter = s.text(diameterName);
    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой полусферический заземлитель диаметром D = "_s +
               diameter + u" м."_s + reportCr);
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (П*D), Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(3,14*"_s + diameter + u')' +
               multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    body::reportClosing(w, s);
}

} // namespace kz::hemisphereatsurface
