#include "core/calculators/complex/SquareGridWithRods.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/GeometryInputs.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz::squaregridwithrods {

namespace {
const QString cellName = u"EditDlina"_s;
const QString sizeName = u"SpinKolGor"_s;
const QString rodLengthName = u"EditLv"_s;
const QString depthName = u"EditTo"_s;
const QString rodCountName = u"SpinNv"_s;
const QString areaName = u"EditS"_s;
const QString lengthName = u"EditL"_s;
const QString relativeDepthName = u"EditTotn"_s;

void report(ReportBuilder& w, const ReportSource& s);

GeometryInput sizeInput(const QString& name, const QString& label, const QString& defaultText,
                        const QString& spinPrefix, const QString& historyField) {
    GeometryInput g = metreInput(name, label, defaultText, historyField, spinPrefix);
    g.userChangesOnly = true;
    return g;
}

GeometryInput countInput(const QString& name, const QString& label, const QString& defaultText,
                         const QString& historyField) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.defaultText = defaultText;
    g.spin.emplace();
    g.spin->minimum = 1;
    g.spin->maximum = 10000;
    g.historyField = historyField;
    g.selectionColour = true;
    return g;
}

GeometryInput shown(const QString& name, const QString& label, const QString& designText) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.defaultText = designText;
    g.readOnly = true;
    return g;
}

SelectionParameter parameter(const QString& name, const QString& input, const QString& lower,
                             const QString& heading, const QString& note,
                             QList<SelectionColumn> columns = {}) {
    SelectionParameter p;
    p.name = name;
    p.input = input;
    p.start = u"1"_s;
    p.end = u"5"_s;
    p.step = u"1"_s;
    p.lower = lower;
    p.recommendation = u"начальное значение меньше конечного"_s;
    p.heading = heading;
    p.note = heading + u" - "_s + note;
    p.columns = std::move(columns);
    return p;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TSet2_Frm"_s;
    // Two blanks before "электродами".
    d.caption = u"Квадратная сетка с квадратными ячейками и вертикальными  электродами по периметру."_s;
    d.helpContext = 28;
    d.kindCode = 21;
    d.menuGroup = MenuGroup::ComplexDevices;
    d.menuCaption = u"Квадратная сетка с квадратными ячейками и вертикальными  электродами..."_s;
    d.pictureFile = u"Setka2.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = K*p / Корень(S) + р/(Lг+Nв*Lв), Ом\n"
                    u"где K = 0,444 - 0,84*Тотн.  при  0 <=Тотн. <= 0,1  или  K = 0,385 - 0,25*Тотн.  при  "
                    u"0,1 <Тотн. <= 0,5"_s;
    d.conditionLines = {u"Тотн. = (Lв + То) / Корень(S); "_s, u"0 <= Тотн. <= 0,5."_s};
    d.descriptionLines = {u"Сложный заземлитель в виде горизонтальной "_s,
                          u"квадратной сетки с одинаковыми квадратными "_s,
                          u"ячейками и вертикальными электродами, "_s,
                          u"равномерно размещенными по периметру "_s, u"заземлителя. "_s};

    GeometryInput cell = sizeInput(cellName, u"а - размер ячейки, м:"_s, u"2"_s, u"btnA"_s, u"A"_s);
    cell.selectionColour = true;
    cell.range.name = u"lblRangeA"_s;
    cell.range.text = u"( a >= 1,48 )"_s;
    cell.range.hint =
        u"Диапазон допустимых значений размера ячейки сетки для текущего допустимого значения площади "
        u"сетки"_s;
    cell.range.follows = {sizeName, rodLengthName, depthName};
    GeometryInput size = countInput(sizeName, u"N - размер сетки, ячеек:"_s, u"5"_s, u"Gor"_s);
    size.userChangesOnly = true;
    GeometryInput rodLength =
        sizeInput(rodLengthName, u"Lв - длина вертикального электрода, м:"_s, u"3"_s, u"btnLv"_s, u"L"_s);
    rodLength.selectionColour = true;
    rodLength.range.name = u"lblRangeLv"_s;
    rodLength.range.text = u"( Lв <= 4,3 )"_s;
    rodLength.range.hint = u"Диапазон допустимых значений длины вертикального электрода для текущих значений "
                           u"глубины его заложения и площади сетки "_s;
    rodLength.range.follows = {cellName, sizeName, depthName};
    GeometryInput depth = sizeInput(depthName, u"То - глубина заложения вертикального электрода, м:"_s,
                                    u"2"_s, u"btnTo"_s, u"T"_s);
    depth.range.name = u"lblRangeTo"_s;
    depth.range.text = u"( To <= 2 )"_s;
    depth.range.hint = u"Диапазон допустимых значений глубины заложения вертикального электрода для текущих "
                       u"значений его длины и площади сетки"_s;
    depth.range.follows = {cellName, sizeName, rodLengthName};
    GeometryInput rods =
        countInput(rodCountName, u"Nв -количество вертикальных электродов, шт.:"_s, u"8"_s, u"N"_s);
    GeometryInput area = shown(areaName, u"S - площадь сетки, м2:"_s, u"100"_s);
    area.range.name = u"lblRangeS"_s;
    area.range.text = u"( S >= 54,76 )"_s;
    area.range.hint =
        u"Диапазон допустимых значений площади сетки для текущих значений длины и глубины заложения "
        u"вертикального электрода"_s;
    area.range.follows = {rodLengthName, depthName};
    d.geometry = {cell,
                  size,
                  rodLength,
                  depth,
                  rods,
                  area,
                  shown(lengthName, u"Lг - длина горизонтальных электродов сетки, м:"_s, u"120"_s),
                  shown(relativeDepthName, u"Тотн. - относительная глубина заложения, м: "_s, u"0,37"_s)};
    d.linkedParameters = true;

    using K = InputCheck::Kind;
    d.checks = {{K::Positive, u"EditPKV"_s, u"коэффициента поправки"_s},
                {K::Filled, u"ComboGrunt"_s, u"типа грунта"_s},
                {K::Positive, u"EditRo0"_s, u"удельного сопротивления грунта"_s},
                {K::Positive, cellName, u"размера ячейки"_s},
                {K::Positive, rodLengthName, u"длины вертикального электрода"_s},
                {K::Positive, depthName, u"глубины заложения вертикального электрода"_s}};

    HistoryLayout& h = d.history;
    h.presetName = u"Квадратная сетка 1."_s;
    h.captions = {{u"Тип грунта:"_s, u"Grunt"_s},
                  {u"Удельное сопротивление грунта, Ом м:"_s, u"P"_s},
                  {u"Коэффициент поправки:"_s, u"KP"_s},
                  {u"Размер ячейки, м:"_s, u"A"_s},
                  {u"Размер сетки, ячеек:"_s, u"Gor"_s},
                  {u"Длина вертикального электрода, м:"_s, u"L"_s},
                  {u"Глубина заложения вертикального электрода, м::"_s, u"T"_s},
                  {u"Количество вертикальных электродов, шт.:"_s, u"N"_s}};

    const SelectionColumn rodColumn{rodLengthName, u"Lв, м"_s, u"Lв, м - длина вертикального электрода, м"_s};
    const SelectionColumn depthColumn{depthName, u"То, м"_s,
                                      u"То, м - глубина заложения вертикального электрода, м"_s};
    const SelectionColumn cellColumn{cellName, u"a, м"_s, u"a, м - размер ячейки, м"_s};
    SelectionParameter bySize = parameter(u"Размер сетки, ячеек"_s, sizeName, u"1"_s, u"N, ячеек"_s,
                                          u"размер сетки, ячеек"_s, {rodColumn, depthColumn});
    bySize.type = u"integer"_s;
    bySize.settingsTable = 3;
    SelectionParameter byRods = parameter(u"Количество вертикальных электродов, шт."_s, rodCountName, u"4"_s,
                                          u"Nв, шт."_s, u"количество вертикальных электродов, шт."_s);
    byRods.start = u"4"_s;
    byRods.end = u"20"_s;
    byRods.step = u"4"_s;
    byRods.type = u"integer"_s;
    byRods.settingsTable = 3;
    d.selection.parameters = {parameter(u"Размер ячейки, м"_s, cellName, u"0,1"_s, u"a, м"_s,
                                        u"размер ячейки, м"_s, {rodColumn, depthColumn}),
                              bySize,
                              parameter(u"Длина вертикального электрода, м"_s, rodLengthName, u"0,5"_s,
                                        u"Lв, м"_s, u"длина вертикального электрода, м"_s,
                                        {cellColumn, depthColumn}),
                              byRods,
                              correctionSelection(),
                              soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s,  u"EditPKV"_s, cellName,    sizeName,
                             rodLengthName, depthName,    rodCountName};

    d.report = report;
    d.reportSteps = 8;
    return d;
}

QString rounded(long double v) {
    return formatGeneral(roundTo(v, 5));
}

class SquareGridWithRods : public Calculator {
public:
    SquareGridWithRods() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString&) const override {
        QMap<QString, QString> out{{areaName, {}}, {lengthName, {}}, {relativeDepthName, {}}};
        const auto a = in.positive(cellName);
        const auto n = in.number(sizeName);
        if (!a || !n)
            return out;
        const auto lv = in.positive(rodLengthName);
        const auto to = in.positive(depthName);
        const Geometry g = geometry(*a, *n, lv.value_or(0), to.value_or(0));
        out[areaName] = formatGeneral(g.s);
        out[lengthName] = formatGeneral(g.l);
        if (lv && to)
            out[relativeDepthName] = formatGeneral(g.tRel);
        return out;
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto n = in.number(sizeName);
        const auto nv = in.number(rodCountName);
        if (!n || !nv || *n <= 0 || *nv <= 0)
            return CheckFailure{};
        const auto g = current(in);
        if (!g || g->tRel > 0.5L)
            return CheckFailure{u"Ошибка. Значение Тотн. должно быть в пределах от 0 до 0,5."_s, {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in,
                                       QMap<QString, QString>& shownValues) const override {
        const auto g = current(in);
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto nv = in.number(rodCountName);
        const auto lv = in.number(rodLengthName);
        if (!g || !p0 || !kp || !nv || !lv || !(g->s > 0))
            return std::nullopt;
        if (!in.selectionRunning())
            shownValues = {{areaName, formatGeneral(g->s)},
                           {lengthName, formatGeneral(g->l)},
                           {relativeDepthName, formatGeneral(g->tRel)}};
        return resistance(*p0, *kp, *g, *nv, *lv);
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        const QString t = in.text(relativeDepthName);
        const QString p = in.text(u"EditRo"_s);
        const bool small = parseNumber(t).value_or(0) <= 0.1L;
        return {(small ? u"R = (0,444-0,84*"_s : u"R = (0,385-0,25*"_s) + t + u")*"_s + p + u"/ Корень("_s +
                in.text(areaName) + u") + "_s + p + u" / ("_s + in.text(lengthName) + u'+' +
                in.text(rodCountName) + u'*' + in.text(rodLengthName) + u')' +
                oneLineEnding(in.text(u"EditVS1"_s))};
    }

    QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const override {
        const auto a0 = in.positive(cellName);
        const auto n = in.number(sizeName);
        const auto lv0 = in.positive(rodLengthName);
        const auto to0 = in.positive(depthName);
        if (!a0 || !n || !lv0 || !to0)
            return {};
        long double a = *a0, lv = *lv0, to = *to0;
        long double s = a * a * *n * *n;
        QMap<QString, QString> moved;
        if (changed == cellName || changed == sizeName) {
            if (const long double t = roundTo(0.5L * std::sqrt(s) - to, 2); lv > t)
                moved.insert(rodLengthName, formatGeneral(lv = t));
            if (const long double t = roundTo(0.5L * std::sqrt(s) - lv, 2); to > t)
                moved.insert(depthName, formatGeneral(t));
        } else if (changed == rodLengthName || changed == depthName) {
            if (const long double least = roundTo(std::pow((lv + to) / 0.5L, 2), 2); least > s) {
                a = roundTo(std::sqrt(least) / *n, 2);
                moved.insert(cellName, formatGeneral(a));
                s = roundTo(a * a * *n * *n, 2);
            }
            if (changed == rodLengthName) {
                if (const long double t = roundTo(0.5L * std::sqrt(s) - lv, 2); to > t)
                    moved.insert(depthName, formatGeneral(t));
            } else if (const long double t = roundTo(0.5L * std::sqrt(s) - to, 2); lv > t) {
                moved.insert(rodLengthName, formatGeneral(t));
            }
        }
        return moved;
    }

    QString rangeLabel(const CalcInputs& in, const QString& label) const override {
        const auto lv = in.positive(rodLengthName);
        const auto to = in.positive(depthName);
        const auto n = in.number(sizeName);
        const auto a = in.positive(cellName);
        const std::optional<long double> s =
            a && n ? std::optional<long double>(roundTo(*a * *a * *n * *n, 2)) : std::nullopt;
        if (label == "lblRangeS"_L1 || label == "lblRangeA"_L1) {
            if (!lv || !to)
                return {};
            const long double least = roundTo(std::pow((*lv + *to) / 0.5L, 2), 5);
            if (label == "lblRangeS"_L1)
                return u"( S >= "_s + rounded(least) + u" )"_s;
            return n && *n > 0 ? u"( a >= "_s + rounded(std::sqrt(least) / *n) + u" )"_s : QString();
        }
        if (label == "lblRangeLv"_L1)
            return s && *s > 0 && to ? u"( Lв <= "_s + rounded(0.5L * std::sqrt(*s) - *to) + u" )"_s
                                     : QString();
        if (label == "lblRangeTo"_L1)
            return s && *s > 0 && lv ? u"( To <= "_s + rounded(0.5L * std::sqrt(*s) - *lv) + u" )"_s
                                     : QString();
        return Calculator::rangeLabel(in, label);
    }

    void deriveSelectionValues(QMap<QString, long double>& values) const override {
        if (!values.contains(cellName) || !values.contains(sizeName) || !values.contains(rodLengthName) ||
            !values.contains(depthName))
            return;
        const Geometry g = geometry(values.value(cellName), values.value(sizeName),
                                    values.value(rodLengthName), values.value(depthName));
        values.insert(areaName, g.s);
        values.insert(lengthName, g.l);
        values.insert(relativeDepthName, g.tRel);
    }

    bool selectionAdmissible(const CalcInputs& in) const override { return !checkGeometry(in); }

    void selectionValueApplied(const CalcInputs& in, const QString& input,
                               QMap<QString, long double>& values) const override {
        // The single-parameter run lowers a value only to a positive one.
        if (!in.singleRun || !in.linking)
            return;
        long double a = values.value(cellName), n = values.value(sizeName);
        long double lv = values.value(rodLengthName), to = values.value(depthName);
        long double s = roundTo(a * a * n * n, 2);
        const auto lowered = [](long double t, long double now) { return t < now && t > 0; };
        if (input == cellName || input == sizeName) {
            if (const long double t = roundTo(0.5L * std::sqrt(s) - to, 2); lowered(t, lv))
                values.insert(rodLengthName, lv = t);
            if (const long double t = roundTo(0.5L * std::sqrt(s) - lv, 2); lowered(t, to))
                values.insert(depthName, t);
        } else if (input == rodLengthName) {
            if (const long double least = roundTo(std::pow((lv + to) / 0.5L, 2), 2); least > s) {
                a = roundTo(std::sqrt(least) / n, 2);
                values.insert(cellName, a);
                s = roundTo(a * a * n * n, 2);
            }
            if (const long double t = roundTo(0.5L * std::sqrt(s) - lv, 2); lowered(t, to))
                values.insert(depthName, t);
        }
    }

private:
    static std::optional<Geometry> current(const CalcInputs& in) {
        const auto a = in.number(cellName);
        const auto n = in.number(sizeName);
        const auto lv = in.number(rodLengthName);
        const auto to = in.number(depthName);
        if (!a || !n || !lv || !to)
            return std::nullopt;
        return geometry(*a, *n, *lv, *to);
    }
};

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString a = s.text(cellName);
    const QString n = s.text(sizeName);
    const QString area = s.text(areaName);
    const QString lg = s.text(lengthName);
    const QString lv = s.text(rodLengthName);
    const QString to = s.text(depthName);
    const QString nv = s.text(rodCountName);
    const QString t = s.text(relativeDepthName);
    const QString p = s.text(u"EditRo"_s);
    const bool small = parseNumber(t).value_or(0) <= 0.1L;
    const QString x = u" \u0445 "_s; // the Cyrillic letter

    writeReportOpening(w, s,
                       {.title =
                            u"Сложный заземлитель в виде горизонтальной квадратной сетки с одинаковыми "
                            u"квадратными ячейками и "
                            u"вертикальными электродами, равномерно размещенными по периметру заземлителя."_s,
                        .picture = calculator().description().pictureFile,
                        .progressBeforeSoil = true});
    w.WordText(u"Заземляющее устройство представляет собой сетку, состоящую из квадратных ячеек размером "_s +
               a + x + a + u" м (a = "_s + a + u" м). "_s + u"Размер самой сетки - "_s + n + x + n +
               u" ячеек (N = "_s + n + u" ячеек)."_s + reportCr);

    w.WordText(u"Площадь сетки:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"S = a"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" * N"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u", м"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u";"_s + reportCr);
    w.WordText(u"S = "_s + a);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" * "_s + n);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" = "_s + area + u" м"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u"."_s + reportCr);
    w.setAlignment(A::Left);
    w.progress();

    w.WordText(u"Длина горизонтальных электродов:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"Lг = 2 * a * N * (N + 1), м;"_s + reportCr);
    w.WordText(u"Lг = 2 * "_s + a + u" * "_s + n + u" * ("_s + n + u" + 1) = "_s + lg + u" м."_s + reportCr);
    w.setAlignment(A::Left);
    w.progress();

    w.WordText(u"По периметру сетки равномерно расположены вертикальные электроды длиной Lв = "_s + lv +
               u" м в количестве Nв = "_s + nv + u" шт. Глубина заложения электрода То = "_s + to + u" м."_s +
               reportCr);
    w.WordText(u"Параметр Тотн.:"_s + reportCr);
    w.setAlignment(A::Center);
    // Latin T before a Cyrillic "отн".
    w.WordText(u"Tотн. = (Lв + То) / (S)"_s);
    w.WordSuperscript(u"1/2"_s);
    w.WordText(u"."_s + reportCr);
    w.WordText(u"Tотн. = ("_s + lv + u" + "_s + to + u") / ("_s + area + u')');
    w.WordSuperscript(u"1/2"_s);
    w.WordText(u" = "_s + t + u"."_s + reportCr);
    w.setAlignment(A::Left);
    w.progress();

    w.WordText((small ? u"При 0<=Тотн.<=0,1 сопротивление растеканию тока заземляющего устройства:"_s
                      : u"При 0,1<Тотн.<=0,5 сопротивление растеканию тока заземляющего устройства:"_s) +
               reportCr);
    w.setAlignment(A::Center);
    // "Toтн" with Latin T and o.
    w.WordText(small ? u"R = (0,444 - 0,84 * Toтн) * "_s : u"R = (0,385 - 0,25 * Toтн) * "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (S)"_s);
    w.WordSuperscript(u"1/2"_s);
    w.WordText(u" + "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (Lг + Nв * Lв), Ом;"_s + reportCr);
    w.WordText((small ? u"R = (0,444 - 0,84 * "_s : u"R = (0,385 - 0,25 * "_s) + t + u") * "_s);
    w.WordText(p + u" / ("_s + area + u')');
    w.WordSuperscript(u"1/2"_s);
    w.WordText(u" + "_s + p + u" / ("_s + lg + u" + "_s + nv + u" * "_s + lv + u')' +
               multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    w.setAlignment(A::Left);
    w.progress();
    if (s.installation.include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}
} // namespace

const Calculator& calculator() {
    static const SquareGridWithRods c;
    return c;
}

Geometry geometry(long double a, long double n, long double lv, long double to) {
    Geometry g;
    g.s = roundTo(a * a * n * n, 2);
    g.l = roundTo(2 * a * n * (n + 1), 2);
    g.tRel = g.s > 0 ? roundTo((lv + to) / std::sqrt(g.s), 4) : 0;
    return g;
}

long double coefficient(long double tRel) {
    return tRel <= 0.1L ? 0.444L - 0.84L * tRel : 0.385L - 0.25L * tRel;
}

long double resistance(long double p0, long double kp, const Geometry& g, long double nv, long double lv) {
    const long double p = calculatedResistivity(p0, kp);
    return roundResistance(coefficient(g.tRel) * p / std::sqrt(g.s) + p / (nv * lv + g.l));
}

} // namespace kz::squaregridwithrods
