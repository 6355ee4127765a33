#include "GBFundCalc.h"

#include "calc/core/CalcCommon.h"
#include "frames/NumberText.h"
#include "reference/PekvRules.h"

#include <cmath>

namespace kz::gbfund {

namespace {
QString u(const char* text) {
    return QString::fromUtf8(text);
}
QString l1(const char* text) {
    return QString::fromLatin1(text);
}

GeometryInput input(const char* name, const char* label, const char* text, QList<double> steps,
                    const char* spinPrefix) {
    GeometryInput g;
    g.name = l1(name);
    g.label = u(label);
    g.defaultText = l1(text);
    g.steps = steps;
    g.spinPrefix = l1(spinPrefix);
    return g;
}

SelectionParameter parameter(const char* name, const char* input, const char* start, const char* end,
                             const char* recommendation, const char* heading, const char* note) {
    SelectionParameter p;
    p.name = u(name);
    p.input = l1(input);
    p.start = l1(start);
    p.end = l1(end);
    p.step = l1("1");
    p.recommendation = u(recommendation);
    p.heading = u(heading);
    p.note = u(note);
    return p;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = l1("TGBFundFm");
    d.caption = u("Железобетонный фундамент здания.");
    d.helpContext = 30;
    d.soilFrame = false;
    d.multiLineOrder = true;
    d.resultMask = l1("0.00");
    d.installationResistivityInput = l1("EditPekv");

    GeometryInput pekv = input("EditPekv", "pэ - эквивалентное удельное сопротивление грунта, Ом м:", "100",
                               {100, 10, 1}, "btnP");
    pekv.button = l1("btnPekv");
    pekv.buttonHint = u("Вызов диалога расчета эквивалентного удельного сопротивления грунта");
    GeometryInput a = input("EditA", "а - длина , м:", "", {10, 1, 0.1}, "btnA");
    GeometryInput b = input("EditB", "b - ширина , м:", "", {10, 1, 0.1}, "btnB");
    GeometryInput s = input("EditS", "S - площадь по периметру, м2:", "100", {100, 10, 1, 0.1}, "btnS");
    for (GeometryInput* g : {&a, &b, &s}) {
        g->group = u(" Параметры здания ");
        // a and b may stay empty; a filled one must be a number.
        g->emptyAllowed = true;
    }
    d.geometry = {pekv, a, b, s};

    using K = InputCheck::Kind;
    d.checks = {InputCheck{K::Positive, l1("EditPekv"), u("эквивалентного удельного сопротивления грунта")},
                InputCheck{K::Filled, l1("EditS"), u("площади здания по периметру")}};
    d.soilRangeCheck = false;
    d.requiredInputs = {l1("EditS"), l1("EditPekv")};
    d.inputOrder = {l1("EditPekv"), l1("EditA"), l1("EditB"), l1("EditS")};
    d.copyInputs = d.inputOrder;

    HistoryLayout& h = d.history;
    h.kindCode = 30;
    h.presetName = u("Железобетонный фундамент 1.");
    h.fields = {{l1("P"), l1("EditPekv")},
                {l1("A"), l1("EditA")},
                {l1("B"), l1("EditB")},
                {l1("S"), l1("EditS")},
                {l1("R"), l1("EditVS1"), false}};
    h.captions = {{u("Эквивалентное сопротивление земли, Ом м:"), l1("P")},
                  {u("Длина фундамента, м:"), l1("A")},
                  {u("Ширина фундамента, м:"), l1("B")},
                  {u("Площадь фундамента, м2:"), l1("S")}};

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
    d.selection.kindCode = 30;
    d.selection.parameters = {p, length, width, area};
    d.selection.writeBack = {l1("EditPekv"), l1("EditA"), l1("EditB"), l1("EditS")};
    return d;
}
} // namespace

const CalculatorDescriptor& descriptor() {
    static const CalculatorDescriptor d = makeDescriptor();
    return d;
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
    return u("Ошибка. Площадь здания должна быть больше 0.");
}

QStringList calcOrder(const InstallationValues& eu, const OrderTexts& t, QString* pekvShown) {
    CalcOrderText o;
    o.begin();
    o.installation(eu);
    o.line(u("Площадь производственного здания из сборного железобетона: S = ") + t.s + u(" кв. м."));
    QString pekv = t.pekv;
    const auto p1 = t.layers ? parseNumber(t.layers->p1) : std::nullopt;
    const auto p2 = t.layers ? parseNumber(t.layers->p2) : std::nullopt;
    const auto h = t.layers ? parseNumber(t.layers->h) : std::nullopt;
    const auto s = parseNumber(t.s);
    const auto recomputed =
        p1 && p2 && h && s ? pekv::equivalentResistivity(pekv::Form::Area, *p1, *p2, *h, *s) : std::nullopt;
    if (recomputed) {
        pekv = pekv::equivalentResistivityText(*recomputed);
        const bool upperHigher = *p1 >= *p2;
        const QString a = upperHigher ? u("3,6") : u("110");
        const QString b = upperHigher ? u("0,1") : u("0,003");
        o.line(u("Расчет эквивалентного удельного сопротивления грунта:"));
        o.line(u("- удельное электрическое сопротивление верхнего слоя земли: p1 = ") + t.layers->p1 +
               u(" Ом м;"));
        o.line(u("- удельное электрическое сопротивление нижнего слоя земли: p2 = ") + t.layers->p2 +
               u(" Ом м;"));
        o.line(u("- мощность (толщина) верхнего слоя земли: H = ") + t.layers->h + u(" м;"));
        o.line(u("- безразмерный коэффициент A и безразмерный коэффициент B, зависящие от соотношения "
                 "электрических сопротивлений слоев земли:"));
        o.line(upperHigher ? u("так как p1 >= p2, то A = 3,6; B = 0,1;")
                           : u("так как p1 < p2, то A = 110; B = 0,003;"));
        o.line(u("- эквивалентное удельное электрическое сопротивление земли:"));
        o.line(u("pэ = p1*(1-е**(-A*H/Корень(S))) + p2*(1-е**(-B*Корень(S)/H)), Ом м;"));
        o.line(u("pэ = ") + t.layers->p1 + u("*(1-e**(-") + a + u("*") + t.layers->h + u("/Корень(") + t.s +
               u("))) + ") + t.layers->p2 + u("*(1-e**(-") + b + u("*Корень(") + t.s + u(")/") + t.layers->h +
               u(")) = ") + pekv + u(" Ом м."));
    } else {
        o.line(u("Эквивалентное удельное сопротивление грунта: pэ = ") + pekv + u(" Ом м."));
    }
    if (pekvShown)
        *pekvShown = pekv;
    o.line(u("Сопротивление растеканию железобетонного фундамента здания:"));
    o.line(u("Rр = 0,52 * pэ / Корень(S);"));
    o.line(u("Rр = 0,52 * ") + pekv + u(" / Корень(") + t.s + u(") = ") + t.r + u(" Ом."));
    o.verdict(eu, u("фундамент здания"), u("Rр"), t.rValue);
    return o.lines();
}

} // namespace kz::gbfund
