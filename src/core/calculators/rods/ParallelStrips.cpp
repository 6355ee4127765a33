#include "core/calculators/rods/ParallelStrips.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::parallelstrips {

namespace {
const QString lengthInput = u"EditDlina"_s;
const QString depthInput = u"EditGlub"_s;
const QString widthInput = u"cmbDiam"_s;
const QString countInput = u"SpinKol"_s;
const QString spacingInput = u"EditRas"_s;
const QString diameterField = u"EditDiam"_s;
const QString coefficientField = u"EditKI"_s;

// The ranges of the handbook's coefficients; the check keeps every input inside them.
constexpr long double minLength = 15, maxLength = 200;
constexpr long double minCount = 2, maxCount = 20;
constexpr long double minSpacing = 1, maxSpacing = 15;
constexpr double minWidth = 0.02, maxWidth = 0.04;

GeometryInput numeric(const QString& name, const QString& label, const QString& defaultText,
                      QList<double> steps, QStringList spinNames, const QString& rangeName,
                      const QString& range, const QString& field) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.defaultText = defaultText;
    g.steps.sizes = std::move(steps);
    g.steps.names = std::move(spinNames);
    g.range.name = rangeName;
    g.range.text = range;
    g.historyField = field;
    return g;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TParalFm"_s;
    d.caption = u"Параллельно уложенные горизонтальные полосовые электроды."_s;
    d.helpContext = 42;
    d.kindCode = 33;
    d.menuGroup = MenuGroup::ComplexDevices;
    d.menuCaption = u"Параллельно уложенные горизонтальные полосовые электроды..."_s;
    d.pictureFile = u"paralel.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = [p / (2*П*L) * Ln(L*L/(T*D))] / (N*k), Ом"_s;
    d.weakConditions = {inputsCondition(u"L >> D"_s, u"L/D"_s, u"EditDlina"_s, 1, u"cmbDiam"_s, 0.5L),
                        inputsCondition(u"L >> 4T"_s, u"L/4T"_s, u"EditDlina"_s, 1, u"EditGlub"_s, 4)};
    d.conditionLines = {u"L >> D; L >> 4T "_s,   u"Для полосы шириной B:  D = 0,5 B."_s,
                        u"B = 0,02 .. 0,04 м"_s, u"L = 15 .. 200 м"_s,
                        u"T = 0,3 .. 0,8 м"_s,   u"N = 2 .. 20 шт."_s,
                        u"S = 1 .. 15 м"_s};
    d.conditionsTab = u"Условия"_s;

    GeometryInput length =
        numeric(lengthInput, u"L - длина полосы, м:"_s, u"15"_s, {10, 1, 0.1},
                {u"btnL10"_s, u"btnL1"_s, u"btnL01"_s}, u"lblRangeL"_s, u"(15 .. 200)"_s, u"L"_s);
    GeometryInput depth = numeric(depthInput, u"T - глубина заложения, м:"_s, u"0,7"_s, {0.1, 0.01},
                                  {u"btnT01"_s, u"btnT001"_s}, u"lblRangeT"_s, u"(0,3 .. 0,8)"_s, u"T"_s);
    // The strips' widths from the steel table, within the range the coefficients were made for.
    GeometryInput width;
    width.name = widthInput;
    width.label = u"В - ширина полосы, м:"_s;
    width.range.name = u"lblRangeB"_s;
    width.range.text = u"(0,02 .. 0,04)"_s;
    width.historyField = u"D1"_s;
    width.choice.emplace();
    width.choice->table = u"TablePolos"_s;
    width.choice->field = u"Shir"_s;
    width.choice->material = u"сталь полосовая"_s;
    width.choice->minimum = minWidth;
    width.choice->maximum = maxWidth;
    width.choice->firstAfterDialog = true;
    width.choice->emptyMessage = missingWidthMessage();
    GeometryInput count;
    count.name = countInput;
    count.label = u"N - количество полос, шт.:"_s;
    count.defaultText = u"2"_s;
    count.spin.emplace();
    count.spin->minimum = int(minCount);
    count.spin->maximum = int(maxCount);
    count.range.name = u"lblRangeN"_s;
    count.range.text = u"(2 .. 20)"_s;
    count.historyField = u"N"_s;
    GeometryInput spacing = numeric(spacingInput, u"S - расстояние между полосами, м:"_s, u"1"_s, {1, 0.1},
                                    {u"btnS1"_s, u"btnS01"_s}, u"lblRangeS"_s, u"(1 .. 15)"_s, u"A"_s);
    GeometryInput diameter;
    diameter.name = diameterField;
    diameter.label = u"D - расчетный диаметр, м:"_s;
    diameter.readOnly = true;
    GeometryInput k;
    k.name = coefficientField;
    k.label = u"k - коэффициент использования:"_s;
    k.readOnly = true;
    k.clearedWithResult = true; // looked up for the count and spacing of the result
    d.geometry = {length, depth, width, count, spacing, diameter, k};
    d.loadNeedsInputs = true;
    d.windowTop = 20;

    CoefficientTab table;
    table.caption = u"Коэффициенты использования"_s;
    table.table = u"KippTable"_s;
    table.columns = {{u"Dlina"_s, u"L, м"_s, {u"15"_s, u"25"_s, u"50"_s, u"75"_s, u"100"_s, u"200"_s}},
                     {u"N"_s, u"N, шт."_s, {u"2"_s, u"5"_s, u"10"_s, u"20"_s}},
                     {u"Ras"_s, u"S, м"_s, {u"1"_s, u"2,5"_s, u"5"_s, u"10"_s, u"15"_s}},
                     {u"KI"_s, u"КИ"_s, {}}};
    table.notes = {u"N, шт. - количество полосовых электродов."_s,
                   u"S, м - расстояние между полосовыми электродами."_s, u"КИ - коэффициент использования."_s,
                   u"L, м - длина полосового электрода."_s};
    d.coefficientTabs = {table};

    using K = InputCheck::Kind;
    d.checks = {{K::Positive, u"EditPKV"_s, u"коэффициента поправки"_s},
                {K::Filled, u"ComboGrunt"_s, u"типа грунта"_s},
                {K::Positive, u"EditRo0"_s, u"удельного сопротивления грунта"_s},
                {K::Positive, lengthInput, u"длины полосы"_s},
                {K::Positive, depthInput, u"глубины заложения"_s},
                {K::Positive, spacingInput, u"расстояния между полосами"_s}};

    HistoryLayout& h = d.history;
    h.presetName = u"Параллельные горизонтальные полосовые электроды 1."_s;
    h.captions = {{u"Тип грунта:"_s, u"Grunt"_s},        {u"Удельное сопротивление грунта, Ом м:"_s, u"P"_s},
                  {u"Коэффициент поправки:"_s, u"KP"_s}, {u"Ширина полосы, м:"_s, u"D1"_s},
                  {u"Глубина заложения, м:"_s, u"T"_s},  {u"Длина полосы, м:"_s, u"L"_s},
                  {u"Количество полос, шт.:"_s, u"N"_s}, {u"Расстояние между полосами, м:"_s, u"A"_s}};

    auto parameter = [](const QString& name, const QString& input, const QString& from, const QString& to,
                        const QString& heading, const QString& note) {
        SelectionParameter p;
        p.name = name;
        p.input = input;
        p.start = p.lower = from;
        p.end = p.upper = to;
        p.step = u"1"_s;
        p.recommendation = u"начальное значение меньше конечного"_s;
        p.heading = heading;
        p.note = note;
        return p;
    };
    SelectionParameter n = parameter(u"Количество полос, шт."_s, countInput, u"2"_s, u"20"_s, u"N, шт."_s,
                                     u"N, шт. - количество полос, шт."_s);
    n.type = u"integer"_s;
    n.settingsTable = 3;
    d.selection.parameters = {parameter(u"Длина полосы, м"_s, lengthInput, u"15"_s, u"200"_s, u"L, м"_s,
                                        u"L, м - длина полосы, м"_s),
                              n,
                              parameter(u"Расстояние между полосами, м"_s, spacingInput, u"1"_s, u"15"_s,
                                        u"S, м"_s, u"S, м - расстояние между полосами, м"_s),
                              correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, lengthInput, countInput, spacingInput};

    d.report = report;
    d.reportSteps = 6;
    return d;
}

struct Values {
    long double l, t, d, n, s;
};

class ParallelStrips : public Calculator {
public:
    ParallelStrips() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString&) const override {
        const auto b = in.positive(widthInput);
        return {{diameterField, b ? formatGeneral(diameterOfWidth(*b)) : QString()}};
    }

    static std::optional<Values> values(const CalcInputs& in) {
        const auto l = in.number(lengthInput);
        const auto t = in.number(depthInput);
        const auto n = in.number(countInput);
        const auto s = in.number(spacingInput);
        const auto b = in.positive(widthInput);
        if (!l || !t || !n || !s || !b)
            return std::nullopt;
        return Values{*l, *t, diameterOfWidth(*b), *n, *s};
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        // The spin edit never holds less than 2: nothing to tell.
        if (!in.positive(countInput))
            return CheckFailure{};
        if (!in.positive(widthInput))
            return CheckFailure{missingWidthMessage(), {}};
        const auto v = values(in);
        if (!v)
            return CheckFailure{missingWidthMessage(), {}};
        if (!(v->d < v->l))
            return CheckFailure{u"Ошибка. Длина полосы должна быть больше расчетного диаметра."_s, {}};
        if (!(v->l > 4 * v->t))
            return CheckFailure{
                u"Ошибка. Длина полосы должна быть больше глубины заложения более чем в 4 раза."_s, {}};
        if (!(v->l >= minLength && v->l <= maxLength))
            return CheckFailure{u"Ошибка. Длина полосы должна быть в пределах 15 .. 200 м."_s, {}};
        if (!(v->t > 0.29999L && v->t < 0.80001L))
            return CheckFailure{u"Ошибка. Глубина заложения должна быть в пределах 0,3 .. 0,8 м."_s, {}};
        if (!(v->n >= minCount && v->n <= maxCount))
            return CheckFailure{u"Ошибка. Количество полос должно быть в пределах 2 .. 20 шт."_s, {}};
        if (!(v->s >= minSpacing && v->s <= maxSpacing))
            return CheckFailure{u"Ошибка. Расстояние между полосами должно быть в пределах 1 .. 15 м."_s, {}};
        if (!coefficient(in.tables, v->l, v->n, v->s))
            return CheckFailure{missingCoefficientMessage(v->l, v->n, v->s), {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto v = values(in);
        if (!p0 || !kp || !v)
            return std::nullopt;
        const auto k = coefficient(in.tables, v->l, v->n, v->s);
        if (!k)
            return std::nullopt;
        shown.insert(coefficientField, formatGeneral(*k));
        return ComputeResistance(*p0, *kp, v->l, v->t, v->d, v->n, *k);
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        const QString l = in.text(lengthInput);
        const auto b = in.positive(widthInput);
        return {u"R = ["_s + in.text(u"EditRo"_s) + u" / (2*3,14*"_s + l + u") * Ln("_s + l + u'*' + l +
                u"/ ("_s + in.text(depthInput) + u'*' + formatGeneral(b ? diameterOfWidth(*b) : 0) +
                u"))] / ("_s + in.text(countInput) + u'*' + in.text(coefficientField) + u')' +
                oneLineEnding(in.text(u"EditVS1"_s))};
    }

    bool allowStepDown(const CalcInputs& in, const QString& input, double step) const override {
        const auto bounds = boundsOf(input);
        const auto v = in.number(input);
        return !bounds || (v && *v - step >= bounds->first - 1e-9L);
    }

    bool allowStepUp(const CalcInputs& in, const QString& input, double step) const override {
        const auto bounds = boundsOf(input);
        const auto v = in.number(input);
        return !bounds || (v && *v + step <= bounds->second + 1e-9L);
    }

    bool selectionAdmissible(const CalcInputs& in) const override { return !checkGeometry(in); }

private:
    static std::optional<std::pair<long double, long double>> boundsOf(const QString& input) {
        if (input == lengthInput)
            return std::pair{minLength, maxLength};
        if (input == depthInput)
            return std::pair{0.3L, 0.8L};
        if (input == spacingInput)
            return std::pair{minSpacing, maxSpacing};
        return std::nullopt;
    }
};

// Columns of a Kipp row as read.
enum { Dlina, N, Ras, KI };

// Two rows that differ in one coordinate, interpolated along it.
long double pair(const CoefficientRow& a, const CoefficientRow& b, long double l, long double n,
                 long double s) {
    long double t = 1;
    if (!sameTableValue(a[Dlina], b[Dlina]))
        t = (l - a[Dlina]) / (b[Dlina] - a[Dlina]);
    if (!sameTableValue(a[N], b[N]))
        t = (n - a[N]) / (b[N] - a[N]);
    if (!sameTableValue(a[Ras], b[Ras]))
        t = (s - a[Ras]) / (b[Ras] - a[Ras]);
    return roundTo(a[KI] - (a[KI] - b[KI]) * t, 2);
}

long double between(long double x, long double y, long double t) {
    return roundTo(x - (x - y) * t, 2);
}
} // namespace

const Calculator& calculator() {
    static const ParallelStrips c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

std::optional<long double> coefficient(const CoefficientTables* tables, long double l, long double n,
                                       long double s) {
    if (!tables)
        return std::nullopt;
    const CoefficientRows rows =
        completeRows(tables->rows(u"Kipp.DB"_s, {u"Dlina"_s, u"N"_s, u"Ras"_s, u"KI"_s}), 4);
    const CoefficientRows r = bracketingRows(rows, {{Dlina, double(l)}, {N, double(n)}, {Ras, double(s)}});
    // A point outside the table has a coordinate bracketed from one side only: its rows do not
    // enclose it.
    auto encloses = [&](int column, long double v) {
        long double lo = r.first()[column], hi = lo;
        for (const CoefficientRow& row : r) {
            lo = std::min<long double>(lo, row[column]);
            hi = std::max<long double>(hi, row[column]);
        }
        return (lo <= v || sameTableValue(double(lo), double(v))) &&
               (hi >= v || sameTableValue(double(hi), double(v)));
    };
    if (r.isEmpty() || !encloses(Dlina, l) || !encloses(N, n) || !encloses(Ras, s))
        return std::nullopt;
    switch (r.size()) {
    case 1:
        return r[0][KI];
    case 2:
        return pair(r[0], r[1], l, n, s);
    case 4: {
        const long double k12 = pair(r[0], r[1], l, n, s);
        const long double k34 = pair(r[2], r[3], l, n, s);
        const long double t = !sameTableValue(r[0][Dlina], r[2][Dlina])
                                  ? (l - r[0][Dlina]) / (r[2][Dlina] - r[0][Dlina])
                                  : (n - r[0][N]) / (r[2][N] - r[0][N]);
        return between(k12, k34, t);
    }
    case 8: {
        const long double tn = (n - r[0][N]) / (r[2][N] - r[0][N]);
        const long double u1 = between(pair(r[0], r[1], l, n, s), pair(r[2], r[3], l, n, s), tn);
        const long double u2 = between(pair(r[4], r[5], l, n, s), pair(r[6], r[7], l, n, s), tn);
        const long double tl = (l - r[0][Dlina]) / (r[7][Dlina] - r[0][Dlina]);
        return between(u1, u2, tl);
    }
    default:
        // A table with holes in its grid.
        return std::nullopt;
    }
}

long double ComputeResistance(long double p0, long double kp, long double l, long double t, long double d,
                              long double n, long double k) {
    const long double p = calculatedResistivity(p0, kp);
    return roundResistance(std::log(l * l / t / d) * (p / 2 / std::numbers::pi_v<long double> / l) / n / k);
}

long double diameterOfWidth(long double b) {
    return roundTo(0.5L * b, 3);
}

QString missingWidthMessage() {
    return u"Ошибка. Не выбрана ширина полосы: в таблице полосовой стали нет полос шириной 0,02 .. 0,04 м."_s;
}

QString missingCoefficientMessage(long double l, long double n, long double s) {
    return u"Ошибка. В таблице коэффициентов использования (Kipp.DB) нет значений, между которыми лежат L = "_s +
           formatGeneral(l) + u" м, N = "_s + formatGeneral(n) + u" шт. и S = "_s + formatGeneral(s) +
           u" м. Коэффициент использования не определен."_s;
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const bool include = s.installation.include;
    const QString l = s.text(lengthInput);
    const QString t = s.text(depthInput);
    const QString n = s.text(countInput);
    const QString k = s.text(coefficientField);
    const QString d = s.text(diameterField);

    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой горизонтальные полосовые электроды длиной L = "_s +
               l + u" м, которые уложены параллельно на расстоянии S = "_s + s.text(spacingInput) +
               u" м друг от друга."_s + reportCr);
    // "В" of the width and "Т" of the depth are Cyrillic here.
    w.WordText(u"Конструкция электрода - сталь полосовая шириной В = "_s + s.text(widthInput) +
               u" м, что соответствует D = 0,5*B = "_s + d + u" м."_s + reportCr);
    w.WordText(u"Глубина заложения полосового электрода Т = "_s + t + u" м."_s + reportCr);
    w.WordText(u"Количество полосовых электродов N = "_s + n + u" шт."_s + reportCr);
    w.WordText(u"Коэффициент использования электродов Ки = "_s + k + u'.' + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"R = ["_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (2*П*L) * Ln(L"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" /(T*D))] / (N*Ки), Ом."_s + reportCr);
    w.WordText(u"R = ["_s + s.text(u"EditRo"_s) + u"/(2*3,14*"_s + l + u") * Ln("_s + l);
    w.WordSuperscript(u"2"_s);
    w.WordText(u"/("_s + t + u'*' + d + u"))] / ("_s + n + u'*' + k + u')' +
               multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    w.setAlignment(A::Left);
    w.progress();
    if (include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

} // namespace kz::parallelstrips
