#include "DVertCalc.h"

#include "CalcCommon.h"
#include "CalcOrder.h"
#include "Calculator.h"
#include "frames/NumberText.h"

#include <cmath>
#include <numbers>

namespace kz::dvert {

namespace {
QString u(const char* text) {
    return QString::fromUtf8(text);
}
QString l1(const char* text) {
    return QString::fromLatin1(text);
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = l1("TDVertFm");
    d.caption = u("Вертикальный заземлитель в земле.");
    d.helpContext = 18;
    d.pictureFile = l1("vert.bmp");
    d.formulaText = u("Расчетная формула:   R = p / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L) / (4*T-L))], Ом");
    d.conditionLines = {u("L >> D; Tо >= 0,5 м "), u("Для полосы шириной B:  D = 0,5 B."),
                        u("Для уголка с шириной полки B:  D = 0,95 B.")};
    d.construction = ConstructionSetup{l1("D"), l1("B"), u("вертикальный")};

    GeometryInput length;
    length.name = l1("EditDlina");
    length.label = u("L - длина стержня, м:");
    length.defaultText = l1("5");
    length.steps = {1, 0.1, 0.01};
    length.spinPrefix = l1("SpinButtonA");
    length.historyField = l1("L");
    GeometryInput depth;
    depth.name = l1("EditGlub");
    depth.label = u("Tо - расстояние от поверхности земли, м:");
    depth.defaultText = l1("0,7");
    depth.steps = {1, 0.1, 0.01};
    depth.spinPrefix = l1("SpinButtonT");
    depth.rangeName = l1("lblRangeTo");
    depth.rangeText = l1("( To >= 0,5 )");
    depth.rangeHint = u("Диапазон допустимых значений глубины заложения");
    depth.historyField = l1("T");
    GeometryInput middle;
    middle.name = l1("EditT");
    middle.label = u("T - глубина заложения, м:");
    middle.readOnly = true;
    d.geometry = {length, depth, middle};

    using K = InputCheck::Kind;
    d.checks = soilAndConstructionChecks(K::Positive);
    d.checks << InputCheck{K::Positive, l1("EditDlina"), u("длины заземлителя")}
             << InputCheck{K::Positive, l1("EditGlub"), u("глубины заложения")};
    HistoryLayout& h = d.history;
    h.kindCode = 4;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u("Расстояние от поверхности земли до заземлителя, м:"), l1("T")}
               << HistoryCaption{u("Длина стержня, м:"), l1("L")};

    SelectionParameter rodLength = rodLengthSelection();
    // "To" with a Latin T and o; the note writes a Latin T and a Cyrillic о.
    rodLength.columns = {
        {l1("EditGlub"), u("To, м"), u("Tо, м - расстояние от поверхности земли до стержня, м")}};
    d.selection.kindCode = 4;
    d.selection.parameters = {rodLength, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {l1("EditRo0"), l1("EditPKV"), l1("EditDlina"), l1("EditGlub"), l1("EditT")};

    d.report = report;

    // The soil frame's coefficient input keeps neither its key filter nor its exit check here.
    d.coefficientInputChecks = false;
    return d;
}
} // namespace

SelectionParameter rodLengthSelection() {
    SelectionParameter length;
    length.name = u("Длина стержня, м");
    length.input = l1("EditDlina");
    length.start = l1("1");
    length.end = l1("5");
    length.step = l1("1");
    length.lower = l1("0,5");
    length.recommendation = u("начальное значение меньше конечного");
    length.heading = u("L, м");
    length.note = u("L, м - длина стержня, м");
    return length;
}

namespace {
const QString lengthInput = QStringLiteral("EditDlina");
const QString depthInput = QStringLiteral("EditGlub");
const QString middleInput = QStringLiteral("EditT");

class RodInGround : public Calculator {
public:
    RodInGround() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override {
        if (!changed.isEmpty() && changed != lengthInput && changed != depthInput)
            return {};
        const auto l = in.positive(lengthInput);
        const auto to = in.positive(depthInput);
        // A depth beyond any shown number stays empty; the calculation says why.
        if (!l || !to || !isShowableResult(middleDepth(*l, *to)))
            return {{middleInput, QString()}};
        return {{middleInput, middleDepthText(*l, *to)}};
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        if (!in.diameter || *in.diameter <= 0)
            return CheckFailure{diameterMissingMessage(), {}};
        const auto l = in.number(lengthInput);
        const auto to = in.number(depthInput);
        if (!l || !to)
            return CheckFailure{diameterMissingMessage(), {}};
        if (const auto error = geometryError(*in.diameter, *l, *to))
            return CheckFailure{*error, {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(QStringLiteral("EditRo0"));
        const auto kp = in.number(QStringLiteral("EditPKV"));
        const auto l = in.number(lengthInput);
        const auto to = in.number(depthInput);
        if (!p0 || !kp || !l || !to || !in.diameter)
            return std::nullopt;
        if (!isShowableResult(middleDepth(*l, *to)))
            return std::nullopt;
        // A selection run works with T as it writes it back, rounded to hundredths.
        const auto t = in.selectionRunning() ? in.number(middleInput) : middleDepth(*l, *to);
        if (!t)
            return std::nullopt;
        return ComputeResistance(*p0, *kp, *l, *in.diameter, *t).r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(QStringLiteral("EditRo")), in.text(lengthInput), in.diameter.value_or(0),
                              in.text(middleInput), in.text(QStringLiteral("EditVS1")))};
    }

    void deriveSelectionValues(QMap<QString, long double>& values) const override {
        if (values.contains(lengthInput) && values.contains(depthInput))
            values.insert(middleInput, roundTo(middleDepth(values.value(lengthInput), values.value(depthInput)), 2));
    }

    bool allowStepDown(const CalcInputs& in, const QString& input, double step) const override {
        if (input != depthInput)
            return true;
        const auto to = parseNumber(in.text(depthInput));
        // A text that is no number is left to the stepping, which reports it; an empty one stays empty.
        if (!to)
            return !in.text(depthInput).isEmpty();
        return canStepDownDepth(*to, step);
    }
};
} // namespace

const Calculator& calculator() {
    static const RodInGround c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

Resistance ComputeResistance(long double p0, long double kp, long double l, long double d, long double t) {
    Resistance out;
    out.p = calculatedResistivity(p0, kp);
    const long double a = std::log(2 * l / d);
    const long double b = std::log((4 * t + l) / (4 * t - l));
    out.r = roundResistance(out.p / 2 / std::numbers::pi_v<long double> / l * (a + 0.5L * b));
    return out;
}

long double middleDepth(long double l, long double to) {
    return l / 2 + to;
}

QString middleDepthText(long double l, long double to) {
    return formatMask(middleDepth(l, to), QStringLiteral("0.00"));
}

QString diameterMessage() {
    return u("Ошибка. Длина вертикального стержня должна быть больше диаметра.");
}

QString depthMessage() {
    return u("Ошибка. Глубина заложения должна быть больше либо равна 0,5 м.");
}

std::optional<QString> geometryError(long double d, long double l, long double to) {
    if (!(d < l))
        return diameterMessage();
    if (!(to >= 0.5L))
        return depthMessage();
    return std::nullopt;
}

bool canStepDownDepth(long double to, double step) {
    // Binary noise removed: 0,6 − 0,1 is 0,5, not a hair below it.
    return roundTo(to - step, 10) >= 0.5L;
}

QString calcOrderLine(const QString& roText, const QString& lText, long double d, const QString& tText,
                      const QString& rText) {
    return QStringLiteral("R = ") + roText + QStringLiteral(" / (2*3,14*") + lText +
           QStringLiteral(") * [Ln(2*") + lText + QLatin1Char('/') + formatGeneral(d) +
           QStringLiteral(") + 0,5*Ln((4*") + tText + QLatin1Char('+') + lText + QStringLiteral(") / (4*") +
           tText + QLatin1Char('-') + lText + QStringLiteral("))]") + oneLineEnding(rText);
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString l = s.text(l1("EditDlina"));
    const QString to = s.text(l1("EditGlub"));
    const QString t = s.text(l1("EditT"));
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
    // "То" and "Т" are Cyrillic here.
    w.WordText(u("Расстояние от поверхности земли до верхнего края заземлителя: То = ") + to + u(" м.") +
               reportCr);
    w.WordText(u("Глубина заложения заземлителя: Т = ") + l + u("/2 + ") + to + u(" = ") + t + u(" м.") +
               reportCr);
    w.progress();
    w.WordText(u("Сопротивление растеканию заземлителя:") + reportCr);
    w.setAlignment(A::Center);
    w.WordText(l1("R = "));
    w.WordSymbol(l1("r"));
    w.WordText(u(" / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L)/(4*T-L))], Ом;") + reportCr);
    w.WordText(l1("R = ") + s.text(l1("EditRo")) + l1("/(2*3,14*") + l + l1(") * [Ln(2*") + l +
               QLatin1Char('/') + formatGeneral(d.value_or(0)) + l1(") + 0,5*Ln((4*") + t + QLatin1Char('+') +
               l + l1(")/(4*") + t + QLatin1Char('-') + l + l1("))]") +
               multiLineEnding(s.text(l1("EditVS1"))) + reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u("заземлитель"), parseNumber(s.text(l1("EditVS1"))).value_or(0));
    w.progress();
}

} // namespace kz::dvert
