#include "TruboCalc.h"

#include "calc/core/CalcCommon.h"
#include "calc/core/CalcOrder.h"
#include "calc/core/HistoryMapping.h"
#include "frames/NumberText.h"

#include <cmath>
#include <numbers>

namespace kz::trubo {

namespace {
QString u(const char* text) {
    return QString::fromUtf8(text);
}
QString l1(const char* text) {
    return QString::fromLatin1(text);
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = l1("TTruboFm");
    d.caption = u("Трубопровод в земле.");
    d.helpContext = 31;
    d.pictureFile = l1("goriz.bmp");
    d.formulaText = u("Расчетная формула:   R = p/П/L * Ln[L*L/(T*D)], Ом");
    d.conditionLines = {u("L >> D ")};

    GeometryInput length;
    length.name = l1("EditDlina");
    length.historyField = l1("L");
    length.label = u("L - длина трубопровода, м:");
    length.defaultText = l1("5");
    length.steps = {100, 10, 1};
    length.spinPrefix = l1("SpinButtonL");
    length.rangeName = l1("lblRangeL");
    length.rangeText = l1("( L > 2,8)");
    length.rangeHint =
        u("Диапазон допустимых значений длины трубопровода для текущего значения диаметра трубы");
    length.rangeFollows = {l1("cmbDiam")};
    GeometryInput diameter;
    diameter.name = l1("cmbDiam");
    diameter.historyField = l1("D1");
    diameter.label = u("D - диаметр трубы, м:");
    diameter.choiceTable = l1("TableTruboprov");
    diameter.choiceField = l1("Diam");
    diameter.choiceMaterial = u("трубы для трубопроводов");
    GeometryInput depth;
    depth.name = l1("EditGlub");
    depth.historyField = l1("T");
    depth.label = u("T - глубина заложения, м:");
    depth.defaultText = l1("0,7");
    depth.steps = {1, 0.1, 0.01};
    depth.spinPrefix = l1("SpinButtonT");
    d.geometry = {length, diameter, depth};

    using K = InputCheck::Kind;
    d.checks = {{K::Positive, l1("EditPKV"), u("коэффициента поправки")},
                {K::Filled, l1("ComboGrunt"), u("типа грунта")},
                {K::Positive, l1("EditRo0"), u("удельного сопротивления грунта")},
                {K::Positive, l1("EditDlina"), u("длины трубопровода")},
                {K::Positive, l1("EditGlub"), u("глубины заложения")},
                // An empty pipe table leaves no diameter to compute with.
                {K::Positive, l1("cmbDiam"), u("диаметра трубы")}};

    HistoryLayout& h = d.history;
    h.kindCode = 15;
    h.presetName = historyPresetName(d.caption);
    h.promptCaption = u("Введите наименование трубопровода.");
    h.promptLabel = u("Наименование трубопровода:");
    h.captions = {
        {u("Тип грунта:"), l1("Grunt")},        {u("Удельное сопротивление грунта, Ом м:"), l1("P")},
        {u("Коэффициент поправки:"), l1("KP")}, {u("Диаметр трубы, м:"), l1("D1")},
        {u("Глубина заложения, м:"), l1("T")},  {u("Длина трубопровода, м:"), l1("L")}};

    SelectionParameter pipeLength;
    pipeLength.name = u("Длина трубопровода, м");
    pipeLength.input = l1("EditDlina");
    pipeLength.start = l1("1");
    pipeLength.end = l1("50");
    pipeLength.step = l1("1");
    pipeLength.lower = l1("0,1");
    pipeLength.recommendation = u("начальное значение меньше конечного");
    pipeLength.heading = u("L, м");
    pipeLength.note = u("L, м - длина трубопровода, м");
    d.selection.kindCode = 15;
    d.selection.parameters = {pipeLength, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {l1("EditRo0"), l1("EditPKV"), l1("EditDlina")};

    d.report = report;
    d.linkedParameters = true;
    // Pressing the toggle acts as if the diameter had just been chosen.
    d.linkPressedInput = l1("cmbDiam");
    return d;
}
} // namespace

namespace {
const QString lengthInput = QStringLiteral("EditDlina");
const QString pipeInput = QStringLiteral("cmbDiam");
const QString depthInput = QStringLiteral("EditGlub");

class Pipeline : public Calculator {
public:
    Pipeline() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override {
        // With linking on, a pipe chosen moves the length it needs.
        if (changed != pipeInput || !in.linking)
            return {};
        const auto d = parseNumber(in.text(pipeInput));
        const auto l = parseNumber(in.text(lengthInput));
        if (!d || !l)
            return {};
        if (const auto linked = linkedLength(*d, *l))
            return {{lengthInput, formatGeneral(*linked)}};
        return {};
    }

    QString rangeLabel(const CalcInputs& in, const QString& label) const override {
        if (label == QLatin1String("lblRangeL"))
            return rangeText(in.text(pipeInput));
        return Calculator::rangeLabel(in, label);
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto d = in.number(pipeInput);
        const auto l = in.number(lengthInput);
        const auto t = in.number(depthInput);
        // The input checks have reported any of them missing.
        if (!d || !l || !t)
            return CheckFailure{};
        if (const auto error = geometryError(*d, *l, *t))
            return CheckFailure{*error, {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(QStringLiteral("EditRo0"));
        const auto kp = in.number(QStringLiteral("EditPKV"));
        const auto l = in.number(lengthInput);
        const auto d = in.number(pipeInput);
        const auto t = in.number(depthInput);
        if (!p0 || !kp || !l || !d || !t)
            return std::nullopt;
        return ComputeResistance(*p0, *kp, *l, *d, *t).r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(QStringLiteral("EditRo")), in.text(lengthInput), in.text(pipeInput),
                              in.text(depthInput), in.text(QStringLiteral("EditVS1")))};
    }
};
} // namespace

const Calculator& calculator() {
    static const Pipeline c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

Resistance ComputeResistance(long double p0, long double kp, long double l, long double d, long double t) {
    Resistance out;
    out.p = calculatedResistivity(p0, kp);
    out.r = roundResistance(out.p / std::numbers::pi_v<long double> / l * std::log(l * l / (t * d)));
    return out;
}

QString diameterMessage() {
    return u("Ошибка. Длина трубопровода должна быть больше диаметра трубы.");
}

QString shortPipeMessage() {
    return u("Ошибка. Длина трубопровода слишком мала: формула применима только при L*L > T*D.");
}

std::optional<QString> geometryError(long double d, long double l, long double t) {
    if (!(d < l))
        return diameterMessage();
    if (!(l * l > t * d))
        return shortPipeMessage();
    return std::nullopt;
}

std::optional<long double> linkedLength(long double d, long double l) {
    // D equal to L is refused as well, so it moves L too.
    if (d > 0 && l > 0 && d >= l)
        return d + 0.1L;
    return std::nullopt;
}

QString rangeText(const QString& diameterText) {
    const auto d = parseNumber(diameterText);
    if (!d || !(*d > 0))
        return {};
    return QStringLiteral("( L > ") + formatGeneral(*d) + QStringLiteral(" )");
}

QString calcOrderLine(const QString& roText, const QString& lText, const QString& dText, const QString& tText,
                      const QString& rText) {
    return QStringLiteral("R = ") + roText + QStringLiteral(" / (3,14*") + lText + QStringLiteral(") * Ln[") +
           lText + QLatin1Char('*') + lText + QStringLiteral("/ (") + dText + QLatin1Char('*') + tText +
           QStringLiteral(")]") + oneLineEnding(rText);
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString l = s.text(l1("EditDlina"));
    const QString d = s.text(l1("cmbDiam"));
    const QString t = s.text(l1("EditGlub"));
    const bool include = s.installation.include;

    w.WordTitle(descriptor().caption + reportCr + reportCr);
    w.progress();
    if (s.picture)
        w.WordPicture(descriptor().pictureFile);
    w.progress();
    if (include)
        w.WordInstallationParagraph(s.installation);
    w.WordText(u("В качестве заземляющего устройства используется трубопровод длиной L = ") + l +
               u(" м и диаметром трубы D = ") + d + u(" м.") + reportCr);
    w.WordSoilParagraph(s.text(l1("ComboGrunt")), s.text(l1("EditPKV")), s.text(l1("EditRo")),
                        parseNumber(s.text(l1("EditRo0"))).value_or(0));
    w.progress();
    // "Т" is Cyrillic here.
    w.WordText(u("Глубина заложения трубопровода: Т = ") + t + u(" м.") + reportCr);
    w.progress();
    w.WordText(u("Сопротивление растеканию трубопровода:") + reportCr);
    w.setAlignment(A::Center);
    w.WordText(l1("R = "));
    w.WordSymbol(l1("r"));
    w.WordText(u(" / (П*L) * Ln[L*L/(T*D)], Ом;") + reportCr);
    w.WordText(l1("R = ") + s.text(l1("EditRo")) + l1("/(3,14*") + l + l1(") * Ln[") + l + QLatin1Char('*') +
               l + l1("/(") + t + QLatin1Char('*') + d + l1(")]") + multiLineEnding(s.text(l1("EditVS1"))) +
               reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u("трубопровод"), parseNumber(s.text(l1("EditVS1"))).value_or(0));
    w.progress();
}

} // namespace kz::trubo
