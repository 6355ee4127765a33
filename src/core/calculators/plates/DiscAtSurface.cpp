#include "core/calculators/plates/DiscAtSurface.h"

#include "core/calculators/plates/BodyElectrodes.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

using namespace Qt::StringLiterals;

namespace kz::discatsurface {

namespace {
const QString diameterName = u"EditDiam"_s;

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TUKrugFrm"_s;
    d.caption = u"Круглая пластина на поверхности земли."_s;
    d.helpContext = 56;
    d.kindCode = 12;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Круглая пластина на поверхности земли..."_s;
    d.pictureFile = u"UKrugPl.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (2*D), Ом"_s;
    d.geometry = {body::diameterInput(u"D - диаметр пластины, м:"_s, u"SpinButtonA"_s, u"D1"_s)};

    using K = InputCheck::Kind;
    // The measured resistivity only has to be there; the soil's range check reads its number.
    d.checks = body::soilChecks(K::Filled);
    d.checks << InputCheck{K::Positive, diameterName, u"диаметра пластины"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = body::soilCaptions();
    h.captions << HistoryCaption{u"Диаметр пластины, м:"_s, u"D1"_s};

    d.selection.parameters = {body::diameterSelection(u"Диаметр круглой пластины, м"_s, u"0,5"_s,
                                                      u"D, м - диаметр круглой пластины, м"_s),
                              correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, diameterName};

    d.report = report;
    d.reportSteps = 5;
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
    return roundResistance(calculatedResistivity(p0, kp) / 2 / diameter);
}

QString calcOrderLine(const QString& ro, const QString& diameter, const QString& r) {
    return u"R = "_s + ro + u" / (2*"_s + diameter + u')' + oneLineEnding(r);
}

void report(ReportBuilder& w, const ReportSource& s) {
    const QString diameter = s.text(diameterName);
    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой круглую пластину диаметром D = "_s + diameter +
               u" м."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (2*D), Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(2*"_s + diameter + u')' +
               multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    body::reportClosing(w, s);
}

} // namespace kz::discatsurface
