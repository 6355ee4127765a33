#include "core/calculators/plates/SquarePlateAtSurface.h"

#include "core/calculators/plates/BodyElectrodes.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

using namespace Qt::StringLiterals;

namespace kz::squareplateatsurface {

namespace {
const QString sideName = u"EditB"_s;

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TUKvadFrm"_s;
    d.caption = u"Квадратная пластина на поверхности земли."_s;
    d.helpContext = 55;
    d.kindCode = 37;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Квадратная пластина на поверхности земли..."_s;
    // The rectangular plate's picture serves the square one too.
    d.pictureFile = u"UPrPlast.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = 0,444 * p / b, Ом"_s;
    d.geometry = {
        body::sizeInput(sideName, u"b - сторона пластины, м:"_s, u"0,5"_s, u"SpinButtonA"_s, u"A"_s)};

    using K = InputCheck::Kind;
    // The measured resistivity only has to be there; the soil's range check reads its number.
    d.checks = body::soilChecks(K::Filled);
    d.checks << InputCheck{K::Positive, sideName, u"стороны пластины"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = body::soilCaptions();
    h.captions << HistoryCaption{u"Сторона пластины, м:"_s, u"A"_s};

    d.selection.parameters = {body::sizeSelection(u"Сторона квадратной пластины, м"_s, sideName, u"0,5"_s,
                                                  u"b, м"_s, u"b, м - сторона квадратной пластины, м"_s),
                              correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, sideName};

    d.report = report;
    d.reportSteps = 5;
    return d;
}

class SquarePlate : public Calculator {
public:
    SquarePlate() : Calculator(makeDescriptor()) {}

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto side = in.number(sideName);
        if (!p0 || !kp || !side)
            return std::nullopt;
        return ComputeResistance(*p0, *kp, *side);
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(u"EditRo"_s), in.text(sideName), in.text(u"EditVS1"_s))};
    }
};
} // namespace

const Calculator& calculator() {
    static const SquarePlate c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

long double ComputeResistance(long double p0, long double kp, long double side) {
    return roundResistance(calculatedResistivity(p0, kp) * 0.444L / side);
}

QString calcOrderLine(const QString& ro, const QString& side, const QString& r) {
    return u"R = 0,444 * "_s + ro + u" / "_s + side + oneLineEnding(r);
}

void report(ReportBuilder& w, const ReportSource& s) {
    const QString side = s.text(sideName);
    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой квадратную пластину со стороной b = "_s + side +
               u" м."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = 0,444 * "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / b, Ом;"_s + reportCr);
    w.WordText(u"R = 0,444 * "_s + s.text(u"EditRo"_s) + u" / "_s + side +
               multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    body::reportClosing(w, s);
}

} // namespace kz::squareplateatsurface
