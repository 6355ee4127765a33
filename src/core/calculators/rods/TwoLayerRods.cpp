#include "core/calculators/rods/TwoLayerRods.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/GeometryInputs.h"
#include "core/model/TwoLayerSoil.h"

using namespace Qt::StringLiterals;

namespace kz::twolayerrods {

namespace {
const QString upperRo = u"EditRo"_s;
const QString lowerRo = twolayer::lower(u"EditRo"_s);
} // namespace

GeometryInput thicknessInput() {
    GeometryInput g =
        metreInput(thicknessName, u"Н - толщина (мощность) верхнего слоя земли, м:"_s, u"3"_s, u"A"_s);
    return g;
}

GeometryInput ratioValue() {
    GeometryInput g = shownValue(ratioName, u"р1 / р2 - отношение удельных сопротивлений р1 к р2:"_s, u"1"_s);
    g.range.name = u"lblRangeP"_s;
    g.range.text = u"( 0,5 .. 10 )"_s;
    return g;
}

GeometryInput coefficientValue() {
    return shownValue(coefficientName, u"А - табличный коэффициент:"_s);
}

CalculatorDescriptor tableCalculatorDescriptor(const TableCalculatorParts& parts) {
    const QString lengthName = u"EditL"_s;
    const QString end = QString::number(parts.lengthEnd);
    CalculatorDescriptor d;
    d.className = parts.className;
    d.caption = parts.caption;
    d.helpContext = parts.helpContext;
    d.kindCode = parts.kindCode;
    d.menuGroup = MenuGroup::SingleElectrodes;
    d.menuCaption = parts.menuCaption;
    d.pictureFile = parts.pictureFile;
    d.formulaText = u"Расчетная формула:   R = А * p2, Ом"_s;
    d.conditionLines = parts.conditionLines;
    d.twoLayerSoil = true;
    d.conditionsTab = u"Условия"_s;
    CoefficientTab table;
    table.caption = u"Таблица коэффициентов A"_s;
    table.table = parts.table;
    table.columns = parts.columns;
    table.notes = {u"L, м - длина заземлителя."_s, u"Н - толщина (мощность) верхнего слоя земли."_s,
                   u"А - значение коэффициента А."_s, parts.thirdNote,
                   u"р1/р2 - отношение р верхнего слоя земли к р нижнего слоя земли."_s};
    d.coefficientTabs = {table};

    GeometryInput length = electrodeLengthInput(lengthName, u"L - длина заземлителя, м:"_s, u"btnL"_s);
    length.range.name = u"lblRangeL"_s;
    length.range.text = u"( 5 .. "_s + end + u" )"_s;
    length.steps.floor = 5;
    length.steps.ceiling = parts.lengthEnd;
    GeometryInput thickness = thicknessInput();
    thickness.steps.prefix = u"btnH"_s;
    thickness.range.name = u"lblRangeH"_s;
    thickness.range.text = u"( 1 .. 5 )"_s;
    thickness.steps.floor = 1;
    thickness.steps.ceiling = 5;
    d.geometry = {length, thickness, parts.third, ratioValue(), coefficientValue()};
    d.geometry << parts.after;

    using K = InputCheck::Kind;
    d.checks = twolayer::soilChecks();
    d.checks << InputCheck{K::Positive, lengthName, u"длины заземлителя"_s}
             << InputCheck{K::Positive, thicknessName, u"толщины (мощности) верхнего слоя земли"_s}
             << InputCheck{K::Positive, parts.third.name, parts.thirdSubject};

    HistoryLayout& h = d.history;
    h.presetName = parts.presetName;
    h.captions = twolayer::soilCaptions();
    h.captions << HistoryCaption{u"Толщина верхнего слоя земли, м:"_s, u"A"_s}
               << HistoryCaption{u"Длина заземлителя, м:"_s, u"L"_s}
               << HistoryCaption{parts.thirdCaption, parts.third.historyField};

    d.selection.parameters = selections(lengthName, end);
    d.selection.writeBack = selectionWriteBack(lengthName);

    d.windowTop = parts.windowTop;
    d.report = parts.report;
    d.reportSteps = 6;
    d.loadNeedsInputs = true;
    return d;
}

std::optional<CheckFailure> checkLengthThicknessRatio(const CalcInputs& in, const QString& lengthInput,
                                                      int lengthEnd) {
    const auto l = in.number(lengthInput);
    const auto h = in.number(thicknessName);
    const auto p = layers(in);
    if (!l || !h || !p)
        return CheckFailure{{}, {}};
    if (!(*l >= 5 && *l <= lengthEnd))
        return CheckFailure{u"Ошибка. Длина заземлителя должна быть в пределах 5 .. "_s +
                                QString::number(lengthEnd) + u" м."_s,
                            {}};
    if (!(*h >= 1 && *h <= 5))
        return CheckFailure{
            u"Ошибка. Толщина (мощность) верхнего слоя земли должна быть в пределах 1 .. 5 м."_s, {}};
    const long double r = twolayer::resistivityRatio(p->p1, p->p2);
    if (!(r >= 0.5L && r <= 10))
        return CheckFailure{u"Ошибка. Отношение удельных сопротивлений верхнего и нижнего слоев земли "
                            u"должно быть в пределах 0,5 .. 10."_s,
                            {}};
    return std::nullopt;
}

QList<SelectionParameter> selections(const QString& lengthInput, const QString& lengthEnd) {
    SelectionParameter length;
    length.name = u"Длина заземлителя, м"_s;
    length.input = lengthInput;
    length.start = u"5"_s;
    length.end = lengthEnd;
    length.step = u"1"_s;
    length.lower = u"5"_s;
    length.upper = lengthEnd;
    length.recommendation = u"начальное значение меньше конечного"_s;
    length.heading = u"L, м"_s;
    length.note = u"L, м - длина заземлителя, м"_s;
    SelectionParameter thickness;
    thickness.name = u"Толщина (мощность) верхнего слоя земли, м"_s;
    thickness.input = thicknessName;
    thickness.start = u"5"_s;
    thickness.end = u"1"_s;
    thickness.step = u"1"_s;
    thickness.lower = u"1"_s;
    thickness.upper = u"5"_s;
    thickness.recommendation = u"начальное значение больше конечного"_s;
    thickness.heading = u"H, м"_s;
    thickness.note = u"H, м - толщина (мощность) верхнего слоя земли, м"_s;
    return twolayer::soilSelections() << length << thickness;
}

QStringList selectionWriteBack(const QString& lengthInput) {
    return {u"EditRo0"_s, u"EditPKV"_s, twolayer::lower(u"EditRo0"_s), twolayer::lower(u"EditPKV"_s),
            lengthInput,  thicknessName};
}

QList<InputCheck> splitRodChecks(const QString& lengthInput) {
    using K = InputCheck::Kind;
    return twolayer::soilChecks() << InputCheck{K::Filled, u"cmbSech"_s, u"конструкции заземлителя"_s}
                                  << InputCheck{K::Filled, u"cmbDiam"_s, u"размеров заземлителя"_s}
                                  << InputCheck{K::Positive, u"EditDiam0"_s, u"диаметра заземлителя"_s}
                                  << InputCheck{K::Positive, lengthInput, u"длины заземлителя"_s};
}

QList<HistoryCaption> splitRodCaptions() {
    return twolayer::soilCaptions() << HistoryCaption{u"Конструкция заземлителя:"_s, u"Construct1"_s}
                                    << HistoryCaption{u"Размер стержня, м:"_s, u"Razmer"_s}
                                    << HistoryCaption{u"Толщина верхнего слоя земли, м:"_s, u"A"_s}
                                    << HistoryCaption{u"Длина заземлителя, м:"_s, u"L"_s};
}

void showSplit(const CalcInputs& in, long double l, const Split& split, QMap<QString, QString>& shown) {
    shown[upperPartName] = formatGeneral(split.upper);
    shown[lowerPartName] = formatGeneral(split.lower);
    const auto p1 = parseNumber(in.text(upperRo));
    const auto p2 = parseNumber(in.text(lowerRo));
    if (p1 && p2 && *p1 > 0 && *p2 > 0)
        shown[equivalentName] = formatGeneral(equivalentResistivity(l, split, *p1, *p2));
}

Split splitInGround(long double h, long double to, long double l) {
    if (h <= to)
        return {0, l};
    if (to + l > h) {
        const long double upper = h - to;
        return {upper, l - upper};
    }
    return {l, 0};
}

Split splitAtSurface(long double h, long double l) {
    if (l >= h)
        return {h, l - h};
    return {l, 0};
}

long double equivalentResistivity(long double l, const Split& split, long double p1, long double p2) {
    return roundTo(l / (split.upper / p1 + split.lower / p2), 2);
}

std::optional<Layers> layers(const CalcInputs& in) {
    const auto p01 = in.number(u"EditRo0"_s);
    const auto kp1 = in.number(u"EditPKV"_s);
    const auto p02 = in.number(twolayer::lower(u"EditRo0"_s));
    const auto kp2 = in.number(twolayer::lower(u"EditPKV"_s));
    if (!p01 || !kp1 || !p02 || !kp2)
        return std::nullopt;
    return Layers{calculatedResistivity(*p01, *kp1), calculatedResistivity(*p02, *kp2)};
}

QMap<QString, QString> TableCoefficientCalculator::derive(const CalcInputs& in,
                                                          const QString& changed) const {
    // Only the soil moves the ratio; the geometry leaves it as the last result left it.
    const bool soil = changed.isEmpty() || changed.endsWith(u"EditRo0"_s) || changed.endsWith(u"EditPKV"_s) ||
                      changed.endsWith(u"ComboGrunt"_s);
    if (!soil)
        return {};
    const auto p1 = parseNumber(in.text(upperRo));
    const auto p2 = parseNumber(in.text(lowerRo));
    if (!p1 || !p2 || !(*p1 > 0) || !(*p2 > 0))
        return {{ratioName, QString()}};
    return {{ratioName, formatGeneral(twolayer::resistivityRatio(*p1, *p2))}};
}

std::optional<long double> TableCoefficientCalculator::compute(const CalcInputs& in,
                                                               QMap<QString, QString>& shown) const {
    const auto p = layers(in);
    if (!p)
        return std::nullopt;
    const long double ratio = twolayer::resistivityRatio(p->p1, p->p2);
    const auto a = coefficient(in, double(ratio));
    if (!a)
        return std::nullopt;
    shown.insert(ratioName, formatGeneral(ratio));
    shown.insert(coefficientName, formatGeneral(*a));
    return roundResistance(*a * p->p2);
}

QStringList TableCoefficientCalculator::calcOrder(const CalcInputs& in) const {
    return {u"R = "_s + in.text(coefficientName) + u" * "_s + in.text(lowerRo) +
            oneLineEnding(in.text(u"EditVS1"_s))};
}

void writeRho(ReportBuilder& w, const QString& sub) {
    w.WordSymbol(u"r"_s);
    w.WordSubscript(sub);
}

void writeOpening(ReportBuilder& w, const ReportSource& s, const CalculatorDescriptor& d,
                  const QString& title, const QString& device, const QString& lengthInput) {
    writeReportOpening(w, s, twolayer::reportOpening(title, d.pictureFile, thicknessName));
    w.WordText(reportCr + u"Заземляющее устройство представляет собой "_s + device + u" длиной L = "_s +
               s.text(lengthInput) + u" м."_s + reportCr);
}

void writeVerdict(ReportBuilder& w, const ReportSource& s) {
    if (s.installation.include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
}

void writeTableClosing(ReportBuilder& w, const ReportSource& s) {
    w.WordText(u"Отношение удельных сопротивлений верхнего и нижнего слоев грунта: "_s);
    writeRho(w, u"1"_s);
    w.WordText(u" / "_s);
    writeRho(w, u"2"_s);
    w.WordText(u" = "_s + s.text(upperRo) + u" / "_s + s.text(lowerRo) + u" = "_s + s.text(ratioName) +
               u"."_s + reportCr);
    w.WordText(u"Табличное значение коэффициента: А = "_s + s.text(coefficientName) + u"."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Center);
    w.WordText(u"R = A * "_s);
    writeRho(w, u"2"_s);
    w.WordText(u", Ом;"_s + reportCr);
    w.WordText(u"R = "_s + s.text(coefficientName) + u" * "_s + s.text(lowerRo) + u" = "_s +
               s.text(u"EditVS1"_s) + u" Ом."_s + reportCr);
    w.setAlignment(ReportParagraph::Alignment::Left);
    w.progress();
    writeVerdict(w, s);
    w.progress();
}

std::optional<long double> writeEquivalentResistivity(ReportBuilder& w, const ReportSource& s,
                                                      const QString& lengthInput) {
    const auto d = w.WordConstructionParagraph(s.text(u"cmbSech"_s), s.text(u"cmbDiam"_s),
                                               s.text(u"EditDiam"_s), u"D"_s);
    w.progress();
    w.WordText(u"Эквивалентное удельное сопротивление двухслойной земли:"_s + reportCr);
    writeRho(w, u"э"_s);
    w.WordText(u" = L / (L"_s);
    w.WordSubscript(u"1"_s);
    w.WordText(u"/"_s);
    writeRho(w, u"1"_s);
    w.WordText(u" + L"_s);
    w.WordSubscript(u"2"_s);
    w.WordText(u"/"_s);
    writeRho(w, u"2"_s);
    w.WordText(u"), Ом м;"_s + reportCr);
    writeRho(w, u"э"_s);
    w.WordText(u" = "_s + s.text(lengthInput) + u" / ("_s + s.text(upperPartName) + u"/"_s + s.text(upperRo) +
               u" + "_s + s.text(lowerPartName) + u"/"_s + s.text(lowerRo) + u") = "_s +
               s.text(equivalentName) + u" Ом м."_s + reportCr);
    w.progress();
    return d;
}

} // namespace kz::twolayerrods
