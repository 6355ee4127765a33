#include "core/calculators/rods/TwoLayerStrip.h"

#include "core/calculators/rods/TwoLayerCoefficients.h"
#include "core/calculators/rods/TwoLayerRods.h"

using namespace Qt::StringLiterals;

namespace kz::twolayerstrip {

namespace {
using namespace twolayerrods;

const QString lengthName = u"EditL"_s;
const QString depthName = u"EditTo"_s;

void report(ReportBuilder& w, const ReportSource& s);

CalculatorDescriptor makeDescriptor() {
    TableCalculatorParts p;
    p.className = u"TGoriz2Fm"_s;
    p.caption = u"Горизонтальный заземлитель в двухслойной земле."_s;
    p.helpContext = 50;
    p.menuCaption = u"Горизонтальный заземлитель в двухслойной земле..."_s;
    p.pictureFile = u"goriz2.bmp"_s;
    p.conditionLines = {u"L = 5 .. 100 м"_s, u"Н = 1 .. 5 м"_s, u"р1 / р2 = 0,5 .. 10"_s,
                        u"Tо = 0,5 .. 0,8 м"_s};
    p.table = u"TableGZ2land"_s;
    p.columns = {
        {u"L"_s,
         u"L, м"_s,
         {u"5"_s, u"10"_s, u"20"_s, u"30"_s, u"40"_s, u"50"_s, u"60"_s, u"70"_s, u"80"_s, u"90"_s, u"100"_s}},
        {u"H1"_s, u"H, м"_s, {u"1"_s, u"3"_s, u"5"_s}},
        {u"P1_P2"_s, u"р1/р2"_s, {u"0,5"_s, u"1"_s, u"2"_s, u"5"_s, u"10"_s}},
        {u"T"_s, u"To, м"_s, {u"0,5"_s, u"0,8"_s}},
        {u"A"_s, QString(), {}}};
    p.thirdNote = u"To, м - глубина заложения."_s;
    p.lengthEnd = 100;
    p.third.name = depthName;
    p.third.label = u"To - глубина заложения, м:"_s;
    p.third.defaultText = u"0,5"_s;
    p.third.steps.sizes = {0.1, 0.01};
    p.third.steps.prefix = u"btnT"_s;
    p.third.range.name = u"lblRangeTo"_s;
    p.third.range.text = u"( 0,5 .. 0,8 )"_s;
    p.third.steps.floor = 0.5;
    p.third.steps.ceiling = 0.8;
    p.third.historyField = u"D2"_s;
    p.thirdSubject = u"глубины заложения"_s;
    p.thirdCaption = u"Глубина заложения, м:"_s;
    p.kindCode = 38;
    p.presetName = u"Горизонтальный заземлитель в двухслойной земле 1."_s;
    p.windowTop = 20;
    p.report = report;
    return tableCalculatorDescriptor(p);
}

class StripInTwoLayers : public TableCoefficientCalculator {
public:
    StripInTwoLayers() : TableCoefficientCalculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        if (auto failure = checkLengthThicknessRatio(in, lengthName, 100))
            return failure;
        // A depth typed a hair above 0,8 still counts as 0,8.
        const auto to = in.number(depthName);
        if (!to)
            return CheckFailure{{}, {}};
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

} // namespace kz::twolayerstrip
