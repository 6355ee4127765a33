#include "core/calculators/rods/RadialElectrode.h"

#include "core/calculators/rods/BuriedStrip.h"
#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/GeometryInputs.h"
#include "core/model/HistoryMapping.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::radialelectrode {

namespace {
const QString lengthInput = u"EditDlina"_s;
const QString depthInput = u"EditGlub"_s;
const QString raysField = u"EditN"_s;
const QString coefficientField = u"EditKI"_s;
const QString typeInput = u"Tip"_s;
const QString typeRangeLabel = u"lblL"_s;
constexpr int typeCount = 7;
// Types 2 … 7 have coefficients for rays of 10 … 40 m only.
constexpr long double shortest = 10;
constexpr long double longest = 40;

bool boundedType(int type) {
    return type >= 2;
}

int typeOf(const CalcInputs& in) {
    return int(in.number(typeInput).value_or(1));
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TLuchForm"_s;
    d.caption = u"Лучевой заземлитель в земле."_s;
    d.helpContext = 41;
    d.kindCode = 32;
    d.menuGroup = MenuGroup::ComplexDevices;
    d.menuCaption = u"Лучевые заземлители..."_s;
    d.formulaText = u"Расчетная формула:   R = [p / (2*П*l) * Ln(l*l/(T*D))] / [N*k], Ом"_s;
    d.weakConditions = {diameterCondition(u"l >> D"_s, u"l/D"_s, u"EditDlina"_s),
                        inputsCondition(u"l >> 4T"_s, u"l/4T"_s, u"EditDlina"_s, 1, u"EditGlub"_s, 4)};
    d.conditionLines = {u"l >> D; l >> 4T "_s, u"Для полосы шириной B:  D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s};
    d.construction = ConstructionSetup{u"D"_s, u"B"_s, u"горизонтальный"_s};

    // l and T bound each other as the buried strip's L and T do.
    GeometryInput length;
    length.name = lengthInput;
    length.historyField = u"L"_s;
    length.label = u"l - длина луча, м:"_s;
    length.defaultText = u"10"_s;
    length.steps.sizes = {10, 1, 0.1};
    length.steps.names = {u"btnL10"_s, u"btnL1"_s, u"btnL01"_s};
    length.range.name = u"lblRangeL"_s;
    length.range.text = u"( l > 2,8 )"_s;
    length.range.hint = u"Диапазон допустимых значений длины луча для текущего значения глубины заложения"_s;
    length.range.follows = {depthInput};
    length.range2.name = typeRangeLabel;
    length.range2.hint =
        u"Диапазон допустимых значений длины луча без учета текущего значения глубины заложения"_s;
    length.range2.follows = {typeInput};
    length.userChangesOnly = true;
    GeometryInput depth = metreInput(depthInput, u"T - глубина заложения, м:"_s, u"0,7"_s, u"T"_s);
    depth.steps.names = {u"btnT1"_s, u"btnT01"_s, u"btnT001"_s};
    depth.range.name = u"lblRangeT"_s;
    depth.range.text = u"( T < 2,5 )"_s;
    depth.range.hint = u"Диапазон допустимых значений глубины заложения для текущего значения длины луча"_s;
    depth.range.follows = {lengthInput};
    depth.userChangesOnly = true;
    GeometryInput count;
    count.name = raysField;
    count.label = u"N - количество лучей, шт.:"_s;
    count.readOnly = true;
    GeometryInput k;
    k.name = coefficientField;
    k.label = u"k - коэффициент использования:"_s;
    k.readOnly = true;
    // Set after l and T: a stored type does not move a stored length.
    GeometryInput type;
    type.name = typeInput;
    type.label = u"Выбранный тип:"_s;
    type.historyField = u"Schema"_s;
    type.picture.emplace();
    for (int i = 1; i <= typeCount; ++i)
        type.picture->pictures << u"luch"_s + QString::number(i) + u".bmp"_s;
    type.picture->tab = u"Тип"_s;
    type.picture->label = u"lblTip"_s;
    type.required = false;
    d.geometry = {length, depth, count, k, type};
    d.linkedParameters = true;
    d.loadNeedsInputs = true;
    d.windowTop = 20;

    CoefficientTab table;
    table.caption = u"Коэффициенты использования"_s;
    table.table = u"LuchTable"_s;
    table.columns = {{u"N"_s, u"Тип"_s, {}},
                     {u"Dlina"_s, u"Длина, м"_s, {u"10"_s, u"20"_s, u"40"_s}},
                     {u"KI"_s, u"КИ"_s, {}}};
    table.notes = {u"Длина, м - длина отдельного луча заземлителя."_s,
                   u"КИ - значение коэффициента использования."_s,
                   u"Тип - номер типа лучевого заземлителя."_s};
    table.filterName = u"chkFilter"_s;
    table.filterCaption = u"Фильтрация по типу заземлителя"_s;
    table.filterField = u"N"_s;
    table.filterInput = typeInput;
    d.coefficientTabs = {table};

    using K = InputCheck::Kind;
    d.checks = soilAndConstructionChecks(K::Positive);
    d.checks << InputCheck{K::Positive, lengthInput, u"длины луча"_s}
             << InputCheck{K::Positive, depthInput, u"глубины заложения"_s};

    HistoryLayout& h = d.history;
    h.presetName = historyPresetName(d.caption);
    h.captions = soilAndConstructionCaptions();
    h.captions << HistoryCaption{u"Глубина заложения, м:"_s, u"T"_s}
               << HistoryCaption{u"Длина стержня, м:"_s, u"L"_s}
               << HistoryCaption{u"Номер схемы:"_s, u"Schema"_s};

    SelectionParameter l;
    l.name = u"Длина луча, м"_s;
    l.input = lengthInput;
    l.start = u"10"_s;
    l.end = u"40"_s;
    l.step = u"1"_s;
    l.recommendation = u"начальное значение меньше конечного"_s;
    l.heading = u"l, м"_s;
    l.note = u"l, м - длина луча, м"_s;
    l.columns = {{depthInput, u"T, м"_s, u"T, м - глубина заложения, м"_s}};
    d.selection.parameters = {l, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, lengthInput, depthInput};

    d.report = report;
    d.reportSteps = 6;
    return d;
}

class Radial : public Calculator {
public:
    Radial() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override {
        QMap<QString, QString> out{{raysField, QString::number(rays(typeOf(in)))}};
        // Another type, or values a selection run wrote: the coefficient is looked up again.
        if (changed == typeInput || changed.isEmpty())
            out.insert(coefficientField, QString());
        return out;
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto l = in.number(lengthInput);
        const auto t = in.number(depthInput);
        if (!in.diameter || *in.diameter <= 0 || !l || !t)
            return CheckFailure{diameterMissingMessage(), {}};
        if (!(*in.diameter < *l))
            return CheckFailure{u"Ошибка. Длина луча должна быть больше диаметра."_s, {}};
        if (!(*l > 4 * *t))
            return CheckFailure{
                u"Ошибка. Длина луча должна быть больше глубины заложения более чем в 4 раза."_s, {}};
        const int type = typeOf(in);
        if (boundedType(type) && !(*l >= shortest && *l <= longest))
            return CheckFailure{lengthRangeMessage(), {}};
        if (!coefficient(in.tables, type, *l))
            return CheckFailure{missingCoefficientMessage(type, *l), {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto l = in.number(lengthInput);
        const auto t = in.number(depthInput);
        const int type = typeOf(in);
        if (!p0 || !kp || !l || !t || !in.diameter)
            return std::nullopt;
        const auto k = coefficient(in.tables, type, *l);
        if (!k)
            return std::nullopt;
        shown.insert(coefficientField, formatGeneral(*k));
        return ComputeResistance(*p0, *kp, *l, *t, *in.diameter, rays(type), *k);
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        const QString l = in.text(lengthInput);
        return {u"R = ["_s + in.text(u"EditRo"_s) + u" / (2*3,14*"_s + l + u") * Ln("_s + l + u'*' + l +
                u"/ ("_s + in.text(depthInput) + u'*' + formatGeneral(in.diameter.value_or(0)) +
                u"))] / ["_s + in.text(raysField) + u" * "_s + in.text(coefficientField) + u']' +
                oneLineEnding(in.text(u"EditVS1"_s))};
    }

    QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const override {
        return buriedstrip::linkLengthAndDepth(in, changed);
    }

    QMap<QString, QString> userChoice(const CalcInputs& in, const QString& input) const override {
        // A layout with coefficients for 10 … 40 m only brings the length into that range.
        const auto l = in.number(lengthInput);
        if (input != typeInput || !boundedType(typeOf(in)) || !l)
            return {};
        if (*l < shortest)
            return {{lengthInput, formatGeneral(shortest)}};
        if (*l > longest)
            return {{lengthInput, formatGeneral(longest)}};
        return {};
    }

    QString rangeLabel(const CalcInputs& in, const QString& label) const override {
        if (label == typeRangeLabel)
            return boundedType(typeOf(in)) ? u"(10 .. 40)"_s : QString();
        return buriedstrip::lengthAndDepthRange(in, label, u"l"_s)
            .value_or(Calculator::rangeLabel(in, label));
    }

    bool allowStepDown(const CalcInputs& in, const QString& input, double step) const override {
        if (input != lengthInput || !boundedType(typeOf(in)))
            return true;
        const auto v = in.number(lengthInput);
        return v && *v - step >= shortest - 1e-9L;
    }

    bool allowStepUp(const CalcInputs& in, const QString& input, double step) const override {
        if (input != lengthInput || !boundedType(typeOf(in)))
            return true;
        const auto v = in.number(lengthInput);
        return v && *v + step <= longest + 1e-9L;
    }

    QList<SelectionParameter> selectionOffer(const CalcInputs& in) const override {
        QList<SelectionParameter> offer = description().selection.parameters;
        if (boundedType(typeOf(in))) {
            offer[0].lower = u"10"_s;
            offer[0].upper = u"40"_s;
        }
        return offer;
    }

    bool selectionAdmissible(const CalcInputs& in) const override {
        const auto l = in.number(lengthInput);
        const auto t = in.number(depthInput);
        if (!l || !t || !in.diameter || !buriedstrip::selectionAdmissible(*l, *t, *in.diameter))
            return false;
        const int type = typeOf(in);
        if (boundedType(type) && !(*l >= shortest && *l <= longest))
            return false;
        return coefficient(in.tables, type, *l).has_value();
    }

    void selectionValueApplied(const CalcInputs& in, const QString& input,
                               QMap<QString, long double>& values) const override {
        // Only the single-parameter run moves the depth with the length; the nested run keeps it.
        if (!in.singleRun || input != lengthInput || !in.linking || !values.contains(depthInput))
            return;
        if (const auto moved =
                buriedstrip::selectionLinkedDepth(values.value(lengthInput), values.value(depthInput)))
            values.insert(depthInput, *moved);
    }
};
} // namespace

const Calculator& calculator() {
    static const Radial c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

int rays(int type) {
    static constexpr int perType[typeCount] = {2, 3, 4, 6, 7, 2, 4};
    return type >= 1 && type <= typeCount ? perType[type - 1] : 0;
}

std::optional<long double> coefficient(const CoefficientTables* tables, int type, long double l) {
    if (!tables)
        return std::nullopt;
    // The neighbours are sought among the rows of this type only.
    const CoefficientRows ofType = completeRows(tables->rows(u"Kiluch.DB"_s, {u"N"_s, u"Dlina"_s, u"KI"_s}),
                                                3, LookupKey{0, double(type)});
    const CoefficientRows near = bracketingRows(ofType, {{1, double(l)}});
    if (near.isEmpty())
        return std::nullopt;
    const CoefficientRow& lower = near.first();
    const CoefficientRow& upper = near.last();
    // One length on each side of l, or l itself in the table.
    const bool exact = sameTableValue(lower[1], double(l));
    if (!exact && !(lower[1] < l && upper[1] > l))
        return std::nullopt;
    const long double k1 = lower[2];
    const long double k2 = upper[2];
    long double k = k1;
    if (!exact && k1 != k2)
        k = k1 - (k1 - k2) * (l - lower[1]) / (upper[1] - lower[1]);
    return roundTo(k, 2);
}

long double ComputeResistance(long double p0, long double kp, long double l, long double t, long double d,
                              int n, long double k) {
    const long double p = calculatedResistivity(p0, kp);
    return roundResistance(std::log(l * l / t / d) * (p / 2 / std::numbers::pi_v<long double> / l) / n / k);
}

QString lengthRangeMessage() {
    return u"Ошибка. Длина луча должна быть пределах от 10 до 40 м."_s;
}

QString missingCoefficientMessage(int type, long double l) {
    return u"Ошибка. В таблице коэффициентов использования (Kiluch.DB) нет значений для типа "_s +
           QString::number(type) + u", между которыми лежит длина луча l = "_s + formatGeneral(l) +
           u" м. Коэффициент использования не определен."_s;
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const bool include = s.installation.include;
    const QString l = s.text(lengthInput);
    const QString t = s.text(depthInput);
    const QString n = s.text(raysField);
    const QString k = s.text(coefficientField);

    writeReportOpening(w, s, {descriptor().caption, u"luch"_s + s.text(typeInput) + u".bmp"_s});
    w.WordText(u"Заземляющее устройство представляет собой лучевой заземлитель с длиной луча l = "_s + l +
               u" м."_s + reportCr);
    const auto d = w.WordConstructionParagraph(s.text(u"cmbSech"_s), s.text(u"cmbDiam"_s),
                                               s.text(u"frmSech1.EditDiam"_s), u"D"_s);
    // "Т" is Cyrillic here.
    w.WordText(u"Глубина заложения заземлителя Т = "_s + t + u" м."_s + reportCr);
    w.WordText(u"Количество лучей заземляющего устройства N = "_s + n + u" шт."_s + reportCr);
    w.WordText(u"Коэффициент использования лучей Ки = "_s + k + u'.' + reportCr);
    w.progress();
    w.WordText(u"Сопротивление лучевого заземлителя:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"R = ["_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (2*П*l) * Ln(l"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(u" /(T*D))] / [N * Ки], Ом."_s + reportCr);
    w.WordText(u"R = ["_s + s.text(u"EditRo"_s) + u"/(2*3,14*"_s + l + u") * Ln("_s + l);
    w.WordSuperscript(u"2"_s);
    w.WordText(u"/("_s + t + u'*' + formatGeneral(d.value_or(0)) + u"))] / ("_s + n + u'*' + k + u')' +
               multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    w.setAlignment(A::Left);
    w.progress();
    if (include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

} // namespace kz::radialelectrode
