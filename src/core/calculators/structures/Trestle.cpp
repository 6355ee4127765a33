#include "core/calculators/structures/Trestle.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/rules/PekvRules.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz::trestle {

namespace {
const QString typeInput = u"rdgTip"_s;
const QString pipesInput = u"SpinTrub"_s;
const QString zoInput = u"EditZ0"_s;
const QString lengthInput = u"EditL"_s;
const QString pekvInput = u"EditPekv"_s;
const QString spacingInput = u"EditRas"_s;
const QString sizeInput = u"EditRazmer"_s;
const QString depthInput = u"EditGlub"_s;
const QString roField = u"EditR0"_s;
const QString rpField = u"EditRp"_s;
const QString includeInput = u"chkPekv"_s;

const QStringList& typeItems() {
    static const QStringList items = {u"технологическая эстакада"_s, u"кабельная галерея"_s};
    return items;
}

GeometryInput input(const QString& name, const QString& label, const QString& text, QList<double> steps,
                    const QString& history) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.defaultText = text;
    g.steps.sizes = steps;
    g.steps.prefix = u"SpinButton"_s + name.mid(4);
    g.historyField = history;
    return g;
}

GeometryInput shownField(const QString& name, const QString& label) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.readOnly = true;
    g.clearedWithResult = true;
    return g;
}

SelectionParameter parameter(const QString& name, const QString& in, const QString& start, const QString& end,
                             const QString& step, const QString& recommendation, const QString& heading,
                             const QString& note) {
    SelectionParameter p;
    p.name = name;
    p.input = in;
    p.start = start;
    p.end = end;
    p.step = step;
    p.recommendation = recommendation;
    p.heading = heading;
    p.note = note;
    return p;
}

void report(ReportBuilder& w, const ReportSource& s);

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TEstakFm"_s;
    d.caption = u"Технологическая эстакада (кабельная галерея)."_s;
    d.helpContext = 32;
    d.kindCode = 31;
    d.menuGroup = MenuGroup::BuildingStructures;
    d.menuCaption = u"Технологические эстакады..."_s;
    d.soilFrame = false;
    d.soilRangeCheck = false;
    d.multiLineOrder = true;
    d.resultName = u"EditRvh"_s;
    d.resultLabel = u"Rвх - входное сопротивление, Ом:"_s;
    d.installationResistivityInput = pekvInput;
    d.equivalentResistivity =
        EquivalentResistivitySetup{pekvInput,    u"btnPekv"_s,
                                   lengthInput,  int(pekv::Form::Length),
                                   includeInput, u"Включить порядок расчета р эквивалентного"_s};
    d.tablesDialog =
        TablesDialogSetup{u"TZ05Form"_s, zoInput, u"Таблицы входных сопротивлений технологических эстакад"_s};

    const QString trestle = u" Параметры технологической эстакады (кабельной галереи) "_s;
    const QString foundation = u" Параметры фундамента опоры "_s;
    GeometryInput type;
    type.name = typeInput;
    type.label = u" Тип "_s;
    type.radio.emplace();
    type.radio->items = typeItems();
    type.defaultText = typeItems().first();
    type.historyField = u"Grunt"_s;
    GeometryInput pipes;
    pipes.name = pipesInput;
    pipes.label = u"Количество проложенных труб, шт.:"_s;
    pipes.defaultText = u"1"_s;
    pipes.spin.emplace();
    pipes.spin->minimum = 1;
    pipes.spin->maximum = 10;
    pipes.historyField = u"N"_s;
    GeometryInput zo = shownField(zoInput, u"Zo - продольное сопротивление, Ом/км:"_s);
    zo.clearedWithResult = false;
    GeometryInput length = input(lengthInput, u"L - длина, км:"_s, u"3"_s, {1, 0.1, 0.01, 0.001}, u"L"_s);
    GeometryInput pekv = input(pekvInput, u"pэ - эквивалентное удельное сопротивление грунта, Ом м:"_s,
                               u"100"_s, {100, 10, 1}, u"P"_s);
    pekv.button.name = u"btnPekv"_s;
    pekv.button.hint = u"Вызов диалога расчета эквивалентного удельного сопротивления грунта"_s;
    pekv.button.needs = lengthInput;
    GeometryInput spacing =
        input(spacingInput, u"а - расстояние между соседними опорами, м:"_s, u"24"_s, {1, 0.1, 0.01}, u"A"_s);
    GeometryInput size =
        input(sizeInput, u"D - наибольший горизонтальный размер, м:"_s, u"2,6"_s, {1, 0.1, 0.01}, u"D1"_s);
    GeometryInput depth = input(depthInput, u"T - глубина заложения, м:"_s, u"6"_s, {1, 0.1, 0.01}, u"T"_s);
    GeometryInput ro = shownField(roField, u"Ro - сопротивление растеканию тока, Ом:"_s);
    for (GeometryInput* g : {&type, &pipes, &zo, &length, &pekv, &spacing})
        g->group = trestle;
    for (GeometryInput* g : {&size, &depth, &ro})
        g->group = foundation;
    d.geometry = {
        type,    pipes, zo,    length, pekv,
        spacing, size,  depth, ro,     shownField(rpField, u"Rп - переходное сопротивление, Ом км:"_s)};

    using K = InputCheck::Kind;
    d.checks = {{K::Positive, pekvInput, u"эквивалентного удельного сопротивления грунта"_s},
                {K::Filled, lengthInput, u"длины технологической эстакады (кабельной галереи)"_s},
                {K::Filled, sizeInput, u"наибольшего горизонтального размера фундамента опоры"_s},
                {K::Positive, depthInput, u"глубины заложения фундамента опоры"_s},
                {K::Positive, spacingInput, u"расстояния между соседними опорами"_s}};

    HistoryLayout& h = d.history;
    h.presetName = u"Технологическая эстакада 1."_s;
    h.captions = {{u"Тип:"_s, u"Grunt"_s},
                  {u"Количество проложенных труб, шт.:"_s, u"N"_s},
                  {u"Длина, км:"_s, u"L"_s},
                  {u"Эквивалентное удельное сопротивление грунта, Ом м:"_s, u"P"_s},
                  {u"Наибольший горизонтальный размер фундамента, м:"_s, u"D1"_s},
                  {u"Глубина заложения фундамента, м:"_s, u"T"_s},
                  {u"Расстояние между соседними опорами, м:"_s, u"A"_s}};

    const QString rising = u"начальное значение меньше конечного"_s;
    SelectionParameter l = parameter(u"Длина, км"_s, lengthInput, u"0,05"_s, u"5"_s, u"0,01"_s, rising,
                                     u"L, км"_s, u"L, км - длина, км"_s);
    l.lower = u"0,05"_s;
    l.upper = u"5"_s;
    d.selection.parameters = {
        l,
        parameter(u"Эквивалентное удельное сопротивление грунта, Ом м"_s, pekvInput, u"150"_s, u"40"_s,
                  u"1"_s, u"начальное значение больше конечного"_s, u"рэ, Ом м"_s,
                  u"pэ, Ом м - эквивалентное удельное сопротивление грунта, Ом м"_s),
        parameter(u"Наибольший горизонтальный размер фундамента, м"_s, sizeInput, u"2"_s, u"12"_s, u"1"_s,
                  rising, u"D, м"_s, u"D, м - наибольший горизонтальный размер фундамента, м"_s),
        parameter(u"Расстояние между соседними опорами, м"_s, spacingInput, u"5"_s, u"20"_s, u"1"_s, rising,
                  u"a, м"_s, u"a, м - расстояние между соседними опорами, м"_s)};
    d.selection.writeBack = {lengthInput, pekvInput, sizeInput, spacingInput};
    d.report = report;
    return d;
}

bool gallery(const CalcInputs& in) {
    return in.text(typeInput) == typeItems().at(1);
}

struct Values {
    long double ro = 0, rp = 0;
    InputLookup input;
};

// Ro, Rп and the look-up for checked inputs; nullopt when a number is missing.
std::optional<Values> evaluateValues(const CalcInputs& in) {
    const auto p = in.number(pekvInput);
    const auto l = in.number(lengthInput);
    const auto d = in.number(sizeInput);
    const auto t = in.number(depthInput);
    const auto a = in.number(spacingInput);
    if (!p || !l || !d || !t || !a)
        return std::nullopt;
    Values v;
    v.ro = foundationResistance(*p, *d, *t);
    v.rp = transitionalResistance(v.ro, *a, *p);
    const QString table = tableOf(in.text(zoInput));
    if (in.tables && !table.isEmpty())
        v.input = inputResistance(in.tables->rows(table, {u"L"_s, u"Rp"_s, u"Zo"_s}), *l, v.rp);
    else
        v.input.message = true;
    return v;
}

class Trestle : public Calculator {
public:
    Trestle() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override {
        QMap<QString, QString> out;
        if (changed.isEmpty() || changed == typeInput || changed == pipesInput) {
            const auto pipes = in.number(pipesInput);
            out.insert(zoInput, longitudinalText(gallery(in) ? 1 : 0, pipes ? int(*pipes) : 1));
        }
        // The layers no longer give the resistivity, or the length it was computed for changed.
        if (changed == lengthInput || changed == sizeInput || changed == depthInput ||
            changed == spacingInput || changed == pekvInput)
            out.insert(includeInput, {});
        return out;
    }

    QStringList disabledInputs(const CalcInputs& in) const override {
        return gallery(in) ? QStringList{pipesInput} : QStringList{};
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        for (const QString& name : {lengthInput, sizeInput})
            if (!in.number(name))
                return CheckFailure{
                    *positiveMessage(in.text(name),
                                     name == lengthInput
                                         ? u"длины технологической эстакады (кабельной галереи)"_s
                                         : u"наибольшего горизонтального размера фундамента опоры"_s),
                    name};
        const auto v = evaluateValues(in);
        if (!v)
            return CheckFailure{};
        if (!v->input.r)
            return CheckFailure{v->input.message
                                    ? undeterminedMessage(in.text(lengthInput), formatGeneral(v->rp))
                                    : QString(),
                                {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto v = evaluateValues(in);
        if (!v || !v->input.r)
            return std::nullopt;
        shown.insert(roField, formatGeneral(v->ro));
        shown.insert(rpField, formatGeneral(v->rp));
        return v->input.r;
    }

    QStringList calcOrder(const CalcInputs& in) const override;
};

QStringList Trestle::calcOrder(const CalcInputs& in) const {
    const bool g = gallery(in);
    const QString l = in.text(lengthInput), zo = in.text(zoInput), pekv = in.text(pekvInput);
    const QString d = in.text(sizeInput), t = in.text(depthInput), a = in.text(spacingInput);
    const QString ro = in.text(roField), rp = in.text(rpField), r = in.text(u"EditVS1"_s);
    const QString object = g ? u"кабельной галереи"_s : u"технологической эстакады"_s;
    CalcOrderText o;
    o.begin();
    o.installation(in.installation);
    o.line(u"Параметры "_s + object + u":"_s);
    o.line(u"- длина "_s + object + u": L = "_s + l + u" км;"_s);
    if (!g)
        o.line(u"- количество проложенных труб технологической эстакады: N = "_s + in.text(pipesInput) +
               u" шт.;"_s);
    o.line(u"- продольное сопротивление "_s + object + u": Zo = "_s + zo + u" Ом км."_s);
    const auto p1 = parseNumber(in.text(u"pekv.p1"_s));
    const auto p2 = parseNumber(in.text(u"pekv.p2"_s));
    if (in.filled(includeInput) && p1 && p2 && in.filled(u"pekv.h"_s)) {
        const QString h = in.text(u"pekv.h"_s);
        const bool upperHigher = *p1 >= *p2;
        o.line(u"Расчет эквивалентного удельного сопротивления грунта:"_s);
        o.line(u"- удельное электрическое сопротивление верхнего слоя земли: p1 = "_s +
               in.text(u"pekv.p1"_s) + u" Ом м;"_s);
        o.line(u"- удельное электрическое сопротивление нижнего слоя земли: p2 = "_s + in.text(u"pekv.p2"_s) +
               u" Ом м;"_s);
        o.line(u"- мощность (толщина) верхнего слоя земли: H = "_s + h + u" м;"_s);
        o.line(upperHigher ? u"так как р1 >= р2, то А = 6,2; В = 0,057;"_s
                           : u"так как р1 < р2, то А = 350; В = 0,001;"_s);
        o.line(u"pэ = p1*(1-е**(-A*H/(1000*L))) + p2*(1-е**(-B*1000*L/H)), Ом м;"_s);
        o.line(u"pэ = "_s + in.text(u"pekv.p1"_s) + u"*(1-е**(-"_s + (upperHigher ? u"6,2"_s : u"350"_s) +
               u"*"_s + h + u"/(1000*"_s + l + u"))) + "_s + in.text(u"pekv.p2"_s) + u"*(1-е**(-"_s +
               (upperHigher ? u"0,057"_s : u"0,001"_s) + u"*1000*"_s + l + u"/"_s + h + u")) = "_s + pekv +
               u" Ом м."_s);
    } else {
        o.line(u"Эквивалентное удельное сопротивление грунта: pэ = "_s + pekv + u" Ом м."_s);
    }
    o.line(u"Параметры фундамента:"_s);
    o.line(u"- наибольший горизонтальный размер фундамента: D = "_s + d + u" м;"_s);
    o.line(u"- глубина заложения фундамента: T = "_s + t + u" м;"_s);
    const bool wide = parseNumber(d).value_or(0) >= parseNumber(t).value_or(0);
    o.line(u"- сопротивление растеканию одного фундамента опоры "_s +
           (wide ? u"для случая, когда D >= T:"_s : u"для случая, когда D < T:"_s));
    if (wide) {
        o.line(u"Ro = 0,3 * рэ / D, Ом;"_s);
        o.line(u"Ro = 0,3 * "_s + pekv + u" / "_s + d + u" = "_s + ro + u" Ом."_s);
    } else {
        o.line(u"Ro = pэ / T, Ом;"_s);
        o.line(u"Ro = "_s + pekv + u" / "_s + t + u" = "_s + ro + u" Ом."_s);
    }
    o.line(u"Расстояние между соседними опорами: a = "_s + a + u" м."_s);
    const QString short_ = g ? u"галереи"_s : u"эстакады"_s;
    o.line(u"Переходное сопротивление "_s + short_ + u":"_s);
    o.line(u"Rп = (Ro * a + 1,5 * pэ) * 0,001, Ом км;"_s);
    o.line(u"Rп = ("_s + ro + u" * "_s + a + u" + 1,5 * "_s + pekv + u") * 0,001 = "_s + rp + u" Ом км."_s);
    o.line(u"Входное сопротивление "_s + short_ + u" (при Zo = "_s + zo + u" Ом км; L = "_s + l +
           u" км и Rп = "_s + rp + u" Ом км):"_s);
    o.line(u"Rвх = "_s + r);
    o.verdict(in.installation, g ? u"кабельную галерею"_s : u"технологическую эстакаду"_s, u"Rвх"_s,
              double(parseNumber(r).value_or(0)));
    return o.lines();
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const bool g = s.text(typeInput) == typeItems().at(1);
    const QString object = g ? u"кабельной галереи"_s : u"технологической эстакады"_s;
    w.WordTitle(descriptor().caption + reportCr + reportCr);
    w.progress();
    if (s.installation.include)
        w.WordInstallationParagraph(s.installation);
    w.WordText(u"В качестве заземляющего устройства используется "_s +
               (g ? u"кабельная галерея"_s : u"технологическая эстакада"_s) + u" длиной L = "_s +
               s.text(lengthInput) + u" км с продольным сопротивлением Zo = "_s + s.text(zoInput) +
               u" Ом/км."_s + reportCr);
    w.progress();
    w.WordText(u"Эквивалентное удельное сопротивление грунта: pэ = "_s + s.text(pekvInput) + u" Ом м."_s +
               reportCr);
    w.WordText(u"Фундамент опоры: D = "_s + s.text(sizeInput) + u" м, T = "_s + s.text(depthInput) +
               u" м; расстояние между соседними опорами a = "_s + s.text(spacingInput) + u" м."_s + reportCr);
    w.progress();
    w.setAlignment(A::Center);
    w.WordText(u"Ro = "_s + s.text(roField) + u" Ом;"_s + reportCr);
    w.WordText(u"Rп = (Ro * a + 1,5 * pэ) * 0,001 = "_s + s.text(rpField) + u" Ом км;"_s + reportCr);
    w.WordText(u"Входное сопротивление "_s + object + u": Rвх = "_s + s.text(u"EditRvh"_s) + u" Ом."_s +
               reportCr);
    w.setAlignment(A::Left);
    w.progress();
    if (s.installation.include)
        w.WordVerdict(s.installation, g ? u"кабельную галерею"_s : u"технологическую эстакаду"_s,
                      parseNumber(s.text(u"EditRvh"_s)).value_or(0));
    w.progress();
}
} // namespace

const Calculator& calculator() {
    static const Trestle c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

QString longitudinalText(int type, int pipes) {
    if (type == 1 || pipes >= 5)
        return u"0,5"_s;
    return pipes >= 3 ? u"0,75"_s : u"1,5"_s;
}

QString tableOf(const QString& zo) {
    if (zo == u"1,5"_s)
        return u"Z15.db"_s;
    if (zo == u"0,75"_s)
        return u"Z075.db"_s;
    if (zo == u"0,5"_s)
        return u"Z05.db"_s;
    return {};
}

long double foundationResistance(long double pekv, long double d, long double t) {
    return roundTo(d >= t ? 0.3L * pekv / d : pekv / t, 2);
}

long double transitionalResistance(long double ro, long double a, long double pekv) {
    return roundTo((ro * a + 1.5L * pekv) * 0.001L, 2);
}

InputLookup inputResistance(const CoefficientRows& rows, long double length, long double transitional) {
    InputLookup out;
    // The point is compared with the table in the table's precision, once: a value a double cannot
    // hold is beyond every row.
    const double l = double(length);
    const double rp = double(transitional);
    if (!std::isfinite(l) || !std::isfinite(rp)) {
        out.message = true;
        return out;
    }
    for (const CoefficientRow& row : rows)
        if (row.size() >= 3 && sameTableValue(row[0], l) && sameTableValue(row[1], rp)) {
            out.r = row[2];
            return out;
        }
    double minL = 1e300, maxL = -1e300, minRp = 1e300, maxRp = -1e300;
    for (const CoefficientRow& row : rows) {
        minL = std::min(minL, row[0]);
        maxL = std::max(maxL, row[0]);
        minRp = std::min(minRp, row[1]);
        maxRp = std::max(maxRp, row[1]);
    }
    if (rows.isEmpty() || l < minL || l > maxL || rp < minRp || rp > maxRp) {
        out.message = true;
        return out;
    }
    const CoefficientRows near = bracketingRows(rows, {{0, l}, {1, rp}});
    auto lerp = [](long double z1, long double z2, long double x1, long double x2, long double x) {
        return z1 - (z1 - z2) * (x - x1) / (x2 - x1);
    };
    if (near.size() == 2) {
        const CoefficientRow &a = near[0], &b = near[1];
        if (sameTableValue(a[0], b[0]))
            out.r = roundTo(lerp(a[2], b[2], a[1], b[1], rp), 2);
        else
            out.r = roundTo(lerp(a[2], b[2], a[0], b[0], l), 2);
    } else if (near.size() == 4) {
        const long double z12 = lerp(near[0][2], near[1][2], near[0][1], near[1][1], rp);
        const long double z34 = lerp(near[2][2], near[3][2], near[2][1], near[3][1], rp);
        out.r = roundTo(lerp(z12, z34, near[0][0], near[2][0], l), 2);
    } else {
        out.message = near.size() < 2;
    }
    return out;
}

QString undeterminedMessage(const QString& l, const QString& rp) {
    return u"Ошибка. Значение Rвх для L = "_s + l + u" км и Rп = "_s + rp +
           u" Ом км в таблице не определено."_s;
}

} // namespace kz::trestle
