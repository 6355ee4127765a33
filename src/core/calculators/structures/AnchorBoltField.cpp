#include "core/calculators/structures/AnchorBoltField.h"

#include "core/calculators/structures/BuildingFoundation.h"
#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/OrderReport.h"
#include "core/rules/PekvRules.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::anchorboltfield {

namespace {
const QString lengthInput = QStringLiteral("EditA");
const QString widthInput = QStringLiteral("EditB");
const QString areaInput = QStringLiteral("EditS");
const QString pekvInput = QStringLiteral("EditPekv");
const QString upperInput = QStringLiteral("EditP1");
const QString concreteInput = QStringLiteral("EditPb");
const QString boltLengthInput = QStringLiteral("EditL");
const QString boltDiameterInput = QStringLiteral("EditDb");
const QString concreteDiameterInput = QStringLiteral("EditDbb");
const QString boltsInput = QStringLiteral("SpinNb");
const QString foundationsInput = QStringLiteral("SpinNf");
const QString kpField = QStringLiteral("EditKp");
const QString includeInput = QStringLiteral("chkPekv");
constexpr long double pi = std::numbers::pi_v<long double>;

GeometryInput input(const QString& name, const QString& label, const QString& text, QList<double> steps,
                    const QString& group, const QString& historyField) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.defaultText = text;
    g.steps.sizes = steps;
    g.steps.prefix = u"btn"_s + name.mid(4);
    g.group = group;
    g.historyField = historyField;
    return g;
}

GeometryInput count(const QString& name, const QString& label, int value, int minimum, int maximum,
                    const QString& group, const QString& historyField) {
    GeometryInput g = input(name, label, QString::number(value), {}, group, historyField);
    g.spin.emplace();
    g.spin->minimum = minimum;
    g.spin->maximum = maximum;
    return g;
}

GeometryInput shownField(const QString& name, const QString& label, const QString& group) {
    GeometryInput g = input(name, label, {}, {}, group, {});
    g.readOnly = true;
    return g;
}

SelectionParameter parameter(const QString& name, const QString& input, const QString& start,
                             const QString& end, const QString& step, bool rising, const QString& heading,
                             const QString& note) {
    SelectionParameter p;
    p.name = name;
    p.input = input;
    p.start = start;
    p.end = end;
    p.step = step;
    p.recommendation =
        rising ? u"начальное значение меньше конечного"_s : u"начальное значение больше конечного"_s;
    p.heading = heading;
    p.note = note;
    return p;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TMKFundFm"_s;
    d.caption = u"Фундаментное поле здания с металлическими колоннами."_s;
    d.helpContext = 33;
    d.kindCode = 100;
    d.menuGroup = MenuGroup::BuildingStructures;
    d.menuCaption = u"Фундаментное поле здания с металлическими колоннами..."_s;
    d.soilFrame = false;
    d.multiLineOrder = true;
    d.resultLabel = u"R - сопротивление растеканию, Ом:"_s;
    d.installationResistivityInput = upperInput;
    d.windowTop = 15;
    d.equivalentResistivity =
        EquivalentResistivitySetup{pekvInput,    u"btnPekv"_s,
                                   areaInput,    int(pekv::Form::Area),
                                   includeInput, u"Включить порядок расчета р эквивалентного"_s,
                                   upperInput};

    const QString building = u" Параметры здания "_s;
    GeometryInput a = input(lengthInput, u"а - длина , м:"_s, {}, {10, 1, 0.1}, building, u"A"_s);
    GeometryInput b = input(widthInput, u"b - ширина , м:"_s, {}, {10, 1, 0.1}, building, u"B"_s);
    GeometryInput s =
        input(areaInput, u"S - площадь по периметру, м2:"_s, u"100"_s, {100, 10, 1, 0.1}, building, u"S"_s);
    for (GeometryInput* g : {&a, &b, &s})
        g->emptyAllowed = true; // a and b may stay empty; S is checked as a number
    a.required = false;
    b.required = false;

    const QString bolt = u" Параметры анкерного болта "_s;
    GeometryInput length =
        input(boltLengthInput, u"Lб - длина болта, м:"_s, u"0,6"_s, {0.1, 0.01}, bolt, u"L"_s);
    GeometryInput diameter =
        input(boltDiameterInput, u"dб - диаметр болта, м:"_s, u"0,042"_s, {0.01, 0.001}, bolt, u"Db"_s);
    GeometryInput bolts =
        count(boltsInput, u"nб - количество болтов на 1 фундамент, шт.:"_s, 8, 2, 100, bolt, u"Nb"_s);
    // The count lays out the grid; the rows typed afterwards decide the result.
    bolts.changeEmptiesResult = true;

    const QString foundation = u" Параметры фундаментов "_s;
    GeometryInput foundations =
        count(foundationsInput, u"N - число фундаментов, шт.:"_s, 1, 1, 1000, foundation, u"Nf"_s);
    GeometryInput concrete = input(concreteInput, u"рб - удельное сопротивление бетона, Ом м:"_s, u"200"_s,
                                   {10, 1}, foundation, u"Pb"_s);
    GeometryInput cover =
        input(concreteDiameterInput, u"Dб - диаметр анкерного болта с защитным слоем бетона, м:"_s, u"0,3"_s,
              {0.1, 0.01}, foundation, u"Dbb"_s);

    const QString soil = u" Параметры грунта "_s;
    GeometryInput upper = input(upperInput, u"p1 - удельное сопротивление верхнего слоя земли, Ом м:"_s,
                                u"80"_s, {100, 10, 1}, soil, u"P1"_s);
    GeometryInput pekv = input(pekvInput, u"pэ - эквивалентное удельное сопротивление грунта, Ом м:"_s,
                               u"150"_s, {100, 10, 1}, soil, u"Pe"_s);
    pekv.button.name = u"btnPekv"_s;
    pekv.button.hint = u"Вызов диалога расчета эквивалентного удельного сопротивления грунта"_s;
    pekv.button.needs = areaInput;

    const QString mutual = u" Коэффициент взаимного влияния болтов Кп "_s;
    GeometryInput grid = input(gridName(), {}, {}, {}, mutual, {});
    grid.required = false;
    grid.exitCheck = false;
    grid.changeEmptiesResult = true;
    grid.clearedWithResult = true; // its Ki column
    RowGridSetup rows;
    rows.headers = {u"N болта"_s, u"Xi, м"_s, u"Yi, м"_s, u"Zi, м"_s, u"Ki"_s};
    rows.editableColumns = distanceColumns;
    rows.countInput = boltsInput;
    rows.firstNumber = 2;
    // Two rows of four bolts, 0,2 m apart along the row and 0,3 m across.
    rows.defaultText = u"0,2||;0,4||;0,6||;|0,3|;0,2|0,3|;0,4|0,3|;0,6|0,3|"_s;
    rows.notes = {u"Xi - расстояние по горизонтали, Yi - расстояние по вертикали, Zi - полное расстояние"_s};
    rows.buttons = {
        {u"btnClear"_s, u"Очистить"_s, u"Удалить все значения расстояний"_s, true},
        {u"btnTest"_s, u"Тест"_s, u"Проверить правильность введенных значений"_s, false},
        {u"btnScore1"_s, u"Расчет"_s, u"Выполнить расчет коэффициентов взаимного влияния"_s, false}};
    grid.rowGrid = rows;
    grid.newColumn = true; // the grid and the results beside the inputs: the window stays on screen
    GeometryInput kp = shownField(kpField, u"Кп:"_s, mutual);
    kp.clearedWithResult = true; // computed from the grid's rows with the result

    const QString results = u" Результаты расчета "_s;
    QList<GeometryInput> shown = {
        shownField(u"EditRb"_s, u"rб - сопротивление одного анкерного болта, Ом:"_s, results),
        shownField(u"EditDk"_s, u"Dк - кажущийся диаметр электрода в земле, м:"_s, results),
        shownField(u"EditSRb"_s, u"Rб - сопротивление анкерных болтов, Ом:"_s, results),
        shownField(u"EditDekv"_s, u"Dэ - эквивалентный диаметр анкерного болта, м:"_s, results),
        shownField(u"EditC"_s, u"C - коэффициент:"_s, results)};
    for (GeometryInput& g : shown)
        g.clearedWithResult = true;

    // The bolt first: what the foundation field is made of, then where it stands.
    d.geometry = {length, diameter, bolts, foundations, concrete, cover, upper, pekv, a, b, s, grid, kp};
    d.geometry << shown;

    using K = InputCheck::Kind;
    d.checks = {
        {K::Positive, areaInput, u"площади фундаментного поля здания"_s},
        {K::Positive, pekvInput, u"эквивалентного удельного сопротивления грунта"_s},
        {K::Positive, upperInput, u"удельного сопротивления верхнего слоя земли"_s},
        {K::Positive, boltLengthInput, u"длины анкерного болта"_s},
        {K::Positive, boltDiameterInput, u"диаметра анкерного болта"_s},
        {K::Positive, concreteInput, u"удельного сопротивления бетона фундамента"_s},
        {K::Positive, concreteDiameterInput, u"диаметра анкерного болта с защитным слоем бетона"_s},
    };
    d.soilRangeCheck = false;

    HistoryLayout& h = d.history;
    h.ownTables = u"histmk"_s;
    h.presetName = u"Металлические колонны 1."_s;
    h.captions = {{u"Площадь фундаментного поля здания, м2:"_s, u"S"_s},
                  {u"Эквивалентное удельное сопротивление грунта, Ом м"_s, u"Pe"_s},
                  {u"Длина фундамента здания, м:"_s, u"A"_s},
                  {u"Ширина фундамента здания, м:"_s, u"B"_s},
                  {u"Удельное сопротивление верхнего слоя земли, Ом м"_s, u"P1"_s},
                  {u"Длина анкерного болта, м:"_s, u"L"_s},
                  {u"Удельное сопротивление бетона, Ом м"_s, u"Pb"_s},
                  {u"Диаметр анкерного болта, м:"_s, u"Db"_s},
                  {u"Количество фундаментов, шт.:"_s, u"Nf"_s},
                  {u"Количество анкерных болтов, шт.:"_s, u"Nb"_s},
                  {u"Диаметр анкерного болта с защитным слоем бетона, м:"_s, u"Dbb"_s}};

    SelectionParameter nf = parameter(u"Количество фундаментов, шт."_s, foundationsInput, u"1"_s, u"100"_s,
                                      u"1"_s, true, u"N, шт."_s, u"N, шт. - количество фундаментов, шт."_s);
    nf.type = u"integer"_s;
    nf.settingsTable = 3;
    d.selection.parameters = {
        parameter(u"Эквивалентное удельное сопротивление грунта, Ом м"_s, pekvInput, u"150"_s, u"40"_s,
                  u"1"_s, false, u"рэ, Ом м"_s,
                  u"рэ, Ом м - эквивалентное удельное сопротивление грунта, Ом м"_s),
        parameter(u"Удельное сопротивление верхних слоев земли, Ом м"_s, upperInput, u"40"_s, u"150"_s,
                  u"1"_s, true, u"р1, Ом м"_s,
                  u"р1, Ом м - удельное сопротивление верхнего слоя земли, Ом м"_s),
        parameter(u"Удельное сопротивление бетона фундамента, Ом м"_s, concreteInput, u"250"_s, u"150"_s,
                  u"1"_s, false, u"рб, Ом м"_s,
                  u"рб, Ом м - удельное сопротивление бетона фундамента, Ом м"_s),
        parameter(u"Длина анкерного болта, м"_s, boltLengthInput, u"0,3"_s, u"1,5"_s, u"0,1"_s, true,
                  u"Lб, м"_s, u"Lб, м - длина анкерного болта, м"_s),
        parameter(u"Диаметр анкерного болта, м"_s, boltDiameterInput, u"0,01"_s, u"0,1"_s, u"0,01"_s, true,
                  u"dб, м"_s, u"dб, м - диаметр анкерного болта, м"_s),
        parameter(u"Диаметр анкерного болта с защитным слоем бетона, м"_s, concreteDiameterInput, u"1"_s,
                  u"0,1"_s, u"0,1"_s, false, u"Dб, м"_s,
                  u"Dб, м - диаметр анкерного болта с защитным слоем бетона, м"_s),
        nf,
        parameter(u"Длина здания, м"_s, lengthInput, u"5"_s, u"50"_s, u"1"_s, true, u"a, м"_s,
                  u"a, м - длина здания, м"_s),
        parameter(u"Ширина здания, м"_s, widthInput, u"5"_s, u"50"_s, u"1"_s, true, u"b, м"_s,
                  u"b, м - ширина здания, м"_s),
        parameter(u"Площадь здания, м2"_s, areaInput, u"50"_s, u"2500"_s, u"1"_s, true, u"S, м"_s,
                  u"S, м - площадь здания, м2"_s),
    };
    d.selection.writeBack = {pekvInput,        upperInput,        concreteInput,
                             boltLengthInput,  boltDiameterInput, concreteDiameterInput,
                             foundationsInput, lengthInput,       widthInput,
                             areaInput};
    d.report = calcOrderReport(d.caption, d.orderMemoName);
    d.reportSteps = 3;
    return d;
}

bool isZero(const QString& text) {
    const auto v = parseNumber(text);
    return v && *v == 0;
}

CheckFailure cellFailure(const QString& message, int row, int column, const GridRows& rows) {
    return CheckFailure{
        message, gridCellName(gridName(), row, column + 1), {{gridName(), gridRowsText(rows)}}};
}

QString zeroMessage() {
    return u"В ячейке должно быть ненулевое значение."_s;
}

// The values of the formulas; the grid's Kп as EditKp shows it.
Values valuesOf(const CalcInputs& in, long double kp) {
    Values v;
    v.p1 = in.number(upperInput).value_or(0);
    v.pb = in.number(concreteInput).value_or(0);
    v.length = in.number(boltLengthInput).value_or(0);
    v.boltDiameter = in.number(boltDiameterInput).value_or(0);
    v.concreteDiameter = in.number(concreteDiameterInput).value_or(0);
    v.bolts = in.number(boltsInput).value_or(0);
    v.foundations = in.number(foundationsInput).value_or(0);
    v.area = in.number(areaInput).value_or(0);
    v.pekv = in.number(pekvInput).value_or(0);
    v.kp = kp;
    return v;
}

class FoundationField : public Calculator {
public:
    FoundationField() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override {
        // The building's sides and area are coupled as for the building foundation.
        QMap<QString, QString> out;
        if (changed == lengthInput || changed == widthInput) {
            const auto a = in.positive(lengthInput);
            const auto b = in.positive(widthInput);
            if (a && b)
                out.insert(areaInput, buildingfoundation::areaText(*a, *b));
        } else if (changed == areaInput) {
            if (!in.filled(lengthInput))
                out.insert(widthInput, {});
            if (!in.filled(widthInput))
                out.insert(lengthInput, {});
            const auto a = in.positive(lengthInput);
            const auto b = in.positive(widthInput);
            if (a && b && in.positive(areaInput) &&
                in.text(areaInput) != buildingfoundation::areaText(*a, *b)) {
                out.insert(lengthInput, {});
                out.insert(widthInput, {});
            }
            out.insert(includeInput, {});
        } else if (changed == pekvInput) {
            out.insert(includeInput, {});
        }
        return out;
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        if (in.number(boltsInput).value_or(0) <= 0 || in.number(foundationsInput).value_or(0) <= 0)
            return CheckFailure{};
        const GridTest test = testGrid(rowsOf(in));
        if (test.failure)
            return test.failure;
        const Coefficient k = mutualInfluence(test.rows, *in.number(boltLengthInput));
        if (k.failure)
            return k.failure;
        const Values v = valuesOf(in, parseNumber(k.kpText).value_or(0));
        if (apparentDiameter(v, boltResistance(v)) == 0)
            return CheckFailure{apparentDiameterMessage(), {}};
        if (!ComputeResistance(v))
            return CheckFailure{equivalentDiameterMessage(), {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const GridTest test = testGrid(rowsOf(in));
        const auto length = in.number(boltLengthInput);
        if (test.failure || !length)
            return std::nullopt;
        const Coefficient k = mutualInfluence(test.rows, *length);
        if (k.failure)
            return std::nullopt;
        const auto r = ComputeResistance(valuesOf(in, parseNumber(k.kpText).value_or(0)));
        if (!r)
            return std::nullopt;
        shown.insert(gridName(), gridRowsText(k.rows));
        shown.insert(kpField, k.kpText);
        shown.insert(u"EditRb"_s, formatGeneral(r->rb));
        shown.insert(u"EditDk"_s, formatGeneral(r->dk));
        shown.insert(u"EditSRb"_s, formatGeneral(r->sumRb));
        shown.insert(u"EditDekv"_s, formatGeneral(r->de));
        shown.insert(u"EditC"_s, formatGeneral(r->c));
        // The resistivity recomputed from the layers is the one the order shows; the input shows it too.
        if (const auto layers = layersOf(in)) {
            CalcOrderText scratch(scratchTriples());
            if (const auto pekv =
                    buildingfoundation::equivalentResistivityLines(scratch, in.text(areaInput), layers);
                pekv && *pekv != in.text(pekvInput))
                shown.insert(pekvInput, *pekv);
        }
        return r->r;
    }

    QStringList calcOrder(const CalcInputs& in) const override;

    GridCommand gridCommand(const CalcInputs& in, const QString& button) const override {
        if (button == u"btnTest"_s) {
            GridTest test = testGrid(rowsOf(in));
            if (test.failure)
                return {test.failure, {}, {}};
            return {std::nullopt, gridPassedMessage(), {{gridName(), gridRowsText(test.rows)}}};
        }
        if (button == u"btnScore1"_s) {
            if (!in.filled(boltLengthInput))
                return {CheckFailure{u"Введите длину анкерного болта."_s, boltLengthInput, {}}, {}, {}};
            const GridTest test = testGrid(rowsOf(in));
            if (test.failure)
                return {test.failure, {}, {}};
            const auto length = in.positive(boltLengthInput);
            if (!length)
                return {CheckFailure{*positiveMessage(in.text(boltLengthInput), u"длины анкерного болта"_s),
                                     boltLengthInput,
                                     {{gridName(), gridRowsText(test.rows)}}},
                        {},
                        {}};
            const Coefficient k = mutualInfluence(test.rows, *length);
            if (k.failure)
                return {k.failure, {}, {}};
            return {std::nullopt, {}, {{gridName(), gridRowsText(k.rows)}, {kpField, k.kpText}}};
        }
        return {};
    }

    std::optional<CheckFailure> selectionPrecondition(const CalcInputs& in) const override {
        // The run varies everything but the distances: they must pass the test first.
        return testGrid(rowsOf(in)).failure;
    }

    QList<SelectionParameter> selectionOffer(const CalcInputs& in) const override {
        // The sides while both are known, otherwise the area itself.
        const bool sides = in.filled(lengthInput) && in.filled(widthInput);
        QList<SelectionParameter> offer;
        for (const SelectionParameter& p : description().selection.parameters) {
            const bool side = p.input == lengthInput || p.input == widthInput;
            if ((side && !sides) || (p.input == areaInput && sides))
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
        if (values.value(lengthInput) > 0 && values.value(widthInput) > 0)
            values.insert(areaInput, roundTo(values.value(lengthInput) * values.value(widthInput), 2));
    }

private:
    static GridRows rowsOf(const CalcInputs& in) {
        return parseGridRows(in.text(gridName()), distanceColumns);
    }

    static std::optional<buildingfoundation::Layers> layersOf(const CalcInputs& in) {
        if (!in.filled(includeInput))
            return std::nullopt;
        return buildingfoundation::Layers{in.text(u"pekv.p1"_s), in.text(u"pekv.p2"_s), in.text(u"pekv.h"_s)};
    }

    // Triples of a text that is not shown: the program's list keeps those of the order.
    static ParameterTriples& scratchTriples() {
        thread_local ParameterTriples t;
        return t;
    }
};

QStringList FoundationField::calcOrder(const CalcInputs& in) const {
    const QString s = in.text(areaInput);
    const QString p1 = in.text(upperInput);
    const QString pb = in.text(concreteInput);
    const QString l = in.text(boltLengthInput);
    const QString db = in.text(boltDiameterInput);
    const QString dbb = in.text(concreteDiameterInput);
    const QString nb = in.text(boltsInput);
    const QString n = in.text(foundationsInput);
    const QString rb = in.text(u"EditRb"_s);
    const QString dk = in.text(u"EditDk"_s);
    const QString kp = in.text(kpField);
    const QString sumRb = in.text(u"EditSRb"_s);
    const QString de = in.text(u"EditDekv"_s);
    const QString c = in.text(u"EditC"_s);
    const QString r = in.text(u"EditVS1"_s);
    const GridRows rows = parseGridRows(in.text(gridName()), distanceColumns + 1);

    CalcOrderText o;
    o.begin();
    o.installation(in.installation);
    o.data(u"Площадь производственного здания с металлическими колоннами"_s, u"S"_s, s, u"кв. м"_s);
    o.data(u"Удельное сопротивление верхнего слоя земли"_s, u"p1"_s, p1, u"Ом м"_s);
    QString pekv = in.text(pekvInput);
    if (const auto recomputed = buildingfoundation::equivalentResistivityLines(o, s, layersOf(in)))
        pekv = *recomputed;
    else
        o.data(u"Удельное эквивалентное сопротивление грунта"_s, u"pэ"_s, pekv, u"Ом м"_s);
    o.data(u"Число железобетонных фундаментов (металлических колонн)"_s, u"N"_s, n, u"шт"_s);
    o.data(u"Удельное сопротивление бетона фундамента"_s, u"pб"_s, pb, u"Ом м"_s);
    o.data(u"Количество анкерных болтов на каждый железобетонный фундамент"_s, u"nб"_s, nb, u"шт"_s);
    o.data(u"Длина анкерного болта"_s, u"Lб"_s, l, u"м"_s);
    o.data(u"Диаметр анкерного болта"_s, u"dб"_s, db, u"м"_s);
    o.data(u"Диаметр анкерного болта вместе с наименьшим защитным слоем бетона"_s, u"Dб"_s, dbb, u"м"_s);
    o.line(u"Расстояния между анкерными болтами (Xi - по горизонтали от 1-го болта до i-го, "
           u"Yi - по вертикали от 1-го болта до i-го, Ri - полное расстояние от 1-го болта до i-го):"_s);
    for (int i = 0; i < rows.size(); ++i) {
        const QString k = QString::number(i + 2);
        QStringList parts;
        if (!rows[i][X].isEmpty())
            parts << u"X"_s + k + u" = "_s + rows[i][X] + u" м"_s;
        if (!rows[i][Y].isEmpty())
            parts << u"Y"_s + k + u" = "_s + rows[i][Y] + u" м"_s;
        parts << u"R"_s + k + u" = "_s + rows[i][Z] + u" м"_s;
        o.line(parts.join(u"; "_s) + u"."_s);
    }
    o.line(u"Определить сопротивление фундаментного поля при условии, что заземлителями являются анкерные "
           u"болты, "
           u"несоединенные с арматурой фундаментов."_s);
    o.formula(u"Сопротивление одного анкерного болта"_s,
              u"rб = pб/2/П/Lб*Ln(4*Lб/dб) - pб/2/П/Lб*Ln(4*Lб/Dб) + p1/2/П/Lб*Ln(4*Lб/Dб), Ом"_s,
              u"rб = "_s + pb + u"/2/3,14/"_s + l + u"*Ln(4*"_s + l + u"/"_s + db + u") - "_s + pb +
                  u"/2/3,14/"_s + l + u"*Ln(4*"_s + l + u"/"_s + dbb + u") + "_s + p1 + u"/2/3,14/"_s + l +
                  u"*Ln(4*"_s + l + u"/"_s + dbb + u") = "_s + rb + u" Ом."_s);
    o.formula(u"Кажущийся диаметр электрода в земле с p1"_s, u"Dк = 4*Lб/e**(2*П*Lб*rб/p1), м"_s,
              u"Dк = 4*"_s + l + u"/e**(2*3,14*"_s + l + u"*"_s + rb + u"/"_s + p1 + u") = "_s + dk +
                  u" м."_s);
    o.line(u"Коэффициент Kп, учитывающий взаимное влияние анкерных болтов:"_s);
    o.line(u"Kп = K2*K3* .. *Ki,"_s);
    o.line(u"где Ki -  коэффициент, учитывающий взаимное влияние 1-го и i-го болтов:"_s);
    o.line(u"Ki = [Корень(Ri*Ri+Lб*Lб)+Lб] / [Корень(Ri*Ri+Lб*Lб)-Lб];"_s);
    QStringList factors;
    for (int i = 0; i < rows.size(); ++i) {
        const QString z = rows[i][Z];
        const QString root = u"Корень("_s + z + u"*"_s + z + u"+"_s + l + u"*"_s + l + u")"_s;
        o.line(u"K"_s + QString::number(i + 2) + u" = ["_s + root + u"+"_s + l + u"] / ["_s + root + u"-"_s +
               l + u"] = "_s + rows[i][K] + u";"_s);
        factors << rows[i][K];
    }
    o.line(u"Kп = "_s + factors.join(u"*"_s) + u" = "_s + kp + u"."_s);
    o.formula(u"Суммарное сопротивление анкерных болтов"_s,
              u"Rб = 1/nб*[p1/2/П/Lб*Ln(4*Lб/Dк) + p1/4/П/Lб*Ln(Kп)], Ом"_s,
              u"Rб = 1/"_s + nb + u"*["_s + p1 + u"/2/3,14/"_s + l + u"*Ln(4*"_s + l + u"/"_s + dk +
                  u") + "_s + p1 + u"/4/3,14/"_s + l + u"*Ln("_s + kp + u")] = "_s + sumRb + u" Ом."_s);
    o.formula(u"Эквивалентный диаметр анкерного болта"_s, u"Dэ = 4*Lб/e**[2*П*Lб*Rб/p1], м"_s,
              u"Dэ = 4*"_s + l + u"/e**[2*3,14*"_s + l + u"*"_s + sumRb + u"/"_s + p1 + u"] = "_s + de +
                  u" м."_s);
    o.formula(u"Коэффициент C"_s,
              u"C = Корень(S)/2/П/Lб/N*[Ln(8*Lб/Dэ) - 1 + 2*1.37*Lб/Корень(S)*(Корень(N)-1)*(Корень(N)-1)]"_s,
              u"C = Корень("_s + s + u")/2/3,14/"_s + l + u"/"_s + n + u"*[Ln(8*"_s + l + u"/"_s + de +
                  u") - 1 + 2*1,37*"_s + l + u"/Корень("_s + s + u")*(Корень("_s + n + u")-1)*(Корень("_s +
                  n + u")-1)] = "_s + c + u"."_s);
    o.formula(u"Сопротивление растеканию фундаментного поля здания"_s, u"Rр = C*pэ/Корень(S), Ом"_s,
              u"Rр = "_s + c + u"*"_s + pekv + u"/Корень("_s + s + u")"_s + multiLineEnding(r));
    o.verdict(in.installation, u"фундаментное поле здания"_s, u"Rр"_s, double(parseNumber(r).value_or(0)));
    return o.lines();
}

} // namespace

QString gridName() {
    return QStringLiteral("StringGrid1");
}

QString gridPassedMessage() {
    return u"Ошибок не найдено."_s;
}

QString apparentDiameterMessage() {
    return u"Ошибка. Для данного набора параметров кажущийся диаметр электрода в земле Dк равен 0. "
           u"Расчет невозможен."_s;
}

QString equivalentDiameterMessage() {
    return u"Ошибка. Для данного набора параметров эквивалентный диаметр анкерного болта Dэ равен 0. "
           u"Расчет невозможен."_s;
}

GridTest testGrid(GridRows rows) {
    for (QStringList& row : rows)
        while (row.size() < distanceColumns)
            row << QString();
    // Every filled distance is a number, before any row is judged.
    for (int i = 0; i < rows.size(); ++i)
        for (int c = X; c <= Z; ++c)
            if (!rows[i][c].isEmpty() && !parseNumber(rows[i][c]))
                return {rows, cellFailure(u"Ошибочное значение для числового параметра."_s, i, c, rows)};
    for (int i = 0; i < rows.size(); ++i) {
        QStringList& row = rows[i];
        const bool x = !row[X].isEmpty();
        const bool y = !row[Y].isEmpty();
        const bool z = !row[Z].isEmpty();
        if (!x && !y && !z)
            return {rows,
                    cellFailure(u"Заполнение хотя бы одной из ячеек строки в столбцах 2 .. 4 (Xi, Yi, Zi) "
                                u"обязательно."_s,
                                i, X, rows)};
        if (!x && !y) {
            if (isZero(row[Z]))
                return {rows, cellFailure(zeroMessage(), i, Z, rows)};
        } else if (x != y) {
            // One distance alone is the whole distance.
            const int given = x ? X : Y;
            if (isZero(row[given]))
                return {rows, cellFailure(zeroMessage(), i, given, rows)};
            row[Z] = row[given];
            row[given].clear();
        } else {
            if (isZero(row[X]) && isZero(row[Y]))
                return {
                    rows,
                    cellFailure(u"В одной из ячеек строки в столбцах X, Y должно быть ненулевое значение."_s,
                                i, X, rows)};
            row[Z].clear(); // computed from Xi and Yi
        }
    }
    return {rows, std::nullopt};
}

Coefficient mutualInfluence(const GridRows& tested, long double boltLength) {
    Coefficient out;
    out.rows = tested;
    long double product = 1;
    for (int i = 0; i < out.rows.size(); ++i) {
        QStringList& row = out.rows[i];
        while (row.size() <= K)
            row << QString();
        if (!row[X].isEmpty() && !row[Y].isEmpty()) {
            const long double x = *parseNumber(row[X]);
            const long double y = *parseNumber(row[Y]);
            row[Z] = formatMask(std::sqrt(x * x + y * y), u"0.00"_s);
        } else if (!row[X].isEmpty() || !row[Y].isEmpty()) {
            row[Z] = row[X].isEmpty() ? row[Y] : row[X];
        }
        const long double z = parseNumber(row[Z]).value_or(0);
        const long double s = std::sqrt(boltLength * boltLength + z * z);
        // A distance shown as 0,00 leaves the bolts in one place: no coefficient.
        if (!(s - boltLength > 0)) {
            row[K].clear();
            out.failure = cellFailure(zeroMessage(), i, Z, out.rows);
            out.kpText.clear();
            return out;
        }
        row[K] = formatMask((boltLength + s) / (s - boltLength), u"0.00"_s);
        product *= parseNumber(row[K]).value_or(0);
    }
    out.kpText = formatMask(product, u"0.00"_s);
    return out;
}

long double boltResistance(const Values& v) {
    const long double l = v.length;
    const long double inConcrete = std::log(4 * l / v.concreteDiameter);
    return roundTo(v.p1 / (2 * pi * l) * inConcrete +
                       v.pb / (2 * pi * l) * (std::log(4 * l / v.boltDiameter) - inConcrete),
                   2);
}

long double apparentDiameter(const Values& v, long double rb) {
    return roundTo(4 * v.length / std::exp(2 * pi * v.length * rb / v.p1), 4);
}

std::optional<Results> ComputeResistance(const Values& v) {
    if (!(v.length > 0 && v.p1 > 0 && v.boltDiameter > 0 && v.concreteDiameter > 0 && v.bolts > 0 &&
          v.foundations > 0 && v.area > 0 && v.kp > 0))
        return std::nullopt;
    Results r;
    const long double l = v.length;
    r.rb = boltResistance(v);
    r.dk = apparentDiameter(v, r.rb);
    if (!(r.dk > 0))
        return std::nullopt;
    r.sumRb = roundTo(
        (v.p1 / (4 * pi * l) * std::log(v.kp) + v.p1 / (2 * pi * l) * std::log(4 * l / r.dk)) / v.bolts, 2);
    r.de = roundTo(4 * l / std::exp(2 * pi * l * r.sumRb / v.p1), 2);
    if (!(r.de > 0))
        return std::nullopt;
    const long double root = std::sqrt(v.area);
    const long double spread = (std::sqrt(v.foundations) - 1) * (std::sqrt(v.foundations) - 1);
    r.c = roundTo(
        (std::log(8 * l / r.de) - 1 + spread * 2.74L * l / root) * root / (2 * pi * l * v.foundations), 3);
    r.r = roundTo(r.c * v.pekv / root, 2);
    if (!std::isfinite(double(r.r)))
        return std::nullopt;
    return r;
}

const Calculator& calculator() {
    static const FoundationField c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

} // namespace kz::anchorboltfield
