#include "core/calculators/rods/BuriedRod.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/Calculator.h"
#include "core/model/GeometryInputs.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::buriedrod {

namespace {

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TDVertFm"_s;
    d.caption = u"Вертикальный заземлитель в земле."_s;
    d.helpContext = 18;
    d.kindCode = 4;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Вертикальный заземлитель в земле..."_s;
    d.pictureFile = u"vert.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L) / (4*T-L))], Ом"_s;
    d.weakConditions = {diameterCondition(u"L >> D"_s, u"L/D"_s, u"EditDlina"_s)};
    d.conditionLines = {u"L >> D; Tо >= 0,5 м "_s, u"Для полосы шириной B:  D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s};
    d.construction = ConstructionSetup{u"D"_s, u"B"_s, u"вертикальный"_s};

    GeometryInput length = electrodeLengthInput(u"EditDlina"_s, u"L - длина стержня, м:"_s, u"SpinButtonA"_s);
    GeometryInput depth = electrodeDepthInput(u"EditGlub"_s, u"Tо - расстояние от поверхности земли, м:"_s);
    depth.range.name = u"lblRangeTo"_s;
    depth.range.text = u"( To >= 0,5 )"_s;
    depth.range.hint = u"Диапазон допустимых значений глубины заложения"_s;
    GeometryInput middle;
    middle.name = u"EditT"_s;
    middle.label = u"T - глубина заложения, м:"_s;
    middle.readOnly = true;
    d.geometry = {length, depth, middle};

    using K = InputCheck::Kind;
    d.checks = soilAndConstructionChecks(K::Positive);
    d.checks << InputCheck{K::Positive, u"EditDlina"_s, u"длины заземлителя"_s}
             << InputCheck{K::Positive, u"EditGlub"_s, u"глубины заложения"_s};
    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u"Расстояние от поверхности земли до заземлителя, м:"_s, u"T"_s}
               << HistoryCaption{u"Длина стержня, м:"_s, u"L"_s};

    SelectionParameter rodLength = rodLengthSelection();
    // "To" with a Latin T and o; the note writes a Latin T and a Cyrillic о.
    rodLength.columns = {
        {u"EditGlub"_s, u"To, м"_s, u"Tо, м - расстояние от поверхности земли до стержня, м"_s}};
    d.selection.parameters = {rodLength, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, u"EditDlina"_s, u"EditGlub"_s, u"EditT"_s};

    d.report = report;

    // The soil frame's coefficient input keeps neither its key filter nor its exit check here.
    d.coefficientInputChecks = false;
    return d;
}
} // namespace

SelectionParameter rodLengthSelection() {
    SelectionParameter length;
    length.name = u"Длина стержня, м"_s;
    length.input = u"EditDlina"_s;
    length.start = u"1"_s;
    length.end = u"5"_s;
    length.step = u"1"_s;
    length.lower = u"0,5"_s;
    length.recommendation = u"начальное значение меньше конечного"_s;
    length.heading = u"L, м"_s;
    length.note = u"L, м - длина стержня, м"_s;
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
        return {calcOrderLine(in.text(QStringLiteral("EditRo")), in.text(lengthInput),
                              in.diameter.value_or(0), in.text(middleInput),
                              in.text(QStringLiteral("EditVS1")))};
    }

    void deriveSelectionValues(QMap<QString, long double>& values) const override {
        if (values.contains(lengthInput) && values.contains(depthInput))
            values.insert(middleInput,
                          roundTo(middleDepth(values.value(lengthInput), values.value(depthInput)), 2));
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
    return u"Ошибка. Длина вертикального стержня должна быть больше диаметра."_s;
}

QString depthMessage() {
    return u"Ошибка. Глубина заложения должна быть больше либо равна 0,5 м."_s;
}

std::optional<QString> geometryError(long double d, long double l, long double to) {
    if (!(d < l))
        return diameterMessage();
    if (auto error = stubbyElectrodeError(l, d, u"вертикального стержня"_s))
        return error;
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
    const QString l = s.text(u"EditDlina"_s);
    const QString to = s.text(u"EditGlub"_s);
    const QString t = s.text(u"EditT"_s);
    const bool include = s.installation.include;

    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой вертикальный заземлитель длиной L = "_s + l +
               u" м."_s + reportCr);
    const auto d = w.WordConstructionParagraph(s.text(u"cmbSech"_s), s.text(u"cmbDiam"_s),
                                               s.text(u"EditDiam"_s), u"D"_s);
    w.progress();
    // "То" and "Т" are Cyrillic here.
    w.WordText(u"Расстояние от поверхности земли до верхнего края заземлителя: То = "_s + to + u" м."_s +
               reportCr);
    w.WordText(u"Глубина заложения заземлителя: Т = "_s + l + u"/2 + "_s + to + u" = "_s + t + u" м."_s +
               reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L)/(4*T-L))], Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(2*3,14*"_s + l + u") * [Ln(2*"_s + l + QLatin1Char('/') +
               formatGeneral(d.value_or(0)) + u") + 0,5*Ln((4*"_s + t + QLatin1Char('+') + l + u")/(4*"_s +
               t + QLatin1Char('-') + l + u"))]"_s + multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

} // namespace kz::buriedrod
