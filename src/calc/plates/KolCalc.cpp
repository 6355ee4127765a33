#include "KolCalc.h"

#include "calc/core/CalcCommon.h"
#include "calc/core/CalcOrder.h"
#include "calc/core/HistoryMapping.h"
#include "frames/NumberText.h"

#include <cmath>
#include <numbers>

namespace kz::kol {

namespace {
QString u(const char* text) {
    return QString::fromUtf8(text);
}
QString l1(const char* text) {
    return QString::fromLatin1(text);
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = l1("TKolForm");
    d.caption = u("Кольцевой заземлитель у поверхности земли.");
    d.helpContext = 15;
    d.pictureFile = l1("ukoltso.bmp");
    d.formulaText = u("Расчетная формула:   R = p / (П*П*D) * Ln(8*D/d), Ом");
    d.conditionLines = {u("D >> d; "), u("Для полосы шириной B: d = 0,5 B."),
                        u("Для уголка с шириной полки B:  d = 0,95 B.")};
    d.construction = ConstructionSetup{l1("d"), l1("B"), u("горизонтальный")};

    GeometryInput ring;
    ring.name = l1("EditDiam");
    ring.historyField = l1("D2");
    ring.label = u("D - диаметр кольца, м:");
    ring.selectionColour = true;
    ring.defaultText = l1("1");
    ring.steps = {1, 0.1, 0.01};
    ring.spinPrefix = l1("SpinButtonA");
    d.geometry = {ring};

    using K = InputCheck::Kind;
    d.checks = soilAndConstructionChecks(K::Positive);
    d.checks << InputCheck{K::Positive, l1("EditDiam"), u("диаметра кольца")};
    // Loading is offered only with every input filled, as saving is.
    d.loadNeedsInputs = true;

    HistoryLayout& h = d.history;
    h.kindCode = 7;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u("Диаметр кольца, м:"), l1("D2")};

    d.selection.kindCode = 7;
    d.selection.parameters = {ringDiameterSelection(), correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {l1("EditRo0"), l1("EditPKV"), l1("EditDiam")};

    d.report = report;
    return d;
}
} // namespace

SelectionParameter ringDiameterSelection() {
    SelectionParameter ring;
    ring.name = u("Диаметр кольца, м");
    ring.input = l1("EditDiam");
    ring.start = l1("1");
    ring.end = l1("5");
    ring.step = l1("1");
    ring.lower = l1("0,5");
    ring.recommendation = u("начальное значение меньше конечного");
    ring.heading = u("D, м");
    ring.note = u("D, м - диаметр кольца, м");
    return ring;
}

namespace {
const QString ringInput = QStringLiteral("EditDiam");

class RingAtSurface : public Calculator {
public:
    RingAtSurface() : Calculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto ringD = in.number(ringInput);
        if (!in.diameter || *in.diameter <= 0 || !ringD)
            return CheckFailure{diameterMissingMessage(), {}};
        if (const auto error = geometryError(*in.diameter, *ringD))
            return CheckFailure{*error, {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(QStringLiteral("EditRo0"));
        const auto kp = in.number(QStringLiteral("EditPKV"));
        const auto ringD = in.number(ringInput);
        if (!p0 || !kp || !ringD || !in.diameter)
            return std::nullopt;
        return ComputeResistance(*p0, *kp, *ringD, *in.diameter).r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(QStringLiteral("EditRo")), in.text(ringInput), in.diameter.value_or(0),
                              in.text(QStringLiteral("EditVS1")))};
    }
};
} // namespace

const Calculator& calculator() {
    static const RingAtSurface c;
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
    return u("Ошибка. Большой диаметр кольцевого заземлителя должен быть больше малого.");
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
    const QString ringD = s.text(l1("EditDiam"));
    const bool include = s.installation.include;

    w.WordTitle(descriptor().caption + reportCr + reportCr);
    w.progress();
    if (s.picture)
        w.WordPicture(descriptor().pictureFile);
    w.progress();
    if (include)
        w.WordInstallationParagraph(s.installation);
    w.WordSoilParagraph(s.text(l1("ComboGrunt")), s.text(l1("EditPKV")), s.text(l1("EditRo")),
                        parseNumber(s.text(l1("EditRo0"))).value_or(0));
    w.progress();
    w.WordText(u("Заземляющее устройство представляет собой кольцевой заземлитель с диаметром кольца D = ") +
               ringD + u(" м.") + reportCr);
    const auto d = w.WordConstructionParagraph(s.text(l1("cmbSech")), s.text(l1("cmbDiam")),
                                               s.text(l1("frmSech1.EditDiam")), l1("d"));
    w.progress();
    w.WordText(u("Сопротивление растеканию заземлителя:") + reportCr);
    w.setAlignment(A::Center);
    w.WordText(l1("R = "));
    w.WordSymbol(l1("r"));
    w.WordText(u(" / (П"));
    w.WordSuperscript(l1("2"));
    w.WordText(u("*D) * Ln(8*D/d), Ом;") + reportCr);
    w.WordText(l1("R = ") + s.text(l1("EditRo")) + l1("/(3,14"));
    w.WordSuperscript(l1("2"));
    w.WordText(QLatin1Char('*') + ringD + l1(") * Ln(8*") + ringD + QLatin1Char('/') +
               formatGeneral(d.value_or(0)) + QLatin1Char(')') + multiLineEnding(s.text(l1("EditVS1"))) +
               reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u("заземлитель"), parseNumber(s.text(l1("EditVS1"))).value_or(0));
    w.progress();
}

} // namespace kz::kol
