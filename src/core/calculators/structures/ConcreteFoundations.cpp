#include "core/calculators/structures/ConcreteFoundations.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::concretefoundations {

namespace {
const QString typeInput = u"rdgTip"_s;
const QString rowInput = u"DBGrid2"_s;
const QString depthInput = u"EditGlub"_s;
const QString schemeInput = u"Schema"_s;
const QString countField = u"EditN"_s;
const QString kiField = u"EditKI"_s;
const QString oneField = u"EditRf"_s;
const QString fullCheck = u"chkFull"_s;
// Intermediates the calculation order shows; no field of the window.
const QString stemValue = u"calc.Rst"_s;
const QString slabValue = u"calc.Rpl"_s;
constexpr long double pi = std::numbers::pi_v<long double>;

QStringList typeItems() {
    return {u"сборный"_s, u"свайный"_s};
}

bool isPile(const CalcInputs& in) {
    return in.text(typeInput) == typeItems().at(1);
}

int schemeOf(const CalcInputs& in) {
    return int(in.number(schemeInput).value_or(1));
}

std::optional<long double> rowValue(const CalcInputs& in, const QString& name) {
    return parseNumber(in.text(rowInput + u'.' + name));
}

// The deepest a foundation of the chosen grade may lie: h − d, or h for a pile.
std::optional<long double> depthLimit(const CalcInputs& in) {
    const auto h = rowValue(in, u"h"_s);
    if (!h)
        return std::nullopt;
    if (isPile(in))
        return h;
    const auto d = rowValue(in, u"d"_s);
    return d ? std::optional<long double>(roundTo(*h - *d, 10)) : std::nullopt;
}

void report(ReportBuilder& w, const ReportSource& s);

RowTable rowTable(const QString& table, const QStringList& columns,
                  const QList<QPair<QString, QString>>& values, const QString& picture,
                  const QStringList& legend, const QString& kind) {
    RowTable t;
    t.table = table;
    t.columns = columns;
    t.values = values;
    t.picture = picture;
    t.legend = legend;
    t.emptyMessage = u"Таблица "_s + kind +
                     u" фундаментов пуста: добавьте марки фундаментов в таблицу на странице «Изображение» "
                     u"(кнопка «+» навигатора)."_s;
    return t;
}

HistoryLayout layoutFor(bool pile, const HistoryLayout& columnAndSlab) {
    HistoryLayout h = columnAndSlab;
    if (!pile)
        return h;
    h.kindCode = 35;
    h.presetName = u"Свайный фундамент 1."_s;
    h.captions.clear();
    for (const HistoryCaption& c : columnAndSlab.captions)
        if (c.field != "A"_L1 && c.field != "B"_L1 && c.field != "D2"_L1)
            h.captions << c;
    return h;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TFundForm"_s;
    d.caption = u"Железобетонные фундаменты."_s;
    d.helpContext = 43;
    d.kindCode = 34;
    d.menuGroup = MenuGroup::BuildingStructures;
    d.menuCaption = u"Железобетонные фундаменты..."_s;
    d.formulaText = u"Расчетная формула:   Rр = Rф / N / Kи, Ом"_s;
    d.multiLineOrder = true;
    // Memo1 is the legend of the foundation table.
    d.orderMemoName = u"Memo2"_s;
    d.resultLabel = u"Сопротивление всего фундамента, Ом:"_s;
    d.windowTop = 10;

    GeometryInput type;
    type.name = typeInput;
    type.label = u" Тип одиночного фундамента "_s;
    type.radio.emplace();
    type.radio->items = typeItems();
    type.defaultText = typeItems().first();
    type.radio->columns = 2;

    const QStringList legend = {u"Марка - марка фундамента"_s,          u"h, м - полная высота фундамента"_s,
                                u"c, м - диаметр стержня фундамента"_s, u"а, м - длина плиты фундамента"_s,
                                u"b, м - ширина плиты фундамента"_s,    u"d, м - высота плиты фундамента"_s};
    RowChoice r;
    r.tables = {rowTable(u"SbFundTable"_s,
                         {u"Marka"_s, u"DlinaSt"_s, u"DiamSt"_s, u"DlinaPl"_s, u"ShirPl"_s, u"VusPl"_s},
                         {{u"h"_s, u"DlinaSt"_s},
                          {u"c"_s, u"DiamSt"_s},
                          {u"a"_s, u"DlinaPl"_s},
                          {u"b"_s, u"ShirPl"_s},
                          {u"d"_s, u"VusPl"_s}},
                         u"sbfund.bmp"_s, legend, u"сборных"_s),
                rowTable(u"SvFundTable"_s, {u"Marka"_s, u"Dlina"_s, u"Diam"_s},
                         {{u"h"_s, u"Dlina"_s}, {u"c"_s, u"Diam"_s}}, u"svfund.bmp"_s, legend.mid(0, 3),
                         u"свайных"_s)};
    r.tableInput = typeInput;
    r.tab = u"Изображение"_s;
    r.textName = u"DBText1"_s;
    r.navigatorName = u"DBNavigator2"_s;
    r.pictureName = u"ImageSchema"_s;
    r.legendName = u"Memo1"_s;
    r.legendCaption = u"Справка."_s;
    r.checkName = fullCheck;
    r.checkCaption = u"Полное погружение"_s;
    r.keyHistoryField = u"Construct"_s;
    r.historyValues = {
        {u"c"_s, u"D1"_s}, {u"h"_s, u"L"_s}, {u"d"_s, u"D2"_s}, {u"a"_s, u"A"_s}, {u"b"_s, u"B"_s}};
    GeometryInput row;
    row.name = rowInput;
    row.label = u"Выбран фундамент:"_s;
    row.rowChoice = r;
    row.historyField = u"N"_s;

    GeometryInput depth;
    depth.name = depthInput;
    depth.label = u"l - глубина заложения фундамента, м:"_s;
    depth.defaultText = u"2"_s;
    depth.steps.sizes = {1, 0.1};
    depth.steps.names = {u"SpinButton2"_s, u"SpinButton3"_s};
    depth.historyField = u"T"_s;
    depth.selectionColour = true;

    GeometryInput scheme;
    scheme.name = schemeInput;
    scheme.label = u"Схема расположения:"_s;
    scheme.historyField = u"Schema"_s;
    scheme.picture.emplace();
    for (int i = 1; i <= schemeCount; ++i)
        scheme.picture->pictures << u"fund"_s + QString::number(i) + u".bmp"_s;
    scheme.picture->tab = u"Схема расположения"_s;
    scheme.picture->label = u"lblTip"_s;
    scheme.required = false;

    GeometryInput count;
    count.name = countField;
    count.label = u"N - количество фундаментов, шт.:"_s;
    count.readOnly = true;
    GeometryInput ki;
    ki.name = kiField;
    ki.label = u"k - коэффициент использования:"_s;
    ki.readOnly = true;
    GeometryInput one;
    one.name = oneField;
    one.label = u"Rф - сопротивление одного фундамента, Ом:"_s;
    one.readOnly = true;
    one.clearedWithResult = true;
    d.geometry = {type, row, depth, scheme, count, ki, one};

    CoefficientTab table;
    table.caption = u"Коэффициенты использования"_s;
    table.table = u"KIFundTable"_s;
    table.columns = {{u"Schema"_s, u"Номер"_s, {}}, {u"KI"_s, u"КИ"_s, {}}};
    table.notes = {u"КИ - коэффициент использования."_s, u"Номер - номер схемы расположения."_s};
    table.filterName = u"chkFilter"_s;
    table.filterCaption = u"Фильтрация по схеме расположения"_s;
    table.filterField = u"Schema"_s;
    table.filterInput = schemeInput;
    d.coefficientTabs = {table};

    using K = InputCheck::Kind;
    d.checks = {{K::Positive, u"EditPKV"_s, u"коэффициента поправки"_s},
                {K::Filled, u"ComboGrunt"_s, u"типа грунта"_s},
                {K::Positive, u"EditRo0"_s, u"удельного сопротивления грунта"_s},
                {K::Positive, depthInput, u"глубины заложения фундамента"_s}};

    HistoryLayout& h = d.history;
    h.presetName = u"Сборный фундамент 1."_s;
    h.captions = {{u"Тип грунта:"_s, u"Grunt"_s},
                  {u"Удельное сопротивление грунта, Ом м:"_s, u"P"_s},
                  {u"Коэффициент поправки:"_s, u"KP"_s},
                  {u"Марка фундамента:"_s, u"Construct"_s},
                  {u"Диаметр стержня фундамента, м:"_s, u"D1"_s},
                  {u"Глубина заложения, м:"_s, u"T"_s},
                  {u"Полная высота фундамента, м:"_s, u"L"_s},
                  {u"Длина плиты фундамента, м:"_s, u"A"_s},
                  {u"Ширина плиты фундамента, м:"_s, u"B"_s},
                  {u"Высота плиты фундамента, м:"_s, u"D2"_s},
                  {u"Номер схемы:"_s, u"Schema"_s}};

    SelectionParameter l;
    l.name = u"Глубина заложения фундамента, м"_s;
    l.input = depthInput;
    l.start = u"0,3"_s;
    l.step = u"0,1"_s;
    l.lower = u"0,2"_s;
    l.recommendation = u"начальное значение меньше конечного"_s;
    l.heading = u"l, м"_s;
    l.note = u"l, м - глубина заложения фундамента, м"_s;
    d.selection.parameters = {l, correctionSelection(), soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s, u"EditPKV"_s, depthInput};

    d.report = report;
    d.reportSteps = 4;
    return d;
}

class Foundations : public Calculator {
public:
    Foundations() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString&) const override {
        const int scheme = schemeOf(in);
        const auto ki = utilisation(in.tables, scheme);
        return {{countField, foundations(scheme) > 0 ? QString::number(foundations(scheme)) : QString()},
                {kiField, ki ? formatGeneral(*ki) : QString()}};
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        if (!utilisation(in.tables, schemeOf(in)) || foundations(schemeOf(in)) == 0)
            return CheckFailure{u"Ошибка. Заполните таблицу фундаментов."_s, {}};
        const auto h = rowValue(in, u"h"_s);
        const auto c = rowValue(in, u"c"_s);
        const bool pile = isPile(in);
        bool complete = h && c && *h > 0 && *c > 0;
        if (!pile)
            for (const char* name : {"a", "b", "d"}) {
                const auto v = rowValue(in, QString::fromLatin1(name));
                complete = complete && v && *v > 0;
            }
        if (!complete)
            return CheckFailure{pile ? u"Ошибка. Заполните таблицу свайных фундаментов."_s
                                     : u"Ошибка. Заполните таблицу сборных фундаментов."_s,
                                {}};
        const auto l = in.number(depthInput);
        const auto limit = depthLimit(in);
        if (!l || !limit || *l > *limit)
            return CheckFailure{
                pile ? u"Ошибка. Для свайных фундаментов глубина заложения не может быть больше "
                       u"высоты фундамента."_s
                     : u"Ошибка. Для сборных фундаментов глубина заложения не может быть больше "
                       u"разности высоты фундамента и высоты его плиты."_s,
                {}};
        // ln(4·l/c) of a stem shorter than a quarter of its diameter is no resistance.
        if (!(4 * *l > *c))
            return CheckFailure{
                u"Ошибка. Глубина заложения фундамента должна быть больше четверти диаметра его стержня."_s,
                {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        const auto p0 = in.number(u"EditRo0"_s);
        const auto kp = in.number(u"EditPKV"_s);
        const auto l = in.number(depthInput);
        const auto c = rowValue(in, u"c"_s);
        const int scheme = schemeOf(in);
        const auto ki = utilisation(in.tables, scheme);
        const int n = foundations(scheme);
        if (!p0 || !kp || !l || !c || !ki || n == 0 || !(*ki > 0))
            return std::nullopt;
        Results r;
        if (isPile(in)) {
            r = pile(*p0, *kp, *l, *c, n, *ki);
        } else {
            const auto a = rowValue(in, u"a"_s);
            const auto b = rowValue(in, u"b"_s);
            if (!a || !b)
                return std::nullopt;
            r = columnAndSlab(*p0, *kp, *l, *c, *a, *b, n, *ki);
        }
        if (!(r.rOne > 0))
            return std::nullopt;
        if (!in.selectionRunning())
            shown = {{oneField, formatGeneral(r.rOne)},
                     {countField, QString::number(n)},
                     {kiField, formatGeneral(*ki)},
                     {stemValue, formatGeneral(r.rStem)},
                     {slabValue, formatGeneral(r.rSlab)}};
        return r.r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        const bool pile = isPile(in);
        const QString p0 = in.text(u"EditRo0"_s);
        const QString kp = in.text(u"EditPKV"_s);
        const QString p = in.text(u"EditRo"_s);
        const QString h = in.text(rowInput + u".h"_s);
        const QString c = in.text(rowInput + u".c"_s);
        const QString l = in.text(depthInput);
        const QString rf = in.text(oneField);
        const QString n = in.text(countField);
        const QString ki = in.text(kiField);
        const QString r = in.text(u"EditVS1"_s);
        ParameterTriples& triples = parameterTriples();
        triples.clear();
        QStringList o;
        o << (pile ? u"Железобетонный фундамент из свайных фундаментов."_s
                   : u"Железобетонный фундамент из сборных фундаментов."_s);
        if (in.installation.include)
            AddInstallationLines(in.installation, o);
        if (parseNumber(kp).value_or(1) != 1) {
            o << u"Грунт в месте расположения фундамента : "_s + in.text(u"ComboGrunt"_s) +
                     u"; удельное сопротивление грунта p0 = "_s + p0 + u" Ом м."_s;
            o << u"Поправочный коэффициент для удельного сопротивления p: K = "_s + kp + u".\n"_s +
                     u"С учетом поправочного коэффициента p = "_s + p0 + u'*' + kp + u" = "_s + p +
                     u" Ом м."_s;
            triples.add(u"Удельное сопротивление грунта"_s, u"p0"_s, p0);
            triples.add(u"Поправочный коэффициент"_s, u"K"_s, kp);
        } else {
            o << u"Грунт в месте расположения фундамента : "_s + in.text(u"ComboGrunt"_s) +
                     u"; удельное сопротивление грунта p = "_s + p0 + u" Ом м."_s;
        }
        triples.add(u"Расчетное удельное сопротивление грунта"_s, u"p"_s, p);
        o << (pile ? u"Тип отдельного фундамента - свайный."_s : u"Тип отдельного фундамента - сборный."_s);
        o << u"Параметры фундамента:"_s << u"- марка: "_s + in.text(rowInput) + u';'
          << u"- полная высота фундамента: h = "_s + h + u" м;"_s
          << u"- диаметр стержня фундамента: c = "_s + c + u" м;"_s;
        triples.add(u"Полная высота фундамента"_s, u"h"_s, h);
        triples.add(u"Диаметр стержня фундамента"_s, u"c"_s, c);
        const QString stem = u"1,75*"_s + p + u"/(2*3,14*"_s + l + u") * Ln(4*"_s + l + u'/' + c + u") = "_s;
        if (pile) {
            o << u"- глубина заложения фундамента: l = "_s + l + u" м."_s;
            triples.add(u"Глубина заложения фундамента"_s, u"l"_s, l);
            o << u"Сопротивление одного фундамента:"_s << u"Rф = 1,75*p / (2*П*l) * Ln(4*l/c), Ом;"_s
              << u"Rф = "_s + stem + rf + u" Ом."_s;
        } else {
            const QString a = in.text(rowInput + u".a"_s);
            const QString b = in.text(rowInput + u".b"_s);
            const QString d = in.text(rowInput + u".d"_s);
            const QString rst = in.text(stemValue);
            const QString rpl = in.text(slabValue);
            o << u"- длина плиты фундамента: a = "_s + a + u" м;"_s
              << u"- ширина плиты фундамента: b = "_s + b + u" м;"_s
              << u"- высота плиты фундамента: d = "_s + d + u" м;"_s
              << u"- глубина заложения фундамента: l = "_s + l + u" м."_s;
            triples.add(u"Длина плиты фундамента"_s, u"a"_s, a);
            triples.add(u"Ширина плиты фундамента"_s, u"b"_s, b);
            triples.add(u"Высота плиты фундамента"_s, u"d"_s, d);
            triples.add(u"Глубина заложения фундамента"_s, u"l"_s, l);
            o << u"Сопротивление стержня фундамента:"_s << u"Rст = 1,75*p / (2*П*l) * Ln(4*l/c), Ом;"_s
              << u"Rст = "_s + stem + rst + u" Ом."_s;
            o << u"Сопротивление плиты фундамента:"_s << u"Rпл = 1,75*p / (2*(4*a*b/П)**1/2), Ом;"_s
              << u"Rпл = 1,75*"_s + p + u"/(2*(4*"_s + a + u'*' + b + u"/3,14)**1/2) = "_s + rpl + u" Ом."_s;
            o << u"Полное сопротивление одного фундамента:"_s << u"Rф = Rст*Rпл / (0,9*(Rст+Rпл)), Ом;"_s
              << u"Rф = "_s + rst + u'*' + rpl + u"/(0,9*("_s + rst + u'+' + rpl + u")) = "_s + rf +
                     u" Ом."_s;
            triples.add(u"Сопротивление стержня фундамента"_s, u"Rст"_s, rst);
            triples.add(u"Сопротивление плиты фундамента"_s, u"Rпл"_s, rpl);
        }
        triples.add(u"Сопротивление одного фундамента"_s, u"Rф"_s, rf);
        o << u"Количество фундаментов в железобетонном фундаменте: N = "_s + n + u" шт."_s
          << u"Коэффициент использования фундаментов: Kи = "_s + ki + u'.'
          << u"Сопротивление всего фундамента:"_s << u"Rр = Rф/N/Kи, Ом;"_s
          << u"Rр = "_s + rf + u'/' + n + u'/' + ki + u" = "_s + r + u" Ом."_s;
        triples.add(u"Количество фундаментов"_s, u"N"_s, n);
        triples.add(u"Коэффициент использования"_s, u"Kи"_s, ki);
        triples.add(u"Сопротивление всего фундамента"_s, u"Rр"_s, r);
        if (in.installation.include)
            AddVerdictLine(in.installation, u"железобетонный фундамент"_s, u"Rр"_s, o,
                           double(parseNumber(r).value_or(0)));
        return o;
    }

    QMap<QString, QString> userChoice(const CalcInputs& in, const QString& input) const override {
        // "Полное погружение": the foundation goes in as deep as its grade allows.
        if (input != rowInput || in.text(fullCheck).isEmpty())
            return {};
        const auto limit = depthLimit(in);
        if (!limit)
            return {};
        return {{depthInput, formatGeneral(*limit)}};
    }

    QList<SelectionParameter> selectionOffer(const CalcInputs& in) const override {
        QList<SelectionParameter> offer = description().selection.parameters;
        const auto limit = depthLimit(in);
        offer[0].end = offer[0].upper = limit ? formatGeneral(*limit) : QString();
        return offer;
    }

    HistoryLayout historyLayout(const CalcInputs& in) const override {
        return layoutFor(isPile(in), description().history);
    }

    int selectionKind(const CalcInputs& in) const override { return isPile(in) ? 35 : 34; }
};

void report(ReportBuilder& w, const ReportSource& s) {
    QStringList lines = s.text(u"Memo2"_s).split(u'\n');
    if (lines.isEmpty())
        return;
    const bool pile = s.text(typeInput) == typeItems().at(1);
    w.WordTitle(lines.takeFirst() + reportCr + reportCr);
    w.progress();
    if (s.picture) {
        w.WordText(u"Схема расположения фундаментов:"_s + reportCr);
        w.WordPicture(u"fund"_s + s.text(schemeInput) + u".bmp"_s);
        w.WordText(u"Изображение одиночного фундамента:"_s + reportCr);
        w.WordPicture(pile ? u"svfund.bmp"_s : u"sbfund.bmp"_s);
    }
    w.progress();
    // The whole group's resistance is R in the report.
    for (QString& line : lines)
        if (line.startsWith(u"Rр = "_s))
            line.replace(0, 2, u"R"_s);
    for (const QString& line : std::as_const(lines))
        w.WordText(line + reportCr);
    w.progress();
    w.progress();
}
} // namespace

const Calculator& calculator() {
    static const Foundations c;
    return c;
}

int foundations(int scheme) {
    static constexpr int perScheme[schemeCount] = {1, 4, 8, 4, 5};
    return scheme >= 1 && scheme <= schemeCount ? perScheme[scheme - 1] : 0;
}

std::optional<long double> utilisation(const CoefficientTables* tables, int scheme) {
    if (!tables)
        return std::nullopt;
    for (const CoefficientRow& row : tables->rows(u"kifund.db"_s, {u"Schema"_s, u"KI"_s}))
        if (row.size() == 2 && sameTableValue(row[0], scheme) && !std::isnan(row[1]))
            return row[1];
    return std::nullopt;
}

Results columnAndSlab(long double p0, long double kp, long double l, long double c, long double a,
                      long double b, long double n, long double ki) {
    const long double p = calculatedResistivity(p0, kp);
    Results r;
    r.rStem = roundTo(1.75L * p / (2 * pi * l) * std::log(4 * l / c), 2);
    r.dSlab = roundTo(std::sqrt(4 * a * b / pi), 2);
    r.rSlab = roundTo(1.75L * p / (2 * r.dSlab), 2);
    r.rOne = roundTo(r.rSlab * r.rStem / (r.rSlab + r.rStem) / 0.9L, 2);
    r.r = roundTo(r.rOne / n / ki, 2);
    return r;
}

Results pile(long double p0, long double kp, long double l, long double c, long double n, long double ki) {
    const long double p = calculatedResistivity(p0, kp);
    Results r;
    r.rOne = roundTo(1.75L * p / (2 * pi * l) * std::log(4 * l / c), 2);
    r.r = roundTo(r.rOne / n / ki, 2);
    return r;
}

} // namespace kz::concretefoundations
