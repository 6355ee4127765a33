#include "core/calculators/rods/BuriedStrip.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/GeometryInputs.h"
#include "core/model/HistoryMapping.h"
#include "core/model/LinkedPair.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::buriedstrip {

namespace {
const QString lengthInput = u"EditDlina"_s;
const QString depthInput = u"EditGlub"_s;

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TGorizFm"_s;
    d.caption = u"Горизонтальный заземлитель в земле."_s;
    d.helpContext = 19;
    d.kindCode = 6;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Горизонтальный заземлитель в земле..."_s;
    d.pictureFile = u"goriz.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (2*П*L) * Ln[L*L/(T*D)], Ом"_s;
    d.weakConditions = {diameterCondition(u"L >> D"_s, u"L/D"_s, u"EditDlina"_s),
                        inputsCondition(u"L >> 4T"_s, u"L/4T"_s, u"EditDlina"_s, 1, u"EditGlub"_s, 4)};
    d.conditionLines = {u"L >> D; L >> 4T "_s, u"Для полосы шириной B:  D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s};
    d.construction = ConstructionSetup{u"D"_s, u"B"_s, u"горизонтальный"_s};

    // L and T bound each other (L > 4T): each shows the other's admissible range, acts only on
    // the user's changes and, with linking on, moves the other.
    GeometryInput length =
        electrodeLengthInput(lengthInput, u"L - длина заземлителя, м:"_s, u"SpinButtonL"_s);
    length.range.name = u"lblRangeL"_s;
    length.range.text = u"( L > 2,8 )"_s;
    length.range.hint =
        u"Диапазон допустимых значений длины заземлителя для текущего значения глубины заложения"_s;
    length.range.follows = {depthInput};
    length.userChangesOnly = true;
    GeometryInput depth = electrodeDepthInput(depthInput, u"T - глубина заложения, м:"_s);
    depth.range.name = u"lblRangeT"_s;
    depth.range.text = u"( T < 1,25 )"_s;
    depth.range.hint =
        u"Диапазон допустимых значений глубины заложения для текущего значения длины заземлителя"_s;
    depth.range.follows = {lengthInput};
    depth.userChangesOnly = true;
    d.geometry = {length, depth};
    d.linkedParameters = true;

    using K = InputCheck::Kind;
    d.checks = soilAndConstructionChecks(K::Positive);
    d.checks << InputCheck{K::Positive, lengthInput, u"длины заземлителя"_s}
             << InputCheck{K::Positive, depthInput, u"глубины заложения"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u"Глубина заложения, м:"_s, u"T"_s}
               << HistoryCaption{u"Длина стержня, м:"_s, u"L"_s};

    SelectionParameter l = lengthSelection(u"3"_s, u"100"_s);
    l.columns = {{depthInput, u"T, м"_s, u"T, м - глубина заложения, м"_s}};
    d.selection.parameters = {l, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, lengthInput, depthInput};

    d.report = report;
    d.reportSteps = 4;
    return d;
}

class StripInGround : public Calculator {
public:
    StripInGround() : Calculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto l = in.number(lengthInput);
        const auto t = in.number(depthInput);
        if (!in.diameter || *in.diameter <= 0 || !l || !t)
            return CheckFailure{diameterMissingMessage(), {}};
        if (const auto error = geometryError(*in.diameter, *l, *t))
            return CheckFailure{*error, {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto l = in.number(lengthInput);
        const auto t = in.number(depthInput);
        if (!p0 || !kp || !l || !t || !in.diameter)
            return std::nullopt;
        return ComputeResistance(*p0, *kp, *l, *t, *in.diameter).r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(u"EditRo"_s), in.text(lengthInput), in.text(depthInput),
                              in.diameter.value_or(0), in.text(u"EditVS1"_s))};
    }

    QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const override {
        return linkLengthAndDepth(in, changed);
    }

    QString rangeLabel(const CalcInputs& in, const QString& label) const override {
        return lengthAndDepthRange(in, label).value_or(Calculator::rangeLabel(in, label));
    }

    bool selectionAdmissible(const CalcInputs& in) const override {
        const auto l = in.number(lengthInput);
        const auto t = in.number(depthInput);
        return l && t && in.diameter && buriedstrip::selectionAdmissible(*l, *t, *in.diameter);
    }

    void selectionValueApplied(const CalcInputs& in, const QString& input,
                               QMap<QString, long double>& values) const override {
        // Only the single-parameter run moves the depth with the length; the nested run keeps it.
        if (!in.singleRun || input != lengthInput || !in.linking || !values.contains(depthInput))
            return;
        if (const auto moved = selectionLinkedDepth(values.value(lengthInput), values.value(depthInput)))
            values.insert(depthInput, *moved);
    }
};
} // namespace

const Calculator& calculator() {
    static const StripInGround c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

Resistance ComputeResistance(long double p0, long double kp, long double l, long double t, long double d) {
    Resistance out;
    out.p = calculatedResistivity(p0, kp);
    out.r = roundResistance(std::log(l * l / t / d) * (out.p / 2 / std::numbers::pi_v<long double> / l));
    return out;
}

QString diameterMessage() {
    return u"Ошибка. Длина горизонтального заземлителя должна быть больше диаметра."_s;
}

QString depthMessage() {
    return u"Ошибка. Длина горизонтального заземлителя должна быть больше глубины заложения более чем в 4 раза."_s;
}

std::optional<QString> geometryError(long double d, long double l, long double t) {
    if (!(d < l))
        return diameterMessage();
    if (!(l > 4 * t))
        return depthMessage();
    return std::nullopt;
}

QMap<QString, QString> linkLengthAndDepth(const CalcInputs& in, const QString& changed) {
    const auto l = in.positive(lengthInput);
    const auto t = in.positive(depthInput);
    if (!l || !t)
        return {};
    if (changed == lengthInput) {
        if (const auto moved = linkedDepth(*l, *t))
            return {{depthInput, formatGeneral(*moved)}};
    } else if (changed == depthInput) {
        if (const auto moved = linkedLength(*l, *t))
            return {{lengthInput, formatGeneral(*moved)}};
    }
    return {};
}

std::optional<QString> lengthAndDepthRange(const CalcInputs& in, const QString& label,
                                           const QString& letter) {
    if (label == u"lblRangeL")
        return lengthRangeText(in.positive(depthInput), letter);
    if (label == u"lblRangeT")
        return depthRangeText(in.positive(lengthInput));
    return std::nullopt;
}

QString lengthRangeText(std::optional<long double> t, const QString& letter) {
    if (!t || !(*t > 0))
        return {};
    return u"( "_s + letter + u" > "_s + formatGeneral(roundTo(4 * *t, 5)) + u" )"_s;
}

QString depthRangeText(std::optional<long double> l) {
    if (!l || !(*l > 0))
        return {};
    return u"( T < "_s + formatGeneral(roundTo(*l / 4, 5)) + u" )"_s;
}

// The strip stays longer than four times its depth.
constexpr LinkedPair lengthOverDepth{4};

std::optional<long double> linkedDepth(long double l, long double t) {
    return lengthOverDepth.linkSmaller(l, t, 5);
}

std::optional<long double> linkedLength(long double l, long double t) {
    return lengthOverDepth.linkLarger(l, t, 5);
}

std::optional<long double> selectionLinkedDepth(long double l, long double t) {
    return lengthOverDepth.linkSmaller(l, t, 2);
}

bool selectionAdmissible(long double l, long double t, long double d) {
    // A depth the run rounded to 0 leaves nothing to compute.
    return t > 0 && d > 0 && l > d && l > 4 * t;
}

SelectionParameter lengthSelection(const QString& start, const QString& end) {
    SelectionParameter length;
    length.name = u"Длина стержня, м"_s;
    length.input = lengthInput;
    length.start = start;
    length.end = end;
    length.step = u"1"_s;
    length.lower = u"0,5"_s;
    length.recommendation = u"начальное значение меньше конечного"_s;
    length.heading = u"L, м"_s;
    length.note = u"L, м - длина стержня, м"_s;
    return length;
}

QString calcOrderLine(const QString& roText, const QString& lText, const QString& tText, long double d,
                      const QString& rText) {
    return u"R = "_s + roText + u" / (2*3,14*"_s + lText + u") * Ln["_s + lText + u'*' + lText + u"/ ("_s +
           tText + u'*' + formatGeneral(d) + u")]"_s + oneLineEnding(rText);
}

void writeReport(ReportBuilder& w, const ReportSource& s, const ReportShape& shape) {
    using A = ReportParagraph::Alignment;
    const bool include = s.installation.include;

    writeReportOpening(w, s, {shape.caption, shape.picture, shape.progressAfterTitle});
    w.WordText(u"Заземляющее устройство представляет собой горизонтальный заземлитель длиной L = "_s +
               s.text(lengthInput) + u" м."_s + reportCr);
    const auto d = w.WordConstructionParagraph(s.text(u"cmbSech"_s), s.text(u"cmbDiam"_s),
                                               s.text(u"EditDiam"_s), u"D"_s);
    // "Т" is Cyrillic here.
    if (shape.depthLine)
        w.WordText(u"Глубина заложения заземлителя: Т = "_s + s.text(depthInput) + u" м."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(A::Center);
    shape.formula(w, s, d.value_or(0));
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

void report(ReportBuilder& w, const ReportSource& s) {
    ReportShape shape;
    shape.caption = descriptor().caption;
    shape.picture = descriptor().pictureFile;
    shape.formula = [](ReportBuilder& b, const ReportSource& src, long double d) {
        const QString l = src.text(lengthInput);
        b.WordText(u"R = "_s);
        b.WordSymbol(u"r"_s);
        b.WordText(u" / (2*П*L) * Ln[L"_s);
        b.WordSuperscript(u"2"_s);
        b.WordText(u" /(T*D)], Ом;"_s + reportCr);
        b.WordText(u"R = "_s + src.text(u"EditRo"_s) + u"/(2*3,14*"_s + l + u") * Ln["_s + l);
        b.WordSuperscript(u"2"_s);
        b.WordText(u"/("_s + src.text(depthInput) + u'*' + formatGeneral(d) + u")]"_s +
                   multiLineEnding(src.text(u"EditVS1"_s)) + reportCr);
    };
    writeReport(w, s, shape);
}

} // namespace kz::buriedstrip
