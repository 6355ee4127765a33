#include "core/calculators/plates/BuriedEdgePlate.h"

#include "core/calculators/plates/BodyElectrodes.h"
#include "core/calculators/plates/EdgePlate.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/HistoryMapping.h"

using namespace Qt::StringLiterals;

namespace kz::buriededgeplate {

namespace {
using namespace edgeplate;

void report(ReportBuilder& w, const ReportSource& s);

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TDPlRebroF"_s;
    d.caption = u"Прямоугольная пластина в земле (поставлена на ребро)."_s;
    d.helpContext = 17;
    d.kindCode = 10;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Прямоугольная пластина в земле (поставлена на ребро)..."_s;
    d.pictureFile = u"DPlRebro.bmp"_s;
    d.formulaText = edgeplate::formulaText(u"p"_s);
    d.conditionLines = {u"a < b < 4a"_s, u"2To >= a"_s};
    d.geometry = edgeplate::geometry(u"1"_s, u"0,5"_s, u"( 0,5 < b < 2)"_s, u"( 0,25 < a < 1)"_s, u"B"_s,
                                     u"A"_s, u"T"_s);
    d.linkedParameters = true;

    using K = InputCheck::Kind;
    d.checks = body::soilChecks(K::Positive) + geometryChecks();

    HistoryLayout& h = d.history;
    h.presetName = u"Прямоугольная пластина в земле 1."_s;
    h.captions = body::soilCaptions();
    h.captions << HistoryCaption{u"Глубина заложения, м:"_s, u"T"_s}
               << HistoryCaption{u"Длина пластины, м:"_s, u"B"_s}
               << HistoryCaption{u"Ширина пластины, м:"_s, u"A"_s};

    d.selection.parameters = sizeSelections() << correctionSelection() << soilResistivitySelection();
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, lengthName, widthName, depthName};

    d.report = report;
    d.reportSteps = 5;
    return d;
}

class PlateOnEdge : public EdgePlate {
public:
    PlateOnEdge() : EdgePlate(makeDescriptor()) {}

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto a = in.number(widthName);
        const auto b = in.number(lengthName);
        const auto t = in.number(depthName);
        if (!p0 || !kp || !a || !b || !t)
            return std::nullopt;
        return resistance(calculatedResistivity(*p0, *kp), *a, *b, *t);
    }

protected:
    QString resistivityText(const CalcInputs& in) const override { return in.text(u"EditRo"_s); }
};

void report(ReportBuilder& w, const ReportSource& s) {
    writeReportOpening(w, s, {calculator().description().caption, calculator().description().pictureFile});
    // Two blanks before "длиной", as the form writes it.
    w.WordText(u"Заземляющее устройство представляет собой прямоугольную пластину  длиной b = "_s +
               s.text(lengthName) + u" м и шириной a = "_s + s.text(widthName) + u" м."_s + reportCr);
    w.WordText(u"Глубина заложения заземлителя: Тo = "_s + s.text(depthName) + u" м."_s + reportCr);
    w.progress();
    writeFormula(
        w, s, [](ReportBuilder& b) { b.WordSymbol(u"r"_s); }, s.text(u"EditRo"_s));
    body::reportClosing(w, s);
}
} // namespace

const Calculator& calculator() {
    static const PlateOnEdge c;
    return c;
}

} // namespace kz::buriededgeplate
