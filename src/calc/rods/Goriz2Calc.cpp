#include "Goriz2Calc.h"

#include "TwoLayerCoefficients.h"
#include "TwoLayerRods.h"

#include "calc/core/TwoLayerSoil.h"

using namespace Qt::StringLiterals;

namespace kz::goriz2 {

namespace {
using namespace twolayerrods;

const QString lengthName = u"EditL"_s;
const QString depthName = u"EditTo"_s;

void report(ReportBuilder& w, const ReportSource& s);

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TGoriz2Fm"_s;
    d.caption = u"Горизонтальный заземлитель в двухслойной земле."_s;
    d.helpContext = 50;
    d.pictureFile = u"goriz2.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = А * p2, Ом"_s;
    d.conditionLines = {u"L = 5 .. 100 м"_s, u"Н = 1 .. 5 м"_s, u"р1 / р2 = 0,5 .. 10"_s,
                        u"Tо = 0,5 .. 0,8 м"_s};
    d.twoLayerSoil = true;
    d.conditionsTab = u"Условия"_s;
    CoefficientTab table;
    table.caption = u"Таблица коэффициентов A"_s;
    table.table = u"TableGZ2land"_s;
    table.columns = {{u"L"_s, u"L, м"_s,
                      {u"5"_s, u"10"_s, u"20"_s, u"30"_s, u"40"_s, u"50"_s, u"60"_s, u"70"_s, u"80"_s, u"90"_s, u"100"_s}},
                     {u"H1"_s, u"H, м"_s, {u"1"_s, u"3"_s, u"5"_s}},
                     {u"P1_P2"_s, u"р1/р2"_s, {u"0,5"_s, u"1"_s, u"2"_s, u"5"_s, u"10"_s}},
                     {u"T"_s, u"To, м"_s, {u"0,5"_s, u"0,8"_s}},
                     {u"A"_s, QString(), {}}};
    table.notes = {u"L, м - длина заземлителя."_s, u"Н - толщина (мощность) верхнего слоя земли."_s,
                   u"А - значение коэффициента А."_s, u"To, м - глубина заложения."_s,
                   u"р1/р2 - отношение р верхнего слоя земли к р нижнего слоя земли."_s};
    d.coefficientTabs = {table};

    GeometryInput length;
    length.name = lengthName;
    length.label = u"L - длина заземлителя, м:"_s;
    length.defaultText = u"5"_s;
    length.steps = {1, 0.1, 0.01};
    length.spinPrefix = u"btnL"_s;
    length.rangeName = u"lblRangeL"_s;
    length.rangeText = u"( 5 .. 100 )"_s;
    length.stepFloor = 5;
    length.stepCeiling = 100;
    length.historyField = u"L"_s;
    GeometryInput thickness = thicknessInput();
    thickness.spinPrefix = u"btnH"_s;
    thickness.rangeName = u"lblRangeH"_s;
    thickness.rangeText = u"( 1 .. 5 )"_s;
    thickness.stepFloor = 1;
    thickness.stepCeiling = 5;
    GeometryInput depth;
    depth.name = depthName;
    depth.label = u"To - глубина заложения, м:"_s;
    depth.defaultText = u"0,5"_s;
    depth.steps = {0.1, 0.01};
    depth.spinPrefix = u"btnT"_s;
    depth.rangeName = u"lblRangeTo"_s;
    depth.rangeText = u"( 0,5 .. 0,8 )"_s;
    depth.stepFloor = 0.5;
    depth.stepCeiling = 0.8;
    depth.historyField = u"D2"_s;
    d.geometry = {length, thickness, depth, ratioValue(), coefficientValue()};

    using K = InputCheck::Kind;
    d.checks = twolayer::soilChecks();
    d.checks << InputCheck{K::Positive, lengthName, u"длины заземлителя"_s}
             << InputCheck{K::Positive, thicknessName, u"толщины (мощности) верхнего слоя земли"_s}
             << InputCheck{K::Positive, depthName, u"глубины заложения"_s};

    HistoryLayout& h = d.history;
    h.kindCode = 38;
    h.presetName = u"Горизонтальный заземлитель в двухслойной земле 1."_s;
    h.captions = twolayer::soilCaptions();
    h.captions << HistoryCaption{u"Толщина верхнего слоя земли, м:"_s, u"A"_s}
               << HistoryCaption{u"Длина заземлителя, м:"_s, u"L"_s}
               << HistoryCaption{u"Глубина заложения, м:"_s, u"D2"_s};

    d.selection.kindCode = 38;
    d.selection.parameters = selections(lengthName, u"100"_s);
    d.selection.writeBack = selectionWriteBack(lengthName);

    d.windowTop = 20;
    d.report = report;
    d.reportSteps = 6;
    d.loadNeedsInputs = true;
    return d;
}

class StripInTwoLayers : public TableCoefficientCalculator {
public:
    StripInTwoLayers() : TableCoefficientCalculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto l = in.number(lengthName);
        const auto h = in.number(thicknessName);
        const auto to = in.number(depthName);
        const auto p = layers(in);
        if (!l || !h || !to || !p)
            return CheckFailure{{}, {}};
        if (!(*l >= 5 && *l <= 100))
            return CheckFailure{u"Ошибка. Длина заземлителя должна быть в пределах 5 .. 100 м."_s, {}};
        if (!(*h >= 1 && *h <= 5))
            return CheckFailure{
                u"Ошибка. Толщина (мощность) верхнего слоя земли должна быть в пределах 1 .. 5 м."_s, {}};
        const long double r = twolayer::resistivityRatio(p->p1, p->p2);
        if (!(r >= 0.5L && r <= 10))
            return CheckFailure{u"Ошибка. Отношение удельных сопротивлений верхнего и нижнего слоев земли "
                                u"должно быть в пределах 0,5 .. 10."_s,
                                {}};
        // A depth typed a hair above 0,8 still counts as 0,8.
        if (!(*to >= 0.5L && (*to <= 0.8L || *to - 0.8L <= 0.0001L)))
            return CheckFailure{u"Ошибка. Глубина заложения должна быть в пределах 0,5 .. 0,8."_s, {}};
        return std::nullopt;
    }

protected:
    std::optional<double> coefficient(const CalcInputs& in, double ratio) const override {
        const auto l = in.number(lengthName);
        const auto h = in.number(thicknessName);
        const auto to = in.number(depthName);
        if (!in.tables || !l || !h || !to)
            return std::nullopt;
        return stripCoefficient(*in.tables, double(*l), double(*h), ratio, double(*to));
    }
};

void report(ReportBuilder& w, const ReportSource& s) {
    const CalculatorDescriptor& d = calculator().description();
    writeOpening(w, s, d, d.caption, u"горизонтальный заземлитель"_s, lengthName);
    w.WordText(u"Глубина заложения горизонтального заземлителя: То = "_s + s.text(depthName) + u" м."_s +
               reportCr);
    writeTableClosing(w, s);
}
} // namespace

const Calculator& calculator() {
    static const StripInTwoLayers c;
    return c;
}

} // namespace kz::goriz2
