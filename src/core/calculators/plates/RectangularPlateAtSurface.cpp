#include "core/calculators/plates/RectangularPlateAtSurface.h"

#include "core/calculators/plates/BodyElectrodes.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::rectangularplateatsurface {

namespace {
const QString lengthName = u"EditDlina"_s;
const QString widthName = u"EditShir"_s;

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TPrPlastF"_s;
    d.caption = u"Прямоугольная пластина на поверхности земли."_s;
    d.helpContext = 20;
    d.kindCode = 9;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Прямоугольная пластина на поверхности земли..."_s;
    d.pictureFile = u"UPrPlast.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (П*b) * Ln(4*b / a), Ом"_s;
    d.conditionCaption = u" Условие применения формулы "_s;
    d.conditionLines = {u"a < b < 4a; "_s};

    // The length first: it is copied and restored first, and pressing the link toggle with
    // neither input focused acts as if the length had changed.
    GeometryInput width =
        body::sizeInput(widthName, u"a - ширина пластины, м:"_s, u"0,5"_s, u"SpinButtonA"_s, u"A"_s);
    width.range.name = u"lblRangeA"_s;
    width.range.text = u"( 0,25 < a < 1 )"_s;
    width.range.hint = u"Диапазон допустимых значений ширины пластины для текущего значения длины пластины"_s;
    width.range.follows = {lengthName};
    width.userChangesOnly = true;
    GeometryInput length =
        body::sizeInput(lengthName, u"b - длина пластины, м:"_s, u"1"_s, u"SpinButtonB"_s, u"B"_s);
    length.range.name = u"lblRangeB"_s;
    length.range.text = u"( 0,5 < b < 2 )"_s;
    length.range.hint =
        u"Диапазон допустимых значений длины пластины для текущего значения ширины пластины"_s;
    length.range.follows = {widthName};
    length.userChangesOnly = true;
    d.geometry = {length, width};
    d.linkedParameters = true;

    using K = InputCheck::Kind;
    d.checks = body::soilChecks(K::Positive);
    d.checks << InputCheck{K::Positive, lengthName, u"длины пластины"_s}
             << InputCheck{K::Positive, widthName, u"ширины пластины"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = body::soilCaptions();
    h.captions << HistoryCaption{u"Длина пластины, м:"_s, u"B"_s}
               << HistoryCaption{u"Ширина пластины, м:"_s, u"A"_s};

    const QString lengthNote = u"b, м - длина пластины, м"_s;
    const QString widthNote = u"a, м - ширина пластины, м"_s;
    SelectionParameter byLength =
        body::sizeSelection(u"Длина пластины, м"_s, lengthName, u"0,5"_s, u"b, м"_s, lengthNote);
    byLength.columns = {{widthName, u"a, м"_s, widthNote}};
    SelectionParameter byWidth =
        body::sizeSelection(u"Ширина пластины, м"_s, widthName, u"0,5"_s, u"a, м"_s, widthNote);
    byWidth.columns = {{lengthName, u"b, м"_s, lengthNote}};
    d.selection.parameters = {byLength, byWidth, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, lengthName, widthName};

    d.report = report;
    d.reportSteps = 5;
    return d;
}

class RectangularPlate : public Calculator {
public:
    RectangularPlate() : Calculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        if (!selectionAdmissible(in))
            return CheckFailure{
                u"Ошибка. Длина прямоугольной пластины должна быть больше  ее ширины, но меньше "
                u"четырехкратного значения ширины."_s,
                {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto width = in.number(widthName);
        const auto length = in.number(lengthName);
        if (!p0 || !kp || !width || !length)
            return std::nullopt;
        return ComputeResistance(*p0, *kp, *width, *length);
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(u"EditRo"_s), in.text(widthName), in.text(lengthName),
                              in.text(u"EditVS1"_s))};
    }

    QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const override {
        const auto width = in.positive(widthName);
        const auto length = in.positive(lengthName);
        if (!width || !length)
            return {};
        if (changed == lengthName) {
            if (const auto moved = body::linkedWidth(*width, *length, 5, true))
                return {{widthName, formatGeneral(*moved)}};
        } else if (changed == widthName) {
            if (const auto moved = body::linkedLength(*width, *length, 5, true))
                return {{lengthName, formatGeneral(*moved)}};
        }
        return {};
    }

    QString rangeLabel(const CalcInputs& in, const QString& label) const override {
        if (label == "lblRangeB"_L1)
            return body::lengthRangeText(in.positive(widthName));
        if (label == "lblRangeA"_L1)
            return body::widthRangeText(in.positive(lengthName));
        return Calculator::rangeLabel(in, label);
    }

    bool selectionAdmissible(const CalcInputs& in) const override {
        const auto width = in.number(widthName);
        const auto length = in.number(lengthName);
        return width && length && body::rectangleRuleHolds(*width, *length);
    }

    void selectionValueApplied(const CalcInputs& in, const QString& input,
                               QMap<QString, long double>& values) const override {
        // Only the single-parameter run moves the other side, to hundredths and without
        // keeping it above 0.
        if (!in.singleRun || !in.linking || !values.contains(widthName) || !values.contains(lengthName))
            return;
        const long double width = values.value(widthName);
        const long double length = values.value(lengthName);
        if (input == lengthName) {
            if (const auto moved = body::linkedWidth(width, length, 2, false))
                values.insert(widthName, *moved);
        } else if (input == widthName) {
            if (const auto moved = body::linkedLength(width, length, 2, false))
                values.insert(lengthName, *moved);
        }
    }
};
} // namespace

const Calculator& calculator() {
    static const RectangularPlate c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

long double ComputeResistance(long double p0, long double kp, long double width, long double length) {
    constexpr long double pi = std::numbers::pi_v<long double>;
    // The plate as a strip of its length b: with the width in that role R would fall to 0 at b = 4a.
    return roundResistance(std::log(4 * length / width) * (calculatedResistivity(p0, kp) / pi / length));
}

QString calcOrderLine(const QString& ro, const QString& width, const QString& length, const QString& r) {
    return u"R = "_s + ro + u" / (3,14*"_s + length + u") * Ln(4*"_s + length + u" / "_s + width + u')' +
           oneLineEnding(r);
}

void report(ReportBuilder& w, const ReportSource& s) {
    const QString width = s.text(widthName);
    const QString length = s.text(lengthName);
    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    // Two blanks before "длиной", as the form writes it.
    w.WordText(u"Заземляющее устройство представляет собой прямоугольную пластину  длиной b = "_s + length +
               u" м и шириной a = "_s + width + u" м."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (П*b) * Ln(4*b/a), Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(3,14*"_s + length + u") * Ln(4*"_s + length + u'/' +
               width + u')' + multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    body::reportClosing(w, s);
}

} // namespace kz::rectangularplateatsurface
