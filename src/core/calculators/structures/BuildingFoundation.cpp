#include "core/calculators/structures/BuildingFoundation.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/OrderReport.h"
#include "core/rules/PekvRules.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz::buildingfoundation {

namespace {
QString l1(const char* text) {
    return QString::fromLatin1(text);
}

GeometryInput input(const char* name, const char* label, const char* text, QList<double> steps,
                    const char* spinPrefix) {
    GeometryInput g;
    g.name = l1(name);
    g.label = QString::fromUtf8(label);
    g.defaultText = l1(text);
    g.steps.sizes = steps;
    g.steps.prefix = l1(spinPrefix);
    return g;
}

SelectionParameter parameter(const char* name, const char* input, const char* start, const char* end,
                             const char* recommendation, const char* heading, const char* note) {
    SelectionParameter p;
    p.name = QString::fromUtf8(name);
    p.input = l1(input);
    p.start = l1(start);
    p.end = l1(end);
    p.step = u"1"_s;
    p.recommendation = QString::fromUtf8(recommendation);
    p.heading = QString::fromUtf8(heading);
    p.note = QString::fromUtf8(note);
    return p;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TGBFundFm"_s;
    d.caption = u"Железобетонный фундамент здания."_s;
    d.helpContext = 30;
    d.kindCode = 30;
    d.menuGroup = MenuGroup::BuildingStructures;
    d.menuCaption = u"Железобетонные фундаменты зданий..."_s;
    d.soilFrame = false;
    d.multiLineOrder = true;
    d.resultMask = u"0.00"_s;
    d.installationResistivityInput = u"EditPekv"_s;
    d.equivalentResistivity = EquivalentResistivitySetup{
        u"EditPekv"_s,         u"btnPekv"_s, u"EditS"_s,
        int(pekv::Form::Area), u"chkPekv"_s, u"Включить порядок расчета р эквивалентного"_s};

    GeometryInput pekv = input("EditPekv", "pэ - эквивалентное удельное сопротивление грунта, Ом м:", "100",
                               {100, 10, 1}, "btnP");
    pekv.button.name = u"btnPekv"_s;
    pekv.button.hint = u"Вызов диалога расчета эквивалентного удельного сопротивления грунта"_s;
    pekv.button.needs = u"EditS"_s;
    GeometryInput a = input("EditA", "а - длина , м:", "", {10, 1, 0.1}, "btnA");
    GeometryInput b = input("EditB", "b - ширина , м:", "", {10, 1, 0.1}, "btnB");
    GeometryInput s = input("EditS", "S - площадь по периметру, м2:", "100", {100, 10, 1, 0.1}, "btnS");
    for (GeometryInput* g : {&a, &b, &s}) {
        g->group = u" Параметры здания "_s;
        // a and b may stay empty; a filled one must be a number.
        g->emptyAllowed = true;
    }
    a.required = false;
    b.required = false;
    pekv.historyField = u"P"_s;
    a.historyField = u"A"_s;
    b.historyField = u"B"_s;
    s.historyField = u"S"_s;
    d.geometry = {pekv, a, b, s};

    using K = InputCheck::Kind;
    d.checks = {InputCheck{K::Positive, u"EditPekv"_s, u"эквивалентного удельного сопротивления грунта"_s},
                InputCheck{K::Filled, u"EditS"_s, u"площади здания по периметру"_s}};
    d.soilRangeCheck = false;

    HistoryLayout& h = d.history;
    h.presetName = u"Железобетонный фундамент 1."_s;
    h.captions = {{u"Эквивалентное сопротивление земли, Ом м:"_s, u"P"_s},
                  {u"Длина фундамента, м:"_s, u"A"_s},
                  {u"Ширина фундамента, м:"_s, u"B"_s},
                  {u"Площадь фундамента, м2:"_s, u"S"_s}};

    SelectionParameter p = parameter("Эквивалентное удельное сопротивление грунта, Ом м", "EditPekv", "150",
                                     "40", "начальное значение больше конечного", "рэ, Ом м",
                                     "рэ, Ом м - эквивалентное удельное сопротивление грунта, Ом м");
    SelectionParameter length =
        parameter("Длина здания, м", "EditA", "5", "50", "начальное значение меньше конечного", "a, м",
                  "a, м - длина здания, м");
    SelectionParameter width =
        parameter("Ширина здания, м", "EditB", "5", "50", "начальное значение меньше конечного", "b, м",
                  "b, м - ширина здания, м");
    SelectionParameter area =
        parameter("Площадь здания, м2", "EditS", "50", "2500", "начальное значение меньше конечного", "S, м",
                  "S, м - площадь здания, м2");
    d.selection.parameters = {p, length, width, area};
    d.selection.writeBack = {u"EditPekv"_s, u"EditA"_s, u"EditB"_s, u"EditS"_s};
    d.report = calcOrderReport(d.caption, d.orderMemoName);
    d.reportSteps = 3;
    return d;
}
} // namespace

namespace {
const QString pekvInput = QStringLiteral("EditPekv");
const QString lengthInput = QStringLiteral("EditA");
const QString widthInput = QStringLiteral("EditB");
const QString areaInput = QStringLiteral("EditS");
const QString includeInput = QStringLiteral("chkPekv");

class BuildingFoundation : public Calculator {
public:
    BuildingFoundation() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override {
        QMap<QString, QString> out;
        if (changed == lengthInput || changed == widthInput) {
            const auto a = in.positive(lengthInput);
            const auto b = in.positive(widthInput);
            if (a && b)
                out.insert(areaInput, areaText(*a, *b));
        } else if (changed == areaInput) {
            // An area typed by hand detaches it from the length and width.
            if (!in.filled(lengthInput))
                out.insert(widthInput, {});
            if (!in.filled(widthInput))
                out.insert(lengthInput, {});
            const auto a = in.positive(lengthInput);
            const auto b = in.positive(widthInput);
            if (a && b && in.positive(areaInput) && in.text(areaInput) != areaText(*a, *b)) {
                out.insert(lengthInput, {});
                out.insert(widthInput, {});
            }
            // The layers no longer give this resistivity.
            out.insert(includeInput, {});
        } else if (changed == pekvInput) {
            out.insert(includeInput, {});
        }
        return out;
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        // A text that is no number is said to be one, not to be below 0.
        if (!in.run && !parseNumber(in.text(areaInput)))
            return CheckFailure{*positiveMessage(in.text(areaInput), u"площади здания по периметру"_s),
                                areaInput};
        const auto s = in.number(areaInput);
        if (!s || *s <= 0)
            return CheckFailure{areaMessage(), areaInput};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p = in.number(pekvInput);
        const auto s = in.number(areaInput);
        if (!p || !s)
            return std::nullopt;
        const auto r = ComputeResistance(*p, *s);
        if (!r)
            return std::nullopt;
        // A run shows nothing beside the result until it ends, when the window presents the result
        // afresh: the calculation order is not written for every combination.
        if (in.selectionRunning())
            return r;
        // The resistivity recomputed from the layers is the one the order shows; the input shows it too.
        QString pekvShown;
        buildingfoundation::calcOrder(in.installation, orderTexts(in, QString()), &pekvShown);
        if (pekvShown != in.text(pekvInput))
            shown.insert(pekvInput, pekvShown);
        return r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return buildingfoundation::calcOrder(in.installation,
                                             orderTexts(in, in.text(QStringLiteral("EditVS1"))));
    }

    QList<SelectionParameter> selectionOffer(const CalcInputs& in) const override {
        // The sides while both are known, otherwise the area itself.
        const bool sides = in.filled(lengthInput) && in.filled(widthInput);
        QList<SelectionParameter> offer;
        for (const SelectionParameter& p : description().selection.parameters) {
            const bool side = p.input == lengthInput || p.input == widthInput;
            const bool area = p.input == areaInput;
            if ((side && !sides) || (area && sides))
                continue;
            offer << p;
        }
        return offer;
    }

    Preparation prepareSingleSelection(const CalcInputs& in, const SelectionParameter& p) const override {
        if (p.input == lengthInput && !in.filled(widthInput))
            return {u"Ошибка. Перед подбором параметра \"Длина здания, м\" (поле \"а - длина, м\") "
                    u"заполните поле \"b - ширина, м\"."_s,
                    {}};
        if (p.input == widthInput && !in.filled(lengthInput))
            return {u"Ошибка. Перед подбором параметра \"Ширина здания, м\" (поле \"b - ширина, м\") "
                    u"заполните поле \"а - длина, м\"."_s,
                    {}};
        if (p.input == areaInput)
            return {std::nullopt, {lengthInput, widthInput}};
        return {};
    }

    void deriveSelectionValues(QMap<QString, long double>& values) const override {
        if (values.contains(lengthInput) && values.contains(widthInput) && values.value(lengthInput) > 0 &&
            values.value(widthInput) > 0)
            values.insert(areaInput, roundTo(values.value(lengthInput) * values.value(widthInput), 2));
    }

private:
    static OrderTexts orderTexts(const CalcInputs& in, const QString& r) {
        OrderTexts t;
        t.s = in.text(areaInput);
        t.pekv = in.text(pekvInput);
        t.r = r;
        t.rValue = double(parseNumber(r).value_or(0));
        if (in.filled(includeInput))
            t.layers = Layers{in.text(QStringLiteral("pekv.p1")), in.text(QStringLiteral("pekv.p2")),
                              in.text(QStringLiteral("pekv.h"))};
        return t;
    }
};
} // namespace

const Calculator& calculator() {
    static const BuildingFoundation c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

std::optional<long double> ComputeResistance(long double pekv, long double s) {
    if (!(s > 0))
        return std::nullopt;
    return roundResistance(0.52L * pekv / std::sqrt(s));
}

QString areaText(long double a, long double b) {
    return formatGeneral(roundTo(a * b, 2));
}

QString areaMessage() {
    return u"Ошибка. Площадь здания должна быть больше 0."_s;
}

std::optional<QString> equivalentResistivityLines(CalcOrderText& o, const QString& area,
                                                  const std::optional<Layers>& layers) {
    const auto p1 = layers ? parseNumber(layers->p1) : std::nullopt;
    const auto p2 = layers ? parseNumber(layers->p2) : std::nullopt;
    const auto h = layers ? parseNumber(layers->h) : std::nullopt;
    const auto s = parseNumber(area);
    if (!p1 || !p2 || !h || !s)
        return std::nullopt;
    const auto recomputed = pekv::equivalentResistivity(pekv::Form::Area, *p1, *p2, *h, *s);
    if (!recomputed)
        return std::nullopt;
    const QString pekv = pekv::equivalentResistivityText(*recomputed);
    const bool upperHigher = *p1 >= *p2;
    const QString a = upperHigher ? u"3,6"_s : u"110"_s;
    const QString b = upperHigher ? u"0,1"_s : u"0,003"_s;
    o.line(u"Расчет эквивалентного удельного сопротивления грунта:"_s);
    o.line(u"- удельное электрическое сопротивление верхнего слоя земли: p1 = "_s + layers->p1 + u" Ом м;"_s);
    o.line(u"- удельное электрическое сопротивление нижнего слоя земли: p2 = "_s + layers->p2 + u" Ом м;"_s);
    o.line(u"- мощность (толщина) верхнего слоя земли: H = "_s + layers->h + u" м;"_s);
    o.line(u"- безразмерный коэффициент A и безразмерный коэффициент B, зависящие от соотношения "
           u"электрических сопротивлений слоев земли:"_s);
    o.line(upperHigher ? u"так как p1 >= p2, то A = 3,6; B = 0,1;"_s
                       : u"так как p1 < p2, то A = 110; B = 0,003;"_s);
    o.line(u"- эквивалентное удельное электрическое сопротивление земли:"_s);
    o.line(u"pэ = p1*(1-е**(-A*H/Корень(S))) + p2*(1-е**(-B*Корень(S)/H)), Ом м;"_s);
    o.line(u"pэ = "_s + layers->p1 + u"*(1-e**(-"_s + a + u"*"_s + layers->h + u"/Корень("_s + area +
           u"))) + "_s + layers->p2 + u"*(1-e**(-"_s + b + u"*Корень("_s + area + u")/"_s + layers->h +
           u")) = "_s + pekv + u" Ом м."_s);
    return pekv;
}

QStringList calcOrder(const InstallationValues& eu, const OrderTexts& t, QString* pekvShown) {
    CalcOrderText o;
    o.begin();
    o.installation(eu);
    o.line(u"Площадь производственного здания из сборного железобетона: S = "_s + t.s + u" кв. м."_s);
    QString pekv = t.pekv;
    if (const auto recomputed = equivalentResistivityLines(o, t.s, t.layers))
        pekv = *recomputed;
    else
        o.line(u"Эквивалентное удельное сопротивление грунта: pэ = "_s + pekv + u" Ом м."_s);
    if (pekvShown)
        *pekvShown = pekv;
    o.line(u"Сопротивление растеканию железобетонного фундамента здания:"_s);
    o.line(u"Rр = 0,52 * pэ / Корень(S);"_s);
    o.line(u"Rр = 0,52 * "_s + pekv + u" / Корень("_s + t.s + u") = "_s + t.r + u" Ом."_s);
    o.verdict(eu, u"фундамент здания"_s, u"Rр"_s, t.rValue);
    return o.lines();
}

} // namespace kz::buildingfoundation
