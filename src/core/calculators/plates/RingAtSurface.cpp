#include "core/calculators/plates/RingAtSurface.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/GeometryInputs.h"
#include "core/model/HistoryMapping.h"
#include "core/model/SectionSizeCalculator.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::ringatsurface {

namespace {

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TKolForm"_s;
    d.caption = u"Кольцевой заземлитель у поверхности земли."_s;
    d.helpContext = 15;
    d.kindCode = 7;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Кольцевой у поверхности земли..."_s;
    d.pictureFile = u"ukoltso.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (П*П*D) * Ln(8*D/d), Ом"_s;
    d.weakConditions = {diameterCondition(u"D >> d"_s, u"D/d"_s, u"EditDiam"_s)};
    d.conditionLines = {u"D >> d; "_s, u"Для полосы шириной B: d = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  d = 0,95 B."_s};
    d.construction = ConstructionSetup{u"d"_s, u"B"_s, u"горизонтальный"_s};

    GeometryInput ring =
        metreInput(u"EditDiam"_s, u"D - диаметр кольца, м:"_s, u"1"_s, u"D2"_s, u"SpinButtonA"_s);
    ring.selectionColour = true;
    d.geometry = {ring};

    using K = InputCheck::Kind;
    d.checks = soilAndConstructionChecks(K::Positive);
    d.checks << InputCheck{K::Positive, u"EditDiam"_s, u"диаметра кольца"_s};
    // Loading is offered only with every input filled, as saving is.
    d.loadNeedsInputs = true;

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u"Диаметр кольца, м:"_s, u"D2"_s};

    d.selection.parameters = {ringDiameterSelection(), correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, u"EditDiam"_s};

    d.report = report;
    return d;
}
} // namespace

SelectionParameter ringDiameterSelection() {
    SelectionParameter ring;
    ring.name = u"Диаметр кольца, м"_s;
    ring.input = u"EditDiam"_s;
    ring.start = u"1"_s;
    ring.end = u"5"_s;
    ring.step = u"1"_s;
    ring.lower = u"0,5"_s;
    ring.recommendation = u"начальное значение меньше конечного"_s;
    ring.heading = u"D, м"_s;
    ring.note = u"D, м - диаметр кольца, м"_s;
    return ring;
}

namespace {
const QString ringInput = QStringLiteral("EditDiam");
} // namespace

const Calculator& calculator() {
    static const SectionSizeCalculator c(makeDescriptor(),
                                         {ringInput, &geometryError,
                                          [](long double p0, long double kp, long double size,
                                             long double d) { return ComputeResistance(p0, kp, size, d).r; },
                                          &calcOrderLine});
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

Resistance ComputeResistance(long double p0, long double kp, long double ringD, long double d) {
    constexpr long double pi = std::numbers::pi_v<long double>;
    Resistance out;
    out.p = calculatedResistivity(p0, kp);
    out.r = roundResistance(std::log(8 * ringD / d) * (out.p / pi / pi / ringD));
    return out;
}

QString diameterMessage() {
    return u"Ошибка. Большой диаметр кольцевого заземлителя должен быть больше малого."_s;
}

std::optional<QString> geometryError(long double d, long double ringD) {
    if (!(d < ringD))
        return diameterMessage();
    return std::nullopt;
}

QString calcOrderLine(const QString& roText, const QString& dText, long double d, const QString& rText) {
    return QStringLiteral("R = ") + roText + QStringLiteral(" / (3,14*3,14*") + dText +
           QStringLiteral(") * ln(8*") + dText + QLatin1Char('/') + formatGeneral(d) + QLatin1Char(')') +
           oneLineEnding(rText);
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString ringD = s.text(u"EditDiam"_s);
    const bool include = s.installation.include;

    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой кольцевой заземлитель с диаметром кольца D = "_s +
               ringD + u" м."_s + reportCr);
    const auto d = w.WordConstructionParagraph(s.text(u"cmbSech"_s), s.text(u"cmbDiam"_s),
                                               s.text(u"frmSech1.EditDiam"_s), u"d"_s);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (П"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u"*D) * Ln(8*D/d), Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(3,14"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(QLatin1Char('*') + ringD + u") * Ln(8*"_s + ringD + QLatin1Char('/') +
               formatGeneral(d.value_or(0)) + QLatin1Char(')') + multiLineEnding(s.text(u"EditVS1"_s)) +
               reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

} // namespace kz::ringatsurface
