#include "core/calculators/plates/BuriedDisc.h"

#include "core/calculators/plates/BodyElectrodes.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz::burieddisc {

namespace {
const QString diameterName = u"EditDiam"_s;
const QString depthName = u"EditGlub"_s;

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TDKrugFrm"_s;
    d.caption = u"Круглая пластина в земле."_s;
    d.helpContext = 16;
    d.kindCode = 11;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Круглая пластина в земле..."_s;
    d.pictureFile = u"DKrugPl.bmp"_s;
    d.formulaText =
        u"Расчетная формула:   R = p / (4*D) * [1+2/П*arcsin(D / (Корень(16*To*To + D*D)))], Ом"_s;
    d.conditionCaption = u" Условие применения формулы "_s;
    d.weakConditions = {inputsCondition(u"2To >> D"_s, u"2To/D"_s, u"EditGlub"_s, 2, u"EditDiam"_s, 1)};
    d.conditionLines = {u"2To >> D;"_s};
    d.resultMask = u"0.00"_s;

    // "Тo": a Cyrillic Т and a Latin o, as the form has it.
    body::addBuriedGeometry(
        d, body::diameterInput(u"D - диаметр пластины, м:"_s, u"SpinButtonD"_s, u"D1"_s),
        {u"Тo - глубина заложения, м:"_s, u"( D < 1,4)"_s,
         u"Диапазон допустимых значений диаметра пластины для текущего значения глубины заложения"_s,
         u"( To > 0,25 )"_s,
         u"Диапазон допустимых значений глубины заложения для текущего значения диаметра пластины"_s});

    using K = InputCheck::Kind;
    d.checks = body::soilChecks(K::Positive);
    d.checks << InputCheck{K::Positive, diameterName, u"диаметра пластины"_s}
             << InputCheck{K::Positive, depthName, u"глубины заложения"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = body::soilCaptions();
    h.captions << HistoryCaption{u"Диаметр пластины, м:"_s, u"D1"_s}
               << HistoryCaption{u"Глубина заложения, м:"_s, u"T"_s};

    SelectionParameter plate = body::diameterSelection(u"Диаметр круглой пластины, м"_s, u"0,5"_s,
                                                       u"D, м - диаметр круглой пластины, м"_s);
    // "Tо" of the note: a Latin T and a Cyrillic о.
    plate.columns = {{depthName, u"To, м"_s, u"Tо, м - глубина заложения, м"_s}};
    d.selection.parameters = {plate, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, diameterName, depthName};

    d.report = report;
    d.reportSteps = 5;
    return d;
}

class PlateInGround : public body::BuriedBody {
public:
    PlateInGround()
        : BuriedBody(
              makeDescriptor(),
              {u"To"_s, 5, u"Ошибка. Глубина заложения должна быть больше радиуса круглой пластины."_s}) {}

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto diameter = in.number(diameterName);
        const auto depth = in.number(depthName);
        if (!p0 || !kp || !diameter || !depth)
            return std::nullopt;
        const Resistance r = ComputeResistance(*p0, *kp, *diameter, *depth);
        // The resistivity the formula used is shown beside the soil.
        shown.insert(u"EditRo"_s, formatGeneral(r.p));
        return r.r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(u"EditRo"_s), in.text(diameterName), in.text(depthName),
                              in.text(u"EditVS1"_s))};
    }
};
} // namespace

const Calculator& calculator() {
    static const PlateInGround c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

Resistance ComputeResistance(long double p0, long double kp, long double diameter, long double depth) {
    // 2/π as the handbook carries it.
    constexpr long double twoByPi = 0.636619772367581343L;
    Resistance out;
    out.p = calculatedResistivity(p0, kp);
    const long double s = diameter / std::sqrt(16 * depth * depth + diameter * diameter);
    out.r = roundResistance((std::asin(s) * twoByPi + 1) * (out.p / 4 / diameter));
    return out;
}

QString calcOrderLine(const QString& ro, const QString& diameter, const QString& depth, const QString& r) {
    return u"R = "_s + ro + u" / (4*"_s + diameter + u") * [1+2/3,14*arcsin("_s + diameter +
           u" / (Корень(16*"_s + depth + u'*' + depth + u'+' + diameter + u'*' + diameter + u")))]"_s +
           oneLineEnding(r);
}

void report(ReportBuilder& w, const ReportSource& s) {
    const QString diameter = s.text(diameterName);
    const QString depth = s.text(depthName);
    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой круглую пластину диаметром D = "_s + diameter +
               u" м."_s + reportCr);
    // "Т" is Cyrillic here.
    w.WordText(u"Глубина заложения заземлителя Т = "_s + depth + u" м."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (4*D) * [1 + 2/П * arcsin(D / (16*To"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" + D"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" )"_s);
    w.WordSuperscript(u"1/2"_s);
    w.WordText(u" )], Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(4*"_s + diameter + u") * [1 + 2/3,14 * arcsin("_s +
               diameter + u" / (16*"_s + depth);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" +"_s + diameter);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" )"_s);
    w.WordSuperscript(u"1/2"_s);
    w.WordText(u" )]"_s + multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    body::reportClosing(w, s);
}

} // namespace kz::burieddisc
