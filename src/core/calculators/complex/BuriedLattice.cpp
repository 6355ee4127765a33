#include "core/calculators/complex/BuriedLattice.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/GeometryInputs.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::buriedlattice {

namespace {
const QString cellLength = u"EditDlina"_s;
const QString cellWidth = u"EditShir"_s;
const QString depthInput = u"EditT"_s;
const QString typeInput = u"Tip"_s;
const QString lengthField = u"EditB"_s;
const QString widthField = u"EditA"_s;
const QString ratioField = u"EditB_A"_s;
const QString totalField = u"EditL"_s;
const QString mField = u"EditM"_s;
const QString lengthCaption = u"lblBY"_s;
const QString widthCaption = u"lblAY"_s;

// Per type: how many cells the lattice has along b and a, and how many conductors run along each.
struct TypeShape {
    int cellsB, cellsA; // b = cellsB·bc, a = cellsA·ac
    int rodsB, rodsA;   // L = rodsB·b + rodsA·a
};
constexpr TypeShape shapes[typeCount] = {
    {1, 1, 2, 2}, {2, 1, 2, 3}, {2, 2, 3, 3}, {3, 1, 2, 4}, {3, 3, 4, 4}};

int typeOf(const CalcInputs& in) {
    return int(in.number(typeInput).value_or(1));
}

QString shown5(long double v) {
    return formatGeneral(roundTo(v, 5));
}

void report(ReportBuilder& w, const ReportSource& s);

GeometryInput cellInput(const QString& name, const QString& label, const QString& caption,
                        const QStringList& spinNames, const QString& historyField) {
    GeometryInput g = metreInput(name, label, u"2"_s, historyField);
    g.labelName = caption;
    g.labelFollows = {typeInput};
    g.steps.names = spinNames;
    g.userChangesOnly = true;
    g.selectionColour = true;
    return g;
}

GeometryInput shownField(const QString& name, const QString& label) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.readOnly = true;
    return g;
}

SelectionParameter cellParameter(const QString& name, const QString& input, const QString& heading,
                                 const QString& note, const SelectionColumn& other) {
    SelectionParameter p;
    p.name = name;
    p.input = input;
    p.start = u"1"_s;
    p.end = u"5"_s;
    p.step = u"1"_s;
    p.lower = u"0,1"_s;
    p.recommendation = u"начальное значение меньше конечного"_s;
    p.heading = heading;
    p.note = note;
    p.columns = {other};
    return p;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TSet3_Frm"_s;
    d.caption = u"Горизонтальная прямоугольная решетка, размещенная на глубине."_s;
    d.helpContext = 29;
    d.kindCode = 22;
    d.menuGroup = MenuGroup::ComplexDevices;
    d.menuCaption = u"Горизонтальная прямоугольная решетка, размещенная на глубине..."_s;
    // m.DB holds the shape term added to the logarithm, not one inside it.
    d.formulaText = u"Расчетная формула:   R = p /(2*П*L) * [Ln(L*L / (To*D)) + m], Ом"_s;
    d.conditionLines = {u"b/a = 1..4; "_s, u"Для полосы шириной B: D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s};
    d.descriptionLines = {u"Контурный заземлитель в виде горизонтальной "_s,
                          u"прямоугольной решетки из прутков, размещенной "_s, u"на глубине."_s};
    d.construction = ConstructionSetup{u"D"_s, u"B"_s, u"горизонтальный"_s};
    d.windowTop = 5;

    GeometryInput length = cellInput(cellLength, u"b - длина ячейки, м:"_s, lengthCaption,
                                     {u"btnB1"_s, u"btnB01"_s, u"btnB001"_s}, u"A"_s);
    length.range.name = u"lblRangeB"_s;
    length.range.text = u"( 2 <= b <= 8 )"_s;
    length.range.hint = u"Диапазон допустимых значений длины ячейки для текущего значения ширины ячейки"_s;
    length.range.follows = {cellWidth, typeInput};
    GeometryInput width = cellInput(cellWidth, u"а - ширина ячейки, м:"_s, widthCaption,
                                    {u"btnA1"_s, u"btnA01"_s, u"btnA001"_s}, u"B"_s);
    width.range.name = u"lblRangeA"_s;
    width.range.text = u"( 0,5 <= a <= 2 )"_s;
    width.range.hint = u"Диапазон допустимых значений ширины ячейки для текущего значения длины ячейки"_s;
    width.range.follows = {cellLength, typeInput};
    GeometryInput depth = metreInput(depthInput, u"То - глубина заложения, м:"_s, u"0,7"_s, u"T"_s);
    depth.steps.names = {u"SpinButtonT1"_s, u"SpinButton3"_s, u"SpinButton4"_s};
    GeometryInput type;
    type.name = typeInput;
    type.label = u"Выбранный тип решетки:"_s;
    type.historyField = u"Schema"_s;
    type.picture.emplace();
    for (int i = 1; i <= typeCount; ++i)
        type.picture->pictures << u"Setka3_"_s + QString::number(i) + u".bmp"_s;
    type.picture->tab = u"Тип решетки"_s;
    type.picture->label = u"lblTip"_s;
    type.required = false;
    GeometryInput m = shownField(mField, u"Коэффициент m:"_s);
    m.clearedWithResult = true; // looked up for the ratio of the result shown
    d.geometry = {length,
                  width,
                  depth,
                  shownField(lengthField, u"b - длина решетки, м:"_s),
                  shownField(widthField, u"а - ширина решетки, м:"_s),
                  shownField(ratioField, u"Отношение длины решетки к ее ширине b/a:"_s),
                  shownField(totalField, u"L - суммарная длина проводников решетки, м:"_s),
                  m,
                  type};
    d.linkedParameters = true;

    CoefficientTab table;
    table.caption = u"Коэффициент m"_s;
    table.table = u"MTable"_s;
    table.columns = {{u"N"_s, u"Тип решетки"_s, {}},
                     {u"Otn"_s, u"Отношение"_s, {u"1"_s, u"1,5"_s, u"2"_s, u"3"_s, u"4"_s}},
                     {u"M"_s, u"Коэффициент m"_s, {}}};
    table.notes = {u"Отношение - отношение длины решетки к ее ширине."_s,
                   u"Коэффициент m - значение коэффициента m."_s, u"Тип решетки - номер типа решетки."_s};
    table.filterName = u"chkFilter"_s;
    table.filterCaption = u"Фильтрация по типу решетки"_s;
    table.filterField = u"N"_s;
    table.filterInput = typeInput;
    d.coefficientTabs = {table};

    using K = InputCheck::Kind;
    d.checks = soilAndConstructionChecks(K::Positive);
    d.checks << InputCheck{K::Positive, cellLength, u"длины ячейки"_s}
             << InputCheck{K::Positive, cellWidth, u"ширины ячейки"_s}
             << InputCheck{K::Positive, depthInput, u"глубины заложения"_s};

    HistoryLayout& h = d.history;
    h.presetName = u"Горизонтальная решетка 1."_s;
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u"Длина ячейки, м:"_s, u"A"_s}
               << HistoryCaption{u"Ширина ячейки, м:"_s, u"B"_s}
               << HistoryCaption{u"Номер схемы:"_s, u"Schema"_s};

    const SelectionColumn lengthColumn{cellLength, u"b, м"_s, u"b, м - длина ячейки, м"_s};
    // "а" of the width's note line is Cyrillic, its heading's "a" Latin.
    const SelectionColumn widthColumn{cellWidth, u"a, м"_s, u"а, м - ширина ячейки, м"_s};
    d.selection.parameters = {
        cellParameter(u"Длина ячейки, м"_s, cellLength, lengthColumn.heading, lengthColumn.note, widthColumn),
        cellParameter(u"Ширина ячейки, м"_s, cellWidth, widthColumn.heading, widthColumn.note, lengthColumn),
        correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, cellLength, cellWidth};

    d.report = report;
    d.reportSteps = 8;
    return d;
}

// The linked adjustment: the other side of the cell follows the one changed so that b/a stays
// within 1 … 4; every value to hundredths.
struct Cell {
    long double bc, ac;
};
Cell linkedCell(int type, Cell c, bool lengthChanged) {
    if (type < 1 || type > typeCount)
        return c;
    // b/a = k·bc/ac with k = 2 (type 2), 3 (type 4) or 1.
    const int k = type == 2 ? 2 : type == 4 ? 3 : 1;
    const auto r2 = [](long double v) { return roundTo(v, 2); };
    if (lengthChanged) {
        if (c.ac > k * c.bc)
            c.ac = k * c.bc;
        if (4 * c.ac < k * c.bc) {
            c.ac = r2(k * c.bc / 4);
            if (4 * c.ac < k * c.bc)
                c.ac = r2(c.ac + 0.01L);
        }
        return c;
    }
    if (k * c.bc < c.ac) {
        c.bc = r2(c.ac / k);
        if (k * c.bc < c.ac)
            c.bc = r2(c.bc + 0.01L);
    }
    if (4 * c.ac < k * c.bc) {
        c.bc = r2(4 * c.ac / k);
        if (4 * c.ac < k * c.bc)
            c.bc = r2(c.bc - 0.01L);
    }
    return c;
}

class BuriedLattice : public Calculator {
public:
    BuriedLattice() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString&) const override {
        const auto bc = in.positive(cellLength);
        const auto ac = in.positive(cellWidth);
        const auto g = bc && ac ? lattice(typeOf(in), *bc, *ac) : std::nullopt;
        // The lattice's sides stay as they were when a cell side is no number.
        if (!g)
            return {{ratioField, {}}, {totalField, {}}};
        return {{lengthField, formatGeneral(g->b)},
                {widthField, formatGeneral(g->a)},
                {ratioField, formatGeneral(g->ratio)},
                {totalField, formatGeneral(g->l)}};
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        if (!in.diameter || *in.diameter <= 0)
            return CheckFailure{diameterMissingMessage(), {}};
        const auto g = current(in);
        if (!g || g->ratio < 1 || g->ratio > 4)
            return CheckFailure{u"Ошибка. Отношение b/a должно быть в пределах от 1 до 4."_s, {}};
        if (!coefficientM(in.tables, typeOf(in), g->ratio))
            return CheckFailure{missingCoefficientMessage(typeOf(in), g->ratio), {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto to = in.positive(depthInput);
        const auto g = current(in);
        if (!p0 || !kp || !to || !g || !in.diameter || !(*in.diameter > 0))
            return std::nullopt;
        const auto m = coefficientM(in.tables, typeOf(in), g->ratio);
        if (!m)
            return std::nullopt;
        if (!in.selectionRunning())
            shown = {{lengthField, formatGeneral(g->b)},
                     {widthField, formatGeneral(g->a)},
                     {ratioField, formatGeneral(g->ratio)},
                     {totalField, formatGeneral(g->l)},
                     {mField, formatGeneral(*m)}};
        return ComputeResistance(*p0, *kp, *in.diameter, *to, g->l, *m);
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        const QString l = in.text(totalField);
        return {u"R = "_s + in.text(u"EditRo"_s) + u" / (2*3,14*"_s + l + u") * [Ln("_s + l + u'*' + l +
                u" / ("_s + in.text(depthInput) + u'*' + formatGeneral(in.diameter.value_or(0)) + u")) + "_s +
                in.text(mField) + u']' + oneLineEnding(in.text(u"EditVS1"_s))};
    }

    QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const override {
        if (changed != cellLength && changed != cellWidth && changed != typeInput)
            return {};
        const auto bc = in.positive(cellLength);
        const auto ac = in.positive(cellWidth);
        if (!bc || !ac)
            return {};
        const Cell c = linkedCell(typeOf(in), {*bc, *ac}, changed != cellWidth);
        QMap<QString, QString> moved;
        if (c.bc != *bc)
            moved.insert(cellLength, formatGeneral(c.bc));
        if (c.ac != *ac)
            moved.insert(cellWidth, formatGeneral(c.ac));
        return moved;
    }

    QMap<QString, QString> userChoice(const CalcInputs& in, const QString& input) const override {
        // Another type with linking on brings the cell's width into its range.
        if (input != typeInput || !in.linking)
            return {};
        return link(in, typeInput);
    }

    QString rangeLabel(const CalcInputs& in, const QString& label) const override {
        const int type = typeOf(in);
        if (type < 1 || type > typeCount)
            return Calculator::rangeLabel(in, label);
        if (label == lengthCaption) {
            static const char* const captions[typeCount] = {
                "b - длина ячейки, м:", "b/2 - длина ячейки, м:", "b/2 - длина ячейки, м:",
                "b/3 - длина ячейки, м:", "b/3 - длина ячейки, м:"};
            return QString::fromUtf8(captions[type - 1]);
        }
        if (label == widthCaption) {
            static const char* const captions[typeCount] = {
                "а - ширина ячейки, м:", "а - ширина ячейки, м:", "а/2 - ширина ячейки, м:",
                "а - ширина ячейки, м:", "а/3 - ширина ячейки, м:"};
            return QString::fromUtf8(captions[type - 1]);
        }
        const auto range = [](long double low, const QString& side, long double high) {
            return u"( "_s + shown5(low) + u" =< "_s + side + u" =< "_s + shown5(high) + u" )"_s;
        };
        if (label == "lblRangeB"_L1) {
            const auto ac = in.positive(cellWidth);
            if (!ac)
                return {};
            switch (type) {
            case 1:
                return range(*ac, u"b"_s, 4 * *ac);
            case 2:
                return range(*ac / 2, u"b/2"_s, 2 * *ac);
            case 3:
                return range(*ac, u"b/2"_s, 4 * *ac);
            case 4:
                return range(*ac / 3, u"b/3"_s, 4 * *ac / 3);
            default:
                return range(*ac, u"b/3"_s, 4 * *ac);
            }
        }
        if (label == "lblRangeA"_L1) {
            const auto bc = in.positive(cellLength);
            if (!bc)
                return {};
            switch (type) {
            case 1:
                return range(*bc / 4, u"a"_s, *bc);
            case 2:
                return range(*bc / 2, u"a"_s, 2 * *bc);
            case 3:
                return range(*bc / 4, u"a/2"_s, *bc);
            case 4:
                return range(3 * *bc / 4, u"a"_s, 3 * *bc);
            default:
                return range(*bc / 4, u"a/3"_s, *bc);
            }
        }
        return Calculator::rangeLabel(in, label);
    }

    bool selectionAdmissible(const CalcInputs& in) const override { return !checkGeometry(in); }

    void selectionValueApplied(const CalcInputs& in, const QString& input,
                               QMap<QString, long double>& values) const override {
        // Only the single-parameter run moves the other side, and only with linking on.
        if (!in.singleRun || !in.linking || (input != cellLength && input != cellWidth))
            return;
        if (!values.contains(cellLength) || !values.contains(cellWidth))
            return;
        const long double bc = values.value(cellLength);
        const long double ac = values.value(cellWidth);
        if (!(bc > 0) || !(ac > 0))
            return;
        const Cell c = linkedCell(typeOf(in), {bc, ac}, input == cellLength);
        values.insert(cellLength, c.bc);
        values.insert(cellWidth, c.ac);
    }

private:
    static std::optional<Lattice> current(const CalcInputs& in) {
        const auto bc = in.positive(cellLength);
        const auto ac = in.positive(cellWidth);
        if (!bc || !ac)
            return std::nullopt;
        return lattice(typeOf(in), *bc, *ac);
    }
};

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const int type = int(parseNumber(s.text(typeInput)).value_or(1));
    const TypeShape shape = shapes[std::clamp(type, 1, typeCount) - 1];
    const QString b = s.text(lengthField);
    const QString a = s.text(widthField);
    const QString ratio = s.text(ratioField);
    const QString l = s.text(totalField);
    const QString m = s.text(mField);
    const QString to = s.text(depthInput);
    const QString p = s.text(u"EditRo"_s);

    writeReportOpening(
        w, s,
        {u"Контурный заземлитель в виде горизонтальной прямоугольной решетки из прутков, размещенной на "
         u"глубине."_s,
         u"Setka3_"_s + QString::number(type) + u".bmp"_s});
    // "а" is Cyrillic in the sentences, Latin in the formulas.
    w.WordText(u"Заземляющее устройство представляет собой прямоугольную решетку длиной b = "_s + b +
               u" м и шириной а = "_s + a + u" м"_s +
               (type == 1 ? u"."_s
                          : u" (длина ячейки - "_s + s.text(cellLength) + u" м, ширина ячейки - "_s +
                                s.text(cellWidth) + u" м)."_s) +
               reportCr);
    w.WordText(u"Отношение сторон решетки b/a = "_s + b + u'/' + a + u" = "_s + ratio + u'.' + reportCr);
    w.progress();
    w.WordText(u"Суммарная длина проводников решетки:"_s + reportCr);
    w.setAlignment(A::Center);
    const QString kb = QString::number(shape.rodsB);
    const QString ka = QString::number(shape.rodsA);
    w.WordText(u"L = "_s + kb + u" * b + "_s + ka + u" * a, м;"_s + reportCr);
    w.WordText(u"L = "_s + kb + u" * "_s + b + u" + "_s + ka + u" * "_s + a + u" = "_s + l + u" м."_s +
               reportCr);
    w.setAlignment(A::Left);
    w.progress();
    // "То" is Cyrillic here.
    w.WordText(u"Глубина заложения решетки То = "_s + to + u" м."_s + reportCr);
    const auto d = w.WordConstructionParagraph(s.text(u"cmbSech"_s), s.text(u"cmbDiam"_s),
                                               s.text(u"frmSech1.EditDiam"_s), u"D"_s);
    w.progress();
    w.WordText(u"Для b/a = "_s + ratio + u" коэффициент m = "_s + m + u'.' + reportCr);
    w.WordText(u"Сопротивление растеканию тока заземлителя:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (2*П*L) * [Ln(L"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" / (To*D)) + m], Ом."_s + reportCr);
    w.WordText(u"R = "_s + p + u" / (2*3,14*"_s + l + u") * [Ln("_s + l);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" / ("_s + to + u'*' + formatGeneral(d.value_or(0)) + u")) + "_s + m + u']' +
               multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    w.setAlignment(A::Left);
    w.progress();
    if (s.installation.include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}
} // namespace

const Calculator& calculator() {
    static const BuriedLattice c;
    return c;
}

std::optional<Lattice> lattice(int type, long double bc, long double ac) {
    if (type < 1 || type > typeCount || !(bc > 0) || !(ac > 0))
        return std::nullopt;
    const TypeShape& s = shapes[type - 1];
    Lattice g;
    g.b = s.cellsB * bc;
    g.a = s.cellsA * ac;
    g.ratio = roundTo(g.b / g.a, 4);
    g.l = roundTo(s.rodsB * g.b + s.rodsA * g.a, 2);
    return g;
}

std::optional<long double> coefficientM(const CoefficientTables* tables, int type, long double x) {
    if (!tables)
        return std::nullopt;
    const CoefficientRows ofType =
        completeRows(tables->rows(u"m.DB"_s, {u"N"_s, u"Otn"_s, u"M"_s}), 3, LookupKey{0, double(type)});
    const CoefficientRows near = bracketingRows(ofType, {{1, double(x)}});
    if (near.isEmpty())
        return std::nullopt;
    const CoefficientRow& lower = near.first();
    const CoefficientRow& upper = near.last();
    const bool exact = sameTableValue(lower[1], double(x));
    if (!exact && !(lower[1] < x && upper[1] > x))
        return std::nullopt;
    const long double m1 = lower[2];
    const long double m2 = upper[2];
    long double m = m1;
    if (!exact && m1 != m2)
        m = m1 - (m1 - m2) * (x - lower[1]) / (upper[1] - lower[1]);
    return roundTo(m, 2);
}

QString missingCoefficientMessage(int type, long double x) {
    return u"Ошибка. В таблице коэффициентов m (m.DB) нет значений для типа решетки "_s +
           QString::number(type) + u", между которыми лежит отношение b/a = "_s + formatGeneral(x) +
           u". Коэффициент m не определен."_s;
}

long double ComputeResistance(long double p0, long double kp, long double d, long double to, long double l,
                              long double m) {
    const long double p = calculatedResistivity(p0, kp);
    return roundResistance((std::log(l * l / to / d) + m) * (p / 2 / std::numbers::pi_v<long double> / l));
}

} // namespace kz::buriedlattice
