#include "Vert2Calc.h"

#include "TwoLayerCoefficients.h"
#include "TwoLayerRods.h"

#include "calc/core/TwoLayerSoil.h"

using namespace Qt::StringLiterals;

namespace kz::vert2 {

namespace {
using namespace twolayerrods;

const QString lengthName = u"EditL"_s;
const QString diameterName = u"cmbDiam"_s;

void report(ReportBuilder& w, const ReportSource& s);

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TVert2Fm"_s;
    d.caption = u"Вертикальный заземлитель в двухслойной земле 1."_s;
    d.helpContext = 51;
    d.pictureFile = u"vert2.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = А * p2, Ом"_s;
    d.conditionLines = {u"D = 0,02 или 0,04 м"_s, u"L = 5 .. 20 м"_s, u"Н = 1 .. 5 м"_s,
                        u"р1 / р2 = 0,5 .. 10"_s, u"Tо = 0,5 м"_s};
    d.twoLayerSoil = true;
    d.conditionsTab = u"Условия"_s;
    CoefficientTab table;
    table.caption = u"Таблица коэффициентов A"_s;
    table.table = u"TableVZ2Land"_s;
    table.columns = {{u"D"_s, u"D, м"_s, {u"0,02"_s, u"0,04"_s}},
                     {u"L"_s, u"L, м"_s, {u"5"_s, u"10"_s, u"20"_s}},
                     {u"H1"_s, u"H, м"_s, {u"1"_s, u"3"_s, u"5"_s}},
                     {u"P1_P2"_s, u"р1/р2"_s, {u"0,5"_s, u"1"_s, u"5"_s, u"10"_s}},
                     {u"A"_s, QString(), {}}};
    table.notes = {u"L, м - длина заземлителя."_s, u"Н - толщина (мощность) верхнего слоя земли."_s,
                   u"А - значение коэффициента А."_s, u"D, м - диаметр заземлителя."_s,
                   u"р1/р2 - отношение р верхнего слоя земли к р нижнего слоя земли."_s};
    d.coefficientTabs = {table};

    GeometryInput length;
    length.name = lengthName;
    length.label = u"L - длина заземлителя, м:"_s;
    length.defaultText = u"5"_s;
    length.steps = {1, 0.1, 0.01};
    length.spinPrefix = u"btnL"_s;
    length.rangeName = u"lblRangeL"_s;
    length.rangeText = u"( 5 .. 20 )"_s;
    length.stepFloor = 5;
    length.stepCeiling = 20;
    length.historyField = u"L"_s;
    GeometryInput thickness = thicknessInput();
    thickness.spinPrefix = u"btnH"_s;
    thickness.rangeName = u"lblRangeH"_s;
    thickness.rangeText = u"( 1 .. 5 )"_s;
    thickness.stepFloor = 1;
    thickness.stepCeiling = 5;
    GeometryInput diameter;
    diameter.name = diameterName;
    diameter.label = u"D - диаметр заземлителя, м:"_s;
    diameter.defaultText = u"0,02"_s;
    diameter.choiceItems = {u"0,02"_s, u"0,04"_s};
    diameter.rangeName = u"lblRangeD"_s;
    diameter.rangeText = u"( 0,02 или 0,04 )"_s;
    diameter.historyField = u"D2"_s;
    GeometryInput depth;
    depth.name = u"EditT"_s;
    depth.label = u"Tо - глубина заложения, м:"_s;
    depth.defaultText = u"0,5"_s;
    depth.readOnly = true;
    d.geometry = {length, thickness, diameter, ratioValue(), coefficientValue(), depth};

    using K = InputCheck::Kind;
    d.checks = twolayer::soilChecks();
    d.checks << InputCheck{K::Positive, lengthName, u"длины заземлителя"_s}
             << InputCheck{K::Positive, thicknessName, u"толщины (мощности) верхнего слоя земли"_s}
             << InputCheck{K::Positive, diameterName, u"диаметра заземлителя"_s};

    HistoryLayout& h = d.history;
    h.kindCode = 36;
    h.presetName = u"Вертикальный заземлитель в двухслойной земле 1."_s;
    h.captions = twolayer::soilCaptions();
    h.captions << HistoryCaption{u"Толщина верхнего слоя земли, м:"_s, u"A"_s}
               << HistoryCaption{u"Длина заземлителя, м:"_s, u"L"_s}
               << HistoryCaption{u"Диаметр заземлителя, м:"_s, u"D2"_s};

    d.selection.kindCode = 36;
    d.selection.parameters = selections(lengthName, u"20"_s);
    d.selection.writeBack = selectionWriteBack(lengthName);

    d.windowTop = 10;
    d.report = report;
    d.reportSteps = 6;
    d.loadNeedsInputs = true;
    return d;
}

class RodInTwoLayers : public TableCoefficientCalculator {
public:
    RodInTwoLayers() : TableCoefficientCalculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto l = in.number(lengthName);
        const auto h = in.number(thicknessName);
        const auto p = layers(in);
        if (!l || !h || !p)
            return CheckFailure{{}, {}};
        if (!(*l >= 5 && *l <= 20))
            return CheckFailure{u"Ошибка. Длина заземлителя должна быть в пределах 5 .. 20 м."_s, {}};
        if (!(*h >= 1 && *h <= 5))
            return CheckFailure{
                u"Ошибка. Толщина (мощность) верхнего слоя земли должна быть в пределах 1 .. 5 м."_s, {}};
        const long double r = twolayer::resistivityRatio(p->p1, p->p2);
        if (!(r >= 0.5L && r <= 10))
            return CheckFailure{u"Ошибка. Отношение удельных сопротивлений верхнего и нижнего слоев земли "
                                u"должно быть в пределах 0,5 .. 10."_s,
                                {}};
        return std::nullopt;
    }

protected:
    std::optional<double> coefficient(const CalcInputs& in, double ratio) const override {
        const auto d = in.number(diameterName);
        const auto l = in.number(lengthName);
        const auto h = in.number(thicknessName);
        if (!in.tables || !d || !l || !h)
            return std::nullopt;
        return rodCoefficient(*in.tables, double(*d), double(*l), double(*h), ratio);
    }
};

void report(ReportBuilder& w, const ReportSource& s) {
    const CalculatorDescriptor& d = calculator().description();
    writeOpening(w, s, d, d.caption, u"вертикальный заземлитель"_s, lengthName);
    w.WordText(u"Конструкция электрода - сталь круглая диаметром D = "_s + s.text(diameterName) + u" м."_s +
               reportCr);
    w.WordText(u"Глубина заложения вертикального заземлителя: То = 0,5 м."_s + reportCr);
    writeTableClosing(w, s);
}
} // namespace

const Calculator& calculator() {
    static const RodInTwoLayers c;
    return c;
}

} // namespace kz::vert2
