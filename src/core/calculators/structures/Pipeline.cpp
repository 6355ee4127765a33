#include "core/calculators/structures/Pipeline.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/GeometryInputs.h"
#include "core/model/HistoryMapping.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::pipeline {

namespace {

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TTruboFm"_s;
    d.caption = u"Трубопровод в земле."_s;
    d.helpContext = 31;
    d.kindCode = 15;
    d.menuGroup = MenuGroup::BuildingStructures;
    d.menuCaption = u"Трубопроводы..."_s;
    d.pictureFile = u"goriz.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p/(2*П*L) * Ln[L*L/(T*D)], Ом"_s;
    d.weakConditions = {inputsCondition(u"L >> D"_s, u"L/D"_s, u"EditDlina"_s, 1, u"cmbDiam"_s, 1)};
    d.conditionLines = {u"L >> D "_s, u"L > 4T"_s};

    GeometryInput length;
    length.name = u"EditDlina"_s;
    length.historyField = u"L"_s;
    length.label = u"L - длина трубопровода, м:"_s;
    length.defaultText = u"5"_s;
    length.steps.sizes = {100, 10, 1};
    length.steps.prefix = u"SpinButtonL"_s;
    length.range.name = u"lblRangeL"_s;
    length.range.text = u"( L > 2,8)"_s;
    length.range.hint =
        u"Диапазон допустимых значений длины трубопровода для текущих значений диаметра трубы и глубины заложения"_s;
    length.range.follows = {u"cmbDiam"_s, u"EditGlub"_s};
    GeometryInput diameter;
    diameter.name = u"cmbDiam"_s;
    diameter.historyField = u"D1"_s;
    diameter.label = u"D - диаметр трубы, м:"_s;
    diameter.choice.emplace();
    diameter.choice->table = u"TableTruboprov"_s;
    diameter.choice->field = u"Diam"_s;
    diameter.choice->material = u"трубы для трубопроводов"_s;
    GeometryInput depth = electrodeDepthInput(u"EditGlub"_s, u"T - глубина заложения, м:"_s);
    d.geometry = {length, diameter, depth};

    using K = InputCheck::Kind;
    d.checks = {{K::Positive, u"EditPKV"_s, u"коэффициента поправки"_s},
                {K::Filled, u"ComboGrunt"_s, u"типа грунта"_s},
                {K::Positive, u"EditRo0"_s, u"удельного сопротивления грунта"_s},
                {K::Positive, u"EditDlina"_s, u"длины трубопровода"_s},
                {K::Positive, u"EditGlub"_s, u"глубины заложения"_s},
                // An empty pipe table leaves no diameter to compute with.
                {K::Positive, u"cmbDiam"_s, u"диаметра трубы"_s}};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.promptCaption = u"Введите наименование трубопровода."_s;
    h.promptLabel = u"Наименование трубопровода:"_s;
    h.captions = {{u"Тип грунта:"_s, u"Grunt"_s},        {u"Удельное сопротивление грунта, Ом м:"_s, u"P"_s},
                  {u"Коэффициент поправки:"_s, u"KP"_s}, {u"Диаметр трубы, м:"_s, u"D1"_s},
                  {u"Глубина заложения, м:"_s, u"T"_s},  {u"Длина трубопровода, м:"_s, u"L"_s}};

    SelectionParameter pipeLength;
    pipeLength.name = u"Длина трубопровода, м"_s;
    pipeLength.input = u"EditDlina"_s;
    pipeLength.start = u"1"_s;
    pipeLength.end = u"50"_s;
    pipeLength.step = u"1"_s;
    pipeLength.lower = u"0,1"_s;
    pipeLength.recommendation = u"начальное значение меньше конечного"_s;
    pipeLength.heading = u"L, м"_s;
    pipeLength.note = u"L, м - длина трубопровода, м"_s;
    d.selection.parameters = {pipeLength, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, u"EditDlina"_s};

    d.report = report;
    d.linkedParameters = true;
    // Pressing the toggle acts as if the diameter had just been chosen.
    d.linkPressedInput = u"cmbDiam"_s;
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
            return rangeText(in.text(pipeInput), in.text(depthInput));
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
    // A pipe in the ground is a buried horizontal electrode of diameter D.
    out.r = roundResistance(out.p / (2 * std::numbers::pi_v<long double> * l) * std::log(l * l / (t * d)));
    return out;
}

QString diameterMessage() {
    return u"Ошибка. Длина трубопровода должна быть больше диаметра трубы."_s;
}

QString shortPipeMessage() {
    return u"Ошибка. Длина трубопровода должна быть больше четырехкратной глубины заложения (L > 4T): "
           u"при меньшей длине формула неприменима."_s;
}

std::optional<QString> geometryError(long double d, long double l, long double t) {
    if (!(d < l))
        return diameterMessage();
    // As for the buried strip: nearer L² = T·D the logarithm falls to 0 and R with it.
    if (!(l > 4 * t))
        return shortPipeMessage();
    return std::nullopt;
}

std::optional<long double> linkedLength(long double d, long double l) {
    // D equal to L is refused as well, so it moves L too.
    if (d > 0 && l > 0 && d >= l)
        return d + 0.1L;
    return std::nullopt;
}

QString rangeText(const QString& diameterText, const QString& depthText) {
    const auto d = parseNumber(diameterText);
    if (!d || !(*d > 0))
        return {};
    long double bound = *d;
    if (const auto t = parseNumber(depthText); t && 4 * *t > bound)
        bound = 4 * *t;
    return QStringLiteral("( L > ") + formatGeneral(bound) + QStringLiteral(" )");
}

QString calcOrderLine(const QString& roText, const QString& lText, const QString& dText, const QString& tText,
                      const QString& rText) {
    return QStringLiteral("R = ") + roText + QStringLiteral(" / (2*3,14*") + lText +
           QStringLiteral(") * Ln[") + lText + QLatin1Char('*') + lText + QStringLiteral("/ (") + dText +
           QLatin1Char('*') + tText + QStringLiteral(")]") + oneLineEnding(rText);
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString l = s.text(u"EditDlina"_s);
    const QString d = s.text(u"cmbDiam"_s);
    const QString t = s.text(u"EditGlub"_s);
    const bool include = s.installation.include;

    ReportOpening opening{descriptor().caption, descriptor().pictureFile};
    opening.beforeSoil = u"В качестве заземляющего устройства используется трубопровод длиной L = "_s + l +
                         u" м и диаметром трубы D = "_s + d + u" м."_s + reportCr;
    writeReportOpening(w, s, opening);
    // "Т" is Cyrillic here.
    w.WordText(u"Глубина заложения трубопровода: Т = "_s + t + u" м."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию трубопровода:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (2*П*L) * Ln[L*L/(T*D)], Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(2*3,14*"_s + l + u") * Ln["_s + l + QLatin1Char('*') +
               l + u"/("_s + t + QLatin1Char('*') + d + u")]"_s + multiLineEnding(s.text(u"EditVS1"_s)) +
               reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u"трубопровод"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

} // namespace kz::pipeline
