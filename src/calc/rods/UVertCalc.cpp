#include "UVertCalc.h"

#include "calc/core/DVertCalc.h"

#include "calc/core/CalcCommon.h"
#include "calc/core/CalcOrder.h"
#include "calc/core/HistoryMapping.h"
#include "calc/core/ReportModel.h"
#include "frames/NumberText.h"

#include <cmath>
#include <numbers>

namespace kz::uvert {

namespace {
QString u(const char* text) {
    return QString::fromUtf8(text);
}
QString l1(const char* text) {
    return QString::fromLatin1(text);
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = l1("TUVertFm");
    d.caption = u("Вертикальный заземлитель у поверхности земли.");
    d.helpContext = 25;
    d.pictureFile = l1("UVert.bmp");
    d.formulaText = u("Расчетная формула:   R = p / (2*П*L) * Ln(4*L/D), Ом");
    d.conditionLines = {u("L >> D "), u("Для полосы шириной B:  D = 0,5 B."),
                        u("Для уголка с шириной полки B:  D = 0,95 B.")};
    d.construction = ConstructionSetup{l1("D"), l1("B"), u("вертикальный")};

    GeometryInput length;
    length.name = l1("EditDlina");
    length.label = u("L - длина заземлителя, м:");
    length.defaultText = l1("5");
    length.steps = {1, 0.1, 0.01};
    length.spinPrefix = l1("SpinButtonA");
    length.historyField = l1("L");
    d.geometry = {length};

    using K = InputCheck::Kind;
    // p0 is only required here; its range check follows.
    d.checks = soilAndConstructionChecks(K::Filled);
    d.checks << InputCheck{K::Positive, l1("EditDlina"), u("длины заземлителя")};
    HistoryLayout& h = d.history;
    h.kindCode = 3;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u("Длина стержня, м:"), l1("L")};

    d.selection.kindCode = 3;
    d.selection.parameters = {dvert::rodLengthSelection(), correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {l1("EditRo0"), l1("EditPKV"), l1("EditDlina")};
    d.report = report;
    return d;
}
} // namespace

namespace {
const QString lengthInput = QStringLiteral("EditDlina");

class RodAtSurface : public Calculator {
public:
    RodAtSurface() : Calculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto l = in.number(lengthInput);
        if (!in.diameter || *in.diameter <= 0 || !l)
            return CheckFailure{diameterMissingMessage(), {}};
        if (const auto error = geometryError(*in.diameter, *l))
            return CheckFailure{*error, {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(QStringLiteral("EditRo0"));
        const auto kp = in.number(QStringLiteral("EditPKV"));
        const auto l = in.number(lengthInput);
        if (!p0 || !kp || !l || !in.diameter)
            return std::nullopt;
        return ComputeResistance(*p0, *kp, *l, *in.diameter).r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(QStringLiteral("EditRo")), in.text(lengthInput), in.diameter.value_or(0),
                              in.text(QStringLiteral("EditVS1")))};
    }
};
} // namespace

const Calculator& calculator() {
    static const RodAtSurface c;
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
        return u("Ошибка. Длина вертикального заземлителя должна быть больше диаметра.");
    return std::nullopt;
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString l = s.text(l1("EditDlina"));
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
    w.WordText(u("Заземляющее устройство представляет собой вертикальный заземлитель длиной L = ") + l +
               u(" м.") + reportCr);
    const auto d = w.WordConstructionParagraph(s.text(l1("cmbSech")), s.text(l1("cmbDiam")),
                                               s.text(l1("EditDiam")), l1("D"));
    w.progress();
    w.WordText(u("Сопротивление растеканию заземлителя:") + reportCr);
    w.setAlignment(A::Center);
    w.WordText(l1("R = "));
    w.WordSymbol(l1("r"));
    w.WordText(u(" / (2*П*L) * Ln(4*L/D), Ом;") + reportCr);
    w.WordText(l1("R = ") + s.text(l1("EditRo")) + l1("/(2*3,14*") + l + l1(") * Ln(4*") + l +
               QLatin1Char('/') + formatGeneral(d.value_or(0)) + QLatin1Char(')') +
               multiLineEnding(s.text(l1("EditVS1"))) + reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u("заземлитель"), parseNumber(s.text(l1("EditVS1"))).value_or(0));
    w.progress();
}

QString calcOrderLine(const QString& roText, const QString& lText, long double d, const QString& rText) {
    return QStringLiteral("R = ") + roText + QStringLiteral(" / (2*3,14*") + lText +
           QStringLiteral(") * ln(4*") + lText + QLatin1Char('/') + formatGeneral(d) + QLatin1Char(')') +
           oneLineEnding(rText);
}

} // namespace kz::uvert
