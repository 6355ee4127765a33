#include "core/calculators/plates/EdgePlateTwoLayer.h"

#include "core/calculators/plates/BodyElectrodes.h"
#include "core/calculators/plates/EdgePlate.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/TwoLayerSoil.h"

using namespace Qt::StringLiterals;

namespace kz::edgeplatetwolayer {

namespace {
using namespace edgeplate;

const QString thicknessName = u"EditH"_s;
const QString upperWidthName = u"EditA1"_s;
const QString lowerWidthName = u"EditA2"_s;
const QString equivalentName = u"EditPekv"_s;
const QString lowerRo = twolayer::lower(u"EditRo"_s);
// The report writes the Cyrillic а where the form does.
const QString cyrillicA = u"\u0430"_s;

void report(ReportBuilder& w, const ReportSource& s);

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TDPlRebro2F"_s;
    d.caption = u"Прямоугольная пластина в двухслойной земле (поставлена на ребро)."_s;
    d.helpContext = 54;
    d.kindCode = 41;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Прямоугольная пластина в двухслойной земле (поставлена на ребро)..."_s;
    d.pictureFile = u"PrPlast2.bmp"_s;
    d.formulaText = edgeplate::formulaText(u"pэ"_s);
    d.conditionLines = {u"a < b < 4a"_s, u"2To >= a"_s, u"рэ = a / (a1/p1 + a2/p2), Ом м"_s};
    d.twoLayerSoil = true;
    d.windowTop = 10;
    d.geometry =
        edgeplate::geometry(u"2"_s, u"1"_s, u"( 1 < b < 4)"_s, u"( 0,5 < a < 2)"_s, u"L"_s, u"D2"_s, u"B"_s);
    GeometryInput thickness = body::sizeInput(
        thicknessName, u"Н - толщина (мощность) верхнего слоя земли, м:"_s, u"1"_s, {}, u"A"_s);
    thickness.steps.names = {u"SpinButton1"_s, u"SpinButton2"_s, u"SpinButton3"_s};
    d.geometry << thickness
               << shownValue(equivalentName,
                             u"рэ - эквивалентное удельное сопротивление двухслойной земли, Ом м:"_s, u"80"_s)
               << shownValue(upperWidthName, u"a1 - ширина части пластины в верхнем слое, м:"_s, u"3"_s)
               << shownValue(lowerWidthName, u"а2 - ширина части пластины в нижнем слое, м:"_s, u"2"_s);
    d.linkedParameters = true;

    using K = InputCheck::Kind;
    d.checks = twolayer::soilChecks() + geometryChecks();
    d.checks << InputCheck{K::Positive, thicknessName, u"толщины (мощности) верхнего слоя земли"_s};

    HistoryLayout& h = d.history;
    h.presetName = u"Прямоугольная пластина, поставленная на ребро, в двухслойной земле 1."_s;
    h.captions = twolayer::soilCaptions();
    h.captions << HistoryCaption{u"Толщина верхнего слоя земли, м:"_s, u"A"_s}
               << HistoryCaption{u"Глубина заложения, м:"_s, u"B"_s}
               << HistoryCaption{u"Длина пластины, м:"_s, u"L"_s}
               << HistoryCaption{u"Ширина пластины, м:"_s, u"D2"_s};

    SelectionParameter byThickness =
        body::sizeSelection(u"Толщина (мощность) верхнего слоя земли, м"_s, thicknessName, u"1"_s, u"H, м"_s,
                            u"H, м - толщина (мощность) верхнего слоя земли, м"_s);
    byThickness.start = u"5"_s;
    byThickness.end = u"1"_s;
    byThickness.upper = u"5"_s;
    byThickness.recommendation = u"начальное значение больше конечного"_s;
    d.selection.parameters = twolayer::soilSelections() + sizeSelections();
    d.selection.parameters << byThickness;
    d.selection.writeBack = {u"EditRo0"_s,
                             u"EditPKV"_s,
                             twolayer::lower(u"EditRo0"_s),
                             twolayer::lower(u"EditPKV"_s),
                             thicknessName,
                             lengthName,
                             widthName,
                             depthName};

    d.report = report;
    d.reportSteps = 6;
    return d;
}

class PlateOnEdgeInTwoLayers : public EdgePlate {
public:
    PlateOnEdgeInTwoLayers() : EdgePlate(makeDescriptor()) {}

    // The split and pэ follow H, To, a and both resistivities while the user types.
    QMap<QString, QString> derive(const CalcInputs& in, const QString&) const override {
        QMap<QString, QString> shown{{upperWidthName, {}}, {lowerWidthName, {}}, {equivalentName, {}}};
        const auto h = in.positive(thicknessName);
        const auto t = in.positive(depthName);
        const auto a = in.positive(widthName);
        if (!h || !t || !a)
            return shown;
        const LayerSplit split = splitWidth(*h, *t, *a);
        shown[upperWidthName] = formatGeneral(split.upper);
        shown[lowerWidthName] = formatGeneral(split.lower);
        const auto p1 = parseNumber(in.text(u"EditRo"_s));
        const auto p2 = parseNumber(in.text(lowerRo));
        if (p1 && p2 && *p1 > 0 && *p2 > 0)
            shown[equivalentName] = formatGeneral(equivalentResistivity(*a, split, *p1, *p2));
        return shown;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p01 = in.number(u"EditRo0"_s);
        const auto kp1 = in.number(u"EditPKV"_s);
        const auto p02 = in.number(twolayer::lower(u"EditRo0"_s));
        const auto kp2 = in.number(twolayer::lower(u"EditPKV"_s));
        const auto a = in.number(widthName);
        const auto b = in.number(lengthName);
        const auto t = in.number(depthName);
        const auto h = in.number(thicknessName);
        if (!p01 || !kp1 || !p02 || !kp2 || !a || !b || !t || !h)
            return std::nullopt;
        const LayerSplit split = splitWidth(*h, *t, *a);
        const long double pe = equivalentResistivity(*a, split, calculatedResistivity(*p01, *kp1),
                                                     calculatedResistivity(*p02, *kp2));
        shown.insert(upperWidthName, formatGeneral(split.upper));
        shown.insert(lowerWidthName, formatGeneral(split.lower));
        shown.insert(equivalentName, formatGeneral(pe));
        return resistance(pe, *a, *b, *t);
    }

protected:
    QString resistivityText(const CalcInputs& in) const override { return in.text(equivalentName); }
};

void writeRho(ReportBuilder& w, const QString& sub) {
    w.WordSymbol(u"r"_s);
    w.WordSubscript(sub);
}

void report(ReportBuilder& w, const ReportSource& s) {
    const QString a = s.text(widthName);
    const QString a1 = s.text(upperWidthName);
    const QString a2 = s.text(lowerWidthName);
    const CalculatorDescriptor& d = calculator().description();
    writeReportOpening(w, s, twolayer::reportOpening(d.caption, d.pictureFile, thicknessName));
    w.WordText(reportCr + u"Заземляющее устройство представляет собой прямоугольную пластину длиной b = "_s +
               s.text(lengthName) + u" м и шириной a = "_s + a + u" м."_s + reportCr +
               u"Глубина заложения заземлителя: Тo = "_s + s.text(depthName) + u" м."_s + reportCr);

    const bool upper = parseNumber(a1).value_or(0) != 0;
    const bool lower = parseNumber(a2).value_or(0) != 0;
    const QString upperPart = u"- ширина части пластины в верхнем слое: "_s + cyrillicA;
    const QString lowerPart = u"- ширина части пластины в нижнем слое: a"_s;
    if (upper && lower) {
        w.WordText(u"Пластина располагается в двух слоях земли: "_s + reportCr + upperPart);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = H - To = "_s + s.text(thicknessName) + u" - "_s + s.text(depthName) + u" = "_s + a1 +
                   u" м;"_s + reportCr + lowerPart);
        w.WordSubscript(u"2"_s);
        w.WordText(u" = a - a"_s);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = "_s + a + u" - "_s + a1 + u" = "_s + a2 + u" м."_s + reportCr);
    } else if (upper) {
        w.WordText(u"Пластина полностью располагается в верхнем слое земли: "_s + reportCr + upperPart);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = a = "_s + a + u" м;"_s + reportCr + lowerPart);
        w.WordSubscript(u"2"_s);
        w.WordText(u" = 0 м."_s + reportCr);
    } else if (lower) {
        w.WordText(u"Пластина полностью располагается в нижнем слое земли: "_s + reportCr + upperPart);
        w.WordSubscript(u"1"_s);
        w.WordText(u" = 0 м;"_s + reportCr + lowerPart);
        w.WordSubscript(u"2"_s);
        w.WordText(u" = "_s + cyrillicA + u" = "_s + a + u" м."_s + reportCr);
    }
    w.progress();

    w.WordText(u"Эквивалентное удельное сопротивление двухслойной земли:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    writeRho(w, u"э"_s);
    w.WordText(u" = a / (a"_s);
    w.WordSubscript(u"1"_s);
    w.WordText(u"/"_s);
    writeRho(w, u"1"_s);
    w.WordText(u" + a"_s);
    w.WordSubscript(u"2"_s);
    w.WordText(u"/"_s);
    writeRho(w, u"2"_s);
    w.WordText(u"), Ом м;"_s + reportCr);
    writeRho(w, u"э"_s);
    w.WordText(u" = "_s + a + u" / ("_s + a1 + u'/' + s.text(u"EditRo"_s) + u" + "_s + a2 + u'/' +
               s.text(lowerRo) + u") = "_s + s.text(equivalentName) + u" Ом м."_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Left);
    w.progress();
    writeFormula(
        w, s, [](ReportBuilder& b) { writeRho(b, u"э"_s); }, s.text(equivalentName));
    body::reportClosing(w, s);
}
} // namespace

const Calculator& calculator() {
    static const PlateOnEdgeInTwoLayers c;
    return c;
}

LayerSplit splitWidth(long double thickness, long double depth, long double width) {
    if (thickness <= depth)
        return {0, width};
    if (thickness < depth + width) {
        const long double upper = roundTo(thickness - depth, 3);
        return {upper, roundTo(width - upper, 3)};
    }
    return {width, 0};
}

long double equivalentResistivity(long double width, const LayerSplit& split, long double p1,
                                  long double p2) {
    return roundTo(width / (split.upper / p1 + split.lower / p2), 2);
}

} // namespace kz::edgeplatetwolayer
