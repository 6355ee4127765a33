#include "core/calculators/rods/RodAtSurface.h"

#include "core/calculators/rods/BuriedRod.h"
#include "core/model/GeometryInputs.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"
#include "core/model/ReportModel.h"
#include "core/model/SectionSizeCalculator.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::rodatsurface {

namespace {

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TUVertFm"_s;
    d.caption = u"Вертикальный заземлитель у поверхности земли."_s;
    d.helpContext = 25;
    d.kindCode = 3;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Вертикальный заземлитель у поверхности земли..."_s;
    d.pictureFile = u"UVert.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (2*П*L) * Ln(4*L/D), Ом"_s;
    d.weakConditions = {diameterCondition(u"L >> D"_s, u"L/D"_s, u"EditDlina"_s)};
    d.conditionLines = {u"L >> D "_s, u"Для полосы шириной B:  D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s};
    d.construction = ConstructionSetup{u"D"_s, u"B"_s, u"вертикальный"_s};

    GeometryInput length =
        electrodeLengthInput(u"EditDlina"_s, u"L - длина заземлителя, м:"_s, u"SpinButtonA"_s);
    d.geometry = {length};

    using K = InputCheck::Kind;
    // p0 is only required here; its range check follows.
    d.checks = soilAndConstructionChecks(K::Filled);
    d.checks << InputCheck{K::Positive, u"EditDlina"_s, u"длины заземлителя"_s};
    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u"Длина стержня, м:"_s, u"L"_s};

    d.selection.parameters = {buriedrod::rodLengthSelection(), correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, u"EditDlina"_s};
    d.report = report;
    return d;
}
} // namespace

namespace {
const QString lengthInput = QStringLiteral("EditDlina");
} // namespace

const Calculator& calculator() {
    static const SectionSizeCalculator c(makeDescriptor(),
                                         {lengthInput, &geometryError,
                                          [](long double p0, long double kp, long double size,
                                             long double d) { return ComputeResistance(p0, kp, size, d).r; },
                                          &calcOrderLine});
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

Resistance ComputeResistance(long double p0, long double kp, long double l, long double d) {
    Resistance out;
    out.p = calculatedResistivity(p0, kp);
    out.r = roundResistance(out.p / 2 / std::numbers::pi_v<long double> / l * std::log(4 * l / d));
    return out;
}

std::optional<QString> geometryError(long double d, long double l) {
    if (!(d < l))
        return u"Ошибка. Длина вертикального заземлителя должна быть больше диаметра."_s;
    return std::nullopt;
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString l = s.text(u"EditDlina"_s);
    const bool include = s.installation.include;

    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой вертикальный заземлитель длиной L = "_s + l +
               u" м."_s + reportCr);
    const auto d = w.WordConstructionParagraph(s.text(u"cmbSech"_s), s.text(u"cmbDiam"_s),
                                               s.text(u"EditDiam"_s), u"D"_s);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (2*П*L) * Ln(4*L/D), Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(2*3,14*"_s + l + u") * Ln(4*"_s + l + QLatin1Char('/') +
               formatGeneral(d.value_or(0)) + QLatin1Char(')') + multiLineEnding(s.text(u"EditVS1"_s)) +
               reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

QString calcOrderLine(const QString& roText, const QString& lText, long double d, const QString& rText) {
    return QStringLiteral("R = ") + roText + QStringLiteral(" / (2*3,14*") + lText +
           QStringLiteral(") * ln(4*") + lText + QLatin1Char('/') + formatGeneral(d) + QLatin1Char(')') +
           oneLineEnding(rText);
}

} // namespace kz::rodatsurface
