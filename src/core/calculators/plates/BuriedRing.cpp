#include "core/calculators/plates/BuriedRing.h"

#include "core/calculators/plates/RingAtSurface.h"
#include "core/model/GeometryInputs.h"
#include "core/model/LinkedPair.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::buriedring {

namespace {

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TDKolForm"_s;
    d.caption = u"Кольцевой заземлитель в земле."_s;
    d.helpContext = 14;
    d.kindCode = 8;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = u"Кольцевой в земле..."_s;
    d.pictureFile = u"dkoltso.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = p / (2*П*П*D) * Ln[4*П*D*D/ (d*T)], Ом"_s;
    d.weakConditions = {diameterCondition(u"D >> d"_s, u"D/d"_s, u"EditDiam"_s),
                        inputsCondition(u"D >> 2T"_s, u"D/2T"_s, u"EditDiam"_s, 1, u"EditGlub"_s, 2)};
    d.conditionLines = {u"D >> d;  D >> 2T"_s, u"Для полосы шириной B: d = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  d = 0,95 B."_s};
    d.construction = ConstructionSetup{u"d"_s, u"B"_s, u"горизонтальный"_s};

    // D and T bound each other (D > 2T): each shows the other's admissible range, acts only on
    // the user's changes and, with linking on, moves the other. A malformed number is left to the
    // calculation's check rather than refused on leaving.
    GeometryInput ring =
        metreInput(u"EditDiam"_s, u"D - диаметр кольца, м:"_s, u"2"_s, u"D1"_s, u"SpinButtonD"_s);
    ring.selectionColour = true;
    ring.range.name = u"lblRangeD"_s;
    ring.range.text = u"( D > 1,4 )"_s;
    ring.range.hint =
        u"Диапазон допустимых значений диаметра кольца для текущего значения глубины заложения"_s;
    ring.range.follows = {u"EditGlub"_s, u"cmbDiam"_s};
    ring.exitCheck = false;
    ring.userChangesOnly = true;
    GeometryInput depth;
    depth.name = u"EditGlub"_s;
    depth.historyField = u"T"_s;
    depth.label = u"Т - глубина заложения, м:"_s; // Cyrillic Т, as on the drawing
    depth.defaultText = u"0,7"_s;
    depth.steps.sizes = {1, 0.1, 0.01};
    depth.steps.prefix = u"SpinButtonT"_s;
    depth.range.name = u"lblRangeT"_s;
    depth.range.text = u"( T < 1 )"_s;
    depth.range.hint =
        u"Диапазон допустимых значений глубины заложения для текущего значения диаметра кольца"_s;
    depth.range.follows = {u"EditDiam"_s};
    depth.exitCheck = false;
    depth.userChangesOnly = true;
    d.geometry = {ring, depth};
    d.linkedParameters = true;

    using K = InputCheck::Kind;
    d.checks = soilAndConstructionChecks(K::Positive);
    d.checks << InputCheck{K::Positive, u"EditDiam"_s, u"диаметра кольца"_s}
             << InputCheck{K::Positive, u"EditGlub"_s, u"глубины заложения"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u"Диаметр кольца, м:"_s, u"D1"_s}
               << HistoryCaption{u"Глубина заложения, м:"_s, u"T"_s};

    SelectionParameter ringD = ringatsurface::ringDiameterSelection();
    ringD.columns = {{u"EditGlub"_s, u"T, м"_s, u"T, м - глубина заложения, м"_s}};
    d.selection.parameters = {ringD, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, u"EditDiam"_s, u"EditGlub"_s};

    d.report = report;
    d.reportSteps = 7;
    return d;
}
} // namespace

namespace {
const QString ringInput = QStringLiteral("EditDiam");
const QString depthInput = QStringLiteral("EditGlub");

class RingInGround : public Calculator {
public:
    RingInGround() : Calculator(makeDescriptor()) {}

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto ringD = in.number(ringInput);
        const auto t = in.number(depthInput);
        if (!in.diameter || *in.diameter <= 0 || !ringD || !t)
            return CheckFailure{diameterMissingMessage(), {}};
        if (const auto error = geometryError(*in.diameter, *ringD, *t))
            return CheckFailure{*error, {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p0 = in.number(QStringLiteral("EditRo0"));
        const auto kp = in.number(QStringLiteral("EditPKV"));
        const auto ringD = in.number(ringInput);
        const auto t = in.number(depthInput);
        if (!p0 || !kp || !ringD || !t || !in.diameter)
            return std::nullopt;
        const Resistance r = ComputeResistance(*p0, *kp, *ringD, *in.diameter, *t);
        // The resistivity the formula used is shown beside the soil.
        shown.insert(QStringLiteral("EditRo"), formatGeneral(r.p));
        return r.r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(QStringLiteral("EditRo")), in.text(ringInput), in.diameter.value_or(0),
                              in.text(depthInput), in.text(QStringLiteral("EditVS1")))};
    }

    QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const override {
        const auto ringD = in.positive(ringInput);
        const auto t = in.positive(depthInput);
        if (!ringD || !t)
            return {};
        if (changed == ringInput) {
            if (const auto moved = linkedDepth(*ringD, *t))
                return {{depthInput, formatGeneral(*moved)}};
        } else if (changed == depthInput) {
            if (const auto moved = linkedDiameter(*ringD, *t))
                return {{ringInput, formatGeneral(*moved)}};
        }
        return {};
    }

    QString rangeLabel(const CalcInputs& in, const QString& label) const override {
        if (label == QLatin1String("lblRangeD"))
            return diameterRangeText(in.positive(depthInput), in.diameter.value_or(0));
        if (label == QLatin1String("lblRangeT"))
            return depthRangeText(in.positive(ringInput));
        return Calculator::rangeLabel(in, label);
    }

    bool selectionAdmissible(const CalcInputs& in) const override {
        const auto ringD = in.number(ringInput);
        const auto t = in.number(depthInput);
        return ringD && t && in.diameter &&
               buriedring::selectionAdmissible(*ringD, *t, *in.diameter, in.singleRun);
    }

    void selectionValueApplied(const CalcInputs& in, const QString& input,
                               QMap<QString, long double>& values) const override {
        // Only the single-parameter run moves the depth with the diameter; the nested run keeps it.
        if (!in.singleRun || input != ringInput || !in.linking || !values.contains(depthInput))
            return;
        if (const auto moved = selectionLinkedDepth(values.value(ringInput), values.value(depthInput)))
            values.insert(depthInput, *moved);
    }
};
} // namespace

const Calculator& calculator() {
    static const RingInGround c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

Resistance ComputeResistance(long double p0, long double kp, long double ringD, long double d,
                             long double t) {
    constexpr long double pi = std::numbers::pi_v<long double>;
    // 4π as the handbook's tables carry it.
    constexpr long double fourPi = 12.5663706143591730L;
    Resistance out;
    out.p = calculatedResistivity(p0, kp);
    out.r = roundResistance(std::log(fourPi * ringD * ringD / d / t) * (out.p / 2 / pi / pi / ringD));
    return out;
}

QString depthMessage() {
    return u"Ошибка. Большой радиус кольцевого заземлителя должен быть больше глубины заложения."_s;
}

std::optional<QString> geometryError(long double d, long double ringD, long double t) {
    if (const auto error = ringatsurface::geometryError(d, ringD))
        return error;
    if (!(ringD > 2 * t))
        return depthMessage();
    return std::nullopt;
}

QString diameterRangeText(std::optional<long double> t, long double d) {
    if (!t || !(*t > 0))
        return {};
    const long double bound = 2 * *t > d ? 2 * *t : d;
    return QStringLiteral("( D > ") + formatGeneral(bound) + QStringLiteral(" )");
}

QString depthRangeText(std::optional<long double> ringD) {
    if (!ringD || !(*ringD > 0))
        return {};
    return QStringLiteral("( T < ") + formatGeneral(roundTo(*ringD / 2, 5)) + QStringLiteral(" )");
}

// The ring's diameter stays above twice its depth.
constexpr LinkedPair ringOverDepth{2};

std::optional<long double> linkedDepth(long double ringD, long double t) {
    return ringOverDepth.linkSmaller(ringD, t, 5);
}

std::optional<long double> linkedDiameter(long double ringD, long double t) {
    return ringOverDepth.linkLarger(ringD, t, 5);
}

std::optional<long double> selectionLinkedDepth(long double ringD, long double t) {
    return ringOverDepth.linkSmaller(ringD, t, 2);
}

bool selectionAdmissible(long double ringD, long double t, long double d, bool singleParameterRun) {
    // The single-parameter run keeps a hair's breadth off the limit.
    const long double ratio = singleParameterRun ? 2.00001L : 2;
    return t > 0 && d > 0 && ringD / t > ratio && ringD > d;
}

QString calcOrderLine(const QString& roText, const QString& dText, long double d, const QString& tText,
                      const QString& rText) {
    return QStringLiteral("R = ") + roText + QStringLiteral(" / (2*3,14*3,14*") + dText +
           QStringLiteral(") * ln[4*3,14*") + dText + QLatin1Char('*') + dText + QStringLiteral("/ (") +
           formatGeneral(d) + QLatin1Char('*') + tText + QStringLiteral(")]") + oneLineEnding(rText);
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString ringD = s.text(u"EditDiam"_s);
    const QString t = s.text(u"EditGlub"_s);
    const bool include = s.installation.include;

    writeReportOpening(w, s, {descriptor().caption, descriptor().pictureFile});
    w.WordText(u"Заземляющее устройство представляет собой кольцевой заземлитель с диаметром кольца D = "_s +
               ringD + u" м."_s + reportCr);
    w.progress();
    const auto d = w.WordConstructionParagraph(s.text(u"cmbSech"_s), s.text(u"cmbDiam"_s),
                                               s.text(u"frmSech1.EditDiam"_s), u"d"_s);
    w.progress();
    // "Т" is Cyrillic here.
    w.WordText(u"Глубина заложения заземлителя Т = "_s + t + u" м."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"R = "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (2*П"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u"*D) * Ln[4*П*D"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u"*/ (d*T)], Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(u"EditRo"_s) + u"/(2*3,14"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(QLatin1Char('*') + ringD + u") * Ln[4*3,14*"_s + ringD);
    w.WordSuperscript(u"2"_s);
    w.WordText(u"/ ("_s + formatGeneral(d.value_or(0)) + QLatin1Char('*') + t + u")]"_s +
               multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

} // namespace kz::buriedring
