#include "core/calculators/rods/TwoLayerRoundRod.h"

#include "core/calculators/rods/TwoLayerCoefficients.h"
#include "core/calculators/rods/TwoLayerRods.h"

using namespace Qt::StringLiterals;

namespace kz::twolayerroundrod {

namespace {
using namespace twolayerrods;

const QString lengthName = u"EditL"_s;
const QString diameterName = u"cmbDiam"_s;

void report(ReportBuilder& w, const ReportSource& s);

CalculatorDescriptor makeDescriptor() {
    TableCalculatorParts p;
    p.className = u"TVert2Fm"_s;
    p.caption = u"Вертикальный заземлитель в двухслойной земле 1."_s;
    p.helpContext = 51;
    p.menuCaption = u"Вертикальный заземлитель в двухслойной земле 1..."_s;
    p.pictureFile = u"vert2.bmp"_s;
    p.conditionLines = {u"D = 0,02 или 0,04 м"_s, u"L = 5 .. 20 м"_s, u"Н = 1 .. 5 м"_s,
                        u"р1 / р2 = 0,5 .. 10"_s, u"Tо = 0,5 м"_s};
    p.table = u"TableVZ2Land"_s;
    p.columns = {{u"D"_s, u"D, м"_s, {u"0,02"_s, u"0,04"_s}},
                 {u"L"_s, u"L, м"_s, {u"5"_s, u"10"_s, u"20"_s}},
                 {u"H1"_s, u"H, м"_s, {u"1"_s, u"3"_s, u"5"_s}},
                 {u"P1_P2"_s, u"р1/р2"_s, {u"0,5"_s, u"1"_s, u"5"_s, u"10"_s}},
                 {u"A"_s, QString(), {}}};
    p.thirdNote = u"D, м - диаметр заземлителя."_s;
    p.lengthEnd = 20;
    p.third.name = diameterName;
    p.third.label = u"D - диаметр заземлителя, м:"_s;
    p.third.defaultText = u"0,02"_s;
    p.third.choice.emplace();
    p.third.choice->items = {u"0,02"_s, u"0,04"_s};
    p.third.range.name = u"lblRangeD"_s;
    p.third.range.text = u"( 0,02 или 0,04 )"_s;
    p.third.historyField = u"D2"_s;
    p.thirdSubject = u"диаметра заземлителя"_s;
    p.thirdCaption = u"Диаметр заземлителя, м:"_s;
    GeometryInput depth;
    depth.name = u"EditT"_s;
    depth.label = u"Tо - глубина заложения, м:"_s;
    depth.defaultText = u"0,5"_s;
    depth.readOnly = true;
    p.after = {depth};
    p.kindCode = 36;
    p.presetName = u"Вертикальный заземлитель в двухслойной земле 1."_s;
    p.windowTop = 10;
    p.report = report;
    return tableCalculatorDescriptor(p);
}

class RodInTwoLayers : public TableCoefficientCalculator {
public:
    RodInTwoLayers() : TableCoefficientCalculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        return checkLengthThicknessRatio(in, lengthName, 20);
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

} // namespace kz::twolayerroundrod
