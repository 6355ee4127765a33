#include "core/calculators/complex/StandardDevice.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/GeometryInputs.h"
#include "core/rules/SectionRules.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace kz::standarddevice {

namespace {
const QString deep = u"FramePV."_s;
const QString surface = u"FramePG."_s;
const QString rodSection = u"frmSechV."_s;
const QString stripSection = u"frmSechG."_s;
const QString lengthInput = u"EditDlinaV"_s;
const QString depthInput = u"EditGlub"_s;
const QString middleField = u"EditRas"_s;
const QString placementInput = u"ComboRazm"_s;
const QString spacingInput = u"EditRasSt"_s;
const QString countInput = u"SpinNV"_s;
const QString row = u"ряд"_s;
const QString contour = u"контур"_s;

long double pi() {
    return std::numbers::pi_v<long double>;
}

GeometryInput numeric(const QString& name, const QString& label, const QString& defaultText,
                      const QString& spins, const QString& field, int page) {
    GeometryInput g = metreInput(name, label, defaultText, field, spins);
    g.page = page;
    return g;
}

GeometryInput shown(const QString& name, const QString& label, int page, bool cleared = true,
                    const QString& defaultText = {}) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.readOnly = true;
    g.clearedWithResult = cleared;
    g.defaultText = defaultText;
    g.page = page;
    return g;
}

SelectionParameter parameter(const QString& name, const QString& input, const QString& heading,
                             const QString& note) {
    SelectionParameter p;
    p.name = name;
    p.input = input;
    p.step = u"0,1"_s;
    p.heading = heading;
    p.note = note;
    return p;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TStandFrm"_s;
    d.caption = u"Стандартное заземляющее устройство."_s;
    d.helpContext = 26;
    d.kindCode = 101;
    d.menuGroup = MenuGroup::ComplexDevices;
    d.menuCaption = u"Стандартное заземляющее устройство..."_s;
    d.conditionLines.clear();
    d.formulaText = u"Расчетная формула:   Rо = Rв*Rг/(Rв +Rг), Ом"_s;
    d.resultLabel = u"Ro - общее cопротивление заземляющего устройства, Ом:"_s;
    d.resultName = u"EditR"_s;
    d.multiLineOrder = true;
    d.linkedParameters = true;
    d.windowTop = 5;
    d.soilTabsName = u"PageControl1"_s;
    d.construction = ConstructionSetup{u"D"_s, u"B"_s, u"вертикальный"_s};
    d.tablesDialog = TablesDialogSetup{u"TKIForm"_s, {}, u"Таблицы коэффициентов использования"_s};

    SoilFrameSetup v;
    v.name = u"FramePV"_s;
    v.prefix = deep;
    v.tab = u"Вертикальный заземлитель."_s;
    v.soilField = u"GruntV"_s;
    v.measuredField = u"RoV"_s;
    v.coefficientField = u"PKV"_s;
    v.pictureFile = u"StandVert.bmp"_s;
    v.pictureTabs = u"PageControl2"_s;
    v.imageName = u"Image1"_s;
    v.conditionLines = {u"Lв >> D; "_s,
                        u"To >= 0,5 м"_s,
                        u"Для полосы шириной B:  D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s,
                        u"Nв = 2 .. 20 (при размещении в ряд)"_s,
                        u"Nв = 4 .. 100 (при размещении по контуру)"_s,
                        u"S = (1 .. 3) Lв "_s};
    v.descriptionName = u"Memo2"_s;
    v.descriptionLines = {u"Заземлитель в виде вертикальных "_s, u"стержневых электродов, расположенных "_s,
                          u"на одной прямой (в ряд) или по контуру."_s};
    SoilFrameSetup g;
    g.name = u"FramePG"_s;
    g.prefix = surface;
    g.tab = u"Горизонтальный заземлитель"_s;
    g.installation = true;
    g.soilField = u"GruntG"_s;
    g.measuredField = u"RoG"_s;
    g.coefficientField = u"PKG"_s;
    g.pictureFile = u"StandGor.bmp"_s;
    g.pictureTabs = u"PageControl3"_s;
    g.imageName = u"Image2"_s;
    g.conditionLines = {u"Lг >> D "_s, u"Lг >> 4 Tо "_s, u"Для полосы шириной B:  D = 0,5 B."_s,
                        u"Для уголка с шириной полки B:  D = 0,95 B."_s};
    g.descriptionName = u"Memo3"_s;
    g.descriptionLines = {u"Заземлитель в виде горизонтальной поло-"_s,
                          u"сы, связывающей между собой стержни"_s, u"вертикального заземлителя."_s};
    d.soilFrames = {v, g};
    d.constructionFrames = {{u"frmSechV"_s,
                             rodSection,
                             {u"D"_s, u"B"_s, u"вертикальный"_s},
                             v.name,
                             0,
                             u"BtnDownV"_s,
                             u"SechV"_s,
                             u"RazmerV"_s},
                            {u"frmSechG"_s,
                             stripSection,
                             {u"D"_s, u"B"_s, u"горизонтальный"_s},
                             g.name,
                             1,
                             u"BtnDownG"_s,
                             u"SechG"_s,
                             u"RazmerG"_s}};

    GeometryInput length =
        numeric(lengthInput, u"Lв - длина стержня, м:"_s, u"3"_s, u"btnLv"_s, u"DlinaV"_s, 0);
    length.range.name = u"lblRangeLv"_s;
    length.range.text = u"( 1 <= Lв <= 3 )"_s;
    length.range.follows = {spacingInput, lengthInput};
    length.userChangesOnly = true;
    GeometryInput depth =
        numeric(depthInput, u"То - глубина заложения, м:"_s, u"0,7"_s, u"btnTo"_s, u"GlubV"_s, 0);
    depth.range.name = u"lblRangeTo"_s;
    depth.range.text = u"( То >= 0,5 )"_s;
    depth.steps.floor = 0.5;
    GeometryInput middle = shown(middleField, u"Т, м:"_s, 0, true, u"2,2"_s);
    GeometryInput placement;
    placement.name = placementInput;
    placement.label = u"Размещение стержней:"_s;
    placement.choice.emplace();
    placement.choice->items = {row, contour};
    placement.defaultText = row;
    placement.historyField = u"Razm"_s;
    placement.page = 0;
    GeometryInput spacing =
        numeric(spacingInput, u"S - расстояние между стержнями, м:"_s, u"3"_s, u"btnRasSt"_s, u"RasSt"_s, 0);
    spacing.range.name = u"lblRangeS"_s;
    spacing.range.text = u"( 3 <= S <= 9 )"_s;
    spacing.range.follows = {lengthInput, spacingInput};
    spacing.userChangesOnly = true;
    GeometryInput count;
    count.name = countInput;
    count.label = u"Nв - кол-во стержней, шт.:"_s;
    count.defaultText = u"5"_s;
    count.spin.emplace();
    count.spin->minimum = 2;
    count.spin->maximum = 20;
    count.range.name = u"lblRangeNv"_s;
    count.range.text = u"( 2 .. 20 )"_s;
    count.range.follows = {placementInput};
    count.historyField = u"NV"_s;
    count.page = 0;
    d.geometry = {length,
                  depth,
                  middle,
                  placement,
                  spacing,
                  count,
                  shown(u"EditRV1"_s, u"rв - сопротивление одного стержня, Ом:"_s, 0),
                  shown(u"EditKIV"_s, u"Кив - коэффициент использования:"_s, 0),
                  shown(u"EditRV"_s, u"Rв - сопротивление заземлителя, Ом:"_s, 0),
                  shown(u"EditDlinaG"_s, u"Lг - длина горизонтального заземлителя, м:"_s, 1, true, u"12"_s),
                  shown(u"EditRG1"_s, u"rг - сопротивление заземлителя без учета влияния, Ом:"_s, 1),
                  shown(u"EditKIG"_s, u"Киг - коэффициент использования горизонтального заземлителя:"_s, 1),
                  shown(u"EditRG"_s, u"Rг - сопротивление заземлителя с учетом влияния, Ом:"_s, 1)};

    using K = InputCheck::Kind;
    d.checks = {
        {K::Positive, deep + u"EditPKV"_s, u"коэффициента поправки вертикального заземлителя"_s},
        {K::Filled, deep + u"ComboGrunt"_s, u"типа грунта вертикального заземлителя"_s},
        {K::Filled, deep + u"EditRo0"_s, u"удельного сопротивления грунта вертикального заземлителя"_s},
        {K::Filled, rodSection + u"cmbSech"_s, u"конструкции вертикальных электродов"_s},
        {K::Filled, rodSection + u"cmbDiam"_s, u"размеров вертикальных электродов"_s},
        {K::Positive, rodSection + u"EditDiam0"_s, u"диаметра вертикальных электродов"_s},
        {K::Positive, lengthInput, u"длины вертикальных электродов"_s},
        {K::Positive, depthInput, u"глубины заложения вертикальных электродов"_s},
        {K::Positive, spacingInput, u"расстояния между вертикальными электродами"_s},
        {K::Positive, surface + u"EditPKV"_s, u"коэффициента поправки горизонтального заземлителя"_s},
        {K::Filled, surface + u"ComboGrunt"_s, u"типа грунта горизонтального заземлителя"_s},
        {K::Filled, surface + u"EditRo0"_s, u"удельного сопротивления грунта горизонтального заземлителя"_s},
        {K::Filled, stripSection + u"cmbSech"_s, u"конструкции горизонтального заземлителя"_s},
        {K::Filled, stripSection + u"cmbDiam"_s, u"размеров горизонтального заземлителя"_s},
        {K::Positive, stripSection + u"EditDiam0"_s, u"диаметра горизонтального заземлителя"_s}};

    // history.DB of its own: no kind code, its own loader.
    d.history.ownTables = u"history"_s;
    d.history.presetName = u"Заземляющее устройство 1"_s;
    // The loader groups the fields under headings (captions without a field).
    d.history.captions = {{u" Параметры вертикального заземлителя "_s, {}},
                          {u" Грунт "_s, {}},
                          {u"Тип:"_s, u"GruntV"_s},
                          {u"р - удельное сопротивление, Ом м:"_s, u"RoV"_s},
                          {u"Коэффициент поправки к р:"_s, u"PKV"_s},
                          {u" Конструкция одиночного стержня "_s, {}},
                          {u"Конструкция:"_s, u"SechV"_s},
                          {u"Размер, м:"_s, u"RazmerV"_s},
                          {u"L - длина стержня, м:"_s, u"DlinaV"_s},
                          {u"То - глубина заложения, м:"_s, u"GlubV"_s},
                          {u" Размещение стержней "_s, {}},
                          {u"Размещение:"_s, u"Razm"_s},
                          {u"Расстояние между стержнями, м:"_s, u"RasSt"_s},
                          {u"Количество стержней, шт.:"_s, u"NV"_s},
                          {u" Параметры горизонтального заземлителя "_s, {}},
                          {u" Грунт "_s, {}},
                          {u"Тип:"_s, u"GruntG"_s},
                          {u"р - удельное сопротивление, Ом м:"_s, u"RoG"_s},
                          {u"Коэффициент поправки к р:"_s, u"PKG"_s},
                          {u" Конструкция заземлителя "_s, {}},
                          {u"Конструкция:"_s, u"SechG"_s},
                          {u"Размер, м:"_s, u"RazmerG"_s}};

    auto coefficient = [](const QString& frame, const QString& which, const QString& heading,
                          const QString& note) {
        SelectionParameter p = correctionSelection();
        p.name = u"Поправочный коэффициент ("_s + which + u" электроды)"_s;
        p.input = frame + u"EditPKV"_s;
        p.heading = heading;
        p.note = note;
        return p;
    };
    auto resistivity = [](const QString& frame, const QString& which, const QString& heading,
                          const QString& note) {
        SelectionParameter p = soilResistivitySelection();
        p.name = u"Удельное сопротивление грунта, Ом м ("_s + which + u" электроды)"_s;
        p.input = frame + u"EditRo0"_s;
        p.heading = heading;
        p.note = note;
        return p;
    };
    SelectionParameter l =
        parameter(u"Длина стержня, м"_s, lengthInput, u"Lв, м"_s, u"Lв, м - длина стержня, м"_s);
    l.start = l.lower = u"1"_s;
    l.end = l.upper = u"10"_s;
    l.columns = {{spacingInput, u"Rв, м"_s, u"Rв, м - расстояние между стержнями, м"_s}};
    SelectionParameter s = parameter(u"Расстояние между стержнями, м"_s, spacingInput, u"Rв, м"_s,
                                     u"Rв, м - расстояние между стержнями, м"_s);
    s.start = s.lower = u"1"_s;
    s.end = s.upper = u"30"_s;
    s.columns = {{lengthInput, u"Lв, м"_s, u"Lв, м - длина стержня, м"_s}};
    SelectionParameter n = parameter(u"Кол-во стержней, шт. (размещение в ряд)"_s, countInput, u"Nв, шт."_s,
                                     u"Nв, шт. - количество стержней, шт."_s);
    n.type = u"integer"_s;
    n.settingsTable = 3;
    n.start = n.lower = u"2"_s;
    n.end = n.upper = u"20"_s;
    n.step = u"1"_s;
    d.selection.storedSets = true;
    d.selection.parameters = {
        coefficient(deep, u"верт."_s, u"Кпв"_s, u"Кпв - поправочный коэффициент (верт. электроды)"_s),
        resistivity(deep, u"верт."_s, u"pв, Ом м"_s,
                    u"p, Ом м - удельное сопротивление грунта, Ом м (верт. электроды)"_s),
        l,
        s,
        n,
        coefficient(surface, u"гориз."_s, u"Кпг"_s, u"Кпг - поправочный коэффициент (гориз. электроды)"_s),
        resistivity(surface, u"гориз."_s, u"pг, Ом м"_s,
                    u"pг, Ом м - удельное сопротивление грунта, Ом м (гориз. электроды)"_s)};
    d.selection.writeBack = {deep + u"EditRo0"_s, deep + u"EditPKV"_s,    lengthInput,           spacingInput,
                             countInput,          surface + u"EditRo0"_s, surface + u"EditPKV"_s};
    d.report = report;
    d.reportSteps = 13;
    return d;
}

struct Geometry {
    long double l, to, s, n;
    QString placement;
};

std::optional<Geometry> geometryOf(const CalcInputs& in) {
    const auto l = in.number(lengthInput);
    const auto to = in.number(depthInput);
    const auto s = in.number(spacingInput);
    const auto n = in.number(countInput);
    if (!l || !to || !s || !n)
        return std::nullopt;
    return Geometry{*l, *to, *s, std::round(*n), in.text(placementInput)};
}

QString verticalMissing() {
    return u"Коэффициент использования вертикальных электродов не найден. Расчет невозможен"_s;
}
QString horizontalMissing() {
    return u"Коэффициент использования горизонтального электрода не найден. Расчет невозможен"_s;
}

// The ">>" conditions of the rods' and the strip's formulas; the strip's length follows the
// placement, the count and the spacing.
CalculatorDescriptor withWeakConditions(CalculatorDescriptor d) {
    const auto strip = [](const CalcInputs& in) -> std::optional<long double> {
        const auto g = geometryOf(in);
        return g ? std::optional(stripLength(g->placement, g->n, g->s)) : std::nullopt;
    };
    d.weakConditions = {
        diameterCondition(u"Lв >> D"_s, u"Lв/D"_s, lengthInput, rodSection),
        {u"Lг >> D"_s, u"Lг/D"_s,
         [strip](const CalcInputs& in) -> std::optional<long double> {
             const auto lg = strip(in);
             const auto d = in.diameterOf(stripSection);
             return lg && d && *d > 0 ? std::optional(*lg / *d) : std::nullopt;
         }},
        {u"Lг >> 4 Tо"_s, u"Lг/4Tо"_s, [strip](const CalcInputs& in) -> std::optional<long double> {
             const auto lg = strip(in);
             const auto to = in.positive(depthInput);
             return lg && to ? std::optional(*lg / (4 * *to)) : std::nullopt;
         }}};
    return d;
}

class StandardDevice : public Calculator {
public:
    StandardDevice() : Calculator(withWeakConditions(makeDescriptor())) {}

    // The count is offered under the placement's name, with the placement's limits: its stored
    // range is kept by that name.
    QList<SelectionParameter> selectionOffer(const CalcInputs& in) const override {
        QList<SelectionParameter> offer = description().selection.parameters;
        if (in.text(placementInput) == contour)
            for (SelectionParameter& p : offer)
                if (p.input == countInput) {
                    p.name = u"Кол-во стержней, шт. (размещение по контуру)"_s;
                    p.start = p.lower = u"4"_s;
                    p.end = p.upper = u"100"_s;
                }
        return offer;
    }

    static std::optional<Inputs> inputsOf(const CalcInputs& in) {
        const auto g = geometryOf(in);
        const auto pv0 = in.number(deep + u"EditRo0"_s);
        const auto kpv = in.number(deep + u"EditPKV"_s);
        const auto pg0 = in.number(surface + u"EditRo0"_s);
        const auto kpg = in.number(surface + u"EditPKV"_s);
        const auto dv = in.diameterOf(rodSection);
        const auto dg = in.diameterOf(stripSection);
        if (!g || !pv0 || !kpv || !pg0 || !kpg || !dv || !dg)
            return std::nullopt;
        return Inputs{*pv0, *kpv, g->l, *dv, g->to, g->s, g->n, g->placement, *pg0, *kpg, *dg};
    }

    std::optional<CheckFailure> checkAfterSoil(const CalcInputs& in, int index) const override {
        if (index != 0)
            return std::nullopt;
        const auto g = geometryOf(in);
        if (!g)
            return CheckFailure{};
        if (const auto dv = in.diameterOf(rodSection); !dv || !(*dv < g->l))
            return CheckFailure{u"Ошибка. Длина вертикального стержня должна быть больше диаметра."_s,
                                lengthInput};
        if (!(g->to >= 0.5L))
            return CheckFailure{u"Ошибка. Глубина заложения должна быть больше либо равна 0,5 м."_s,
                                depthInput};
        if (!(g->l <= g->s && g->s <= 3 * g->l + 0.00001L))
            return CheckFailure{
                u"Ошибка. Отношение расстояния между вертикальными электродами к их длине должно быть "
                u"в пределах от 1 до 3."_s,
                spacingInput};
        return std::nullopt;
    }

    // The strip's length from the inputs as they are now, not the one shown by the last calculation.
    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        const auto g = geometryOf(in);
        if (!g)
            return CheckFailure{};
        const long double lg = stripLength(g->placement, g->n, g->s);
        if (const auto dg = in.diameterOf(stripSection); !dg || !(*dg < lg))
            return CheckFailure{u"Ошибка. Длина горизонтального заземлителя должна быть больше диаметра."_s,
                                {}};
        if (!(lg > 4 * g->to))
            return CheckFailure{
                u"Ошибка. Длина горизонтального заземлителя должна быть больше глубины заложения более чем в 4 раза."_s,
                {}};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& out) const override {
        const auto v = inputsOf(in);
        if (!v)
            return std::nullopt;
        const auto r = standarddevice::compute(in.tables, *v);
        if (!r)
            return std::nullopt;
        out.insert(middleField, formatGeneral(r->tv));
        out.insert(u"EditRV1"_s, formatGeneral(r->rv1));
        out.insert(u"EditKIV"_s, formatGeneral(r->kiv));
        out.insert(u"EditRV"_s, formatGeneral(r->rv));
        out.insert(u"EditDlinaG"_s, formatGeneral(r->lg));
        out.insert(u"EditRG1"_s, formatGeneral(r->rg1));
        out.insert(u"EditKIG"_s, formatGeneral(r->kig));
        out.insert(u"EditRG"_s, formatGeneral(r->rg));
        return r->r;
    }

    QString missingResultMessage(const CalcInputs& in) const override {
        // The messages only outside a selection run: a run tries on silently.
        if (in.selectionRunning())
            return {};
        const auto v = inputsOf(in);
        if (!v)
            return {};
        bool rods = true;
        standarddevice::compute(in.tables, *v, &rods);
        return rods ? horizontalMissing() : verticalMissing();
    }

    QStringList calcOrder(const CalcInputs& in) const override;

    QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const override {
        const auto l = in.positive(lengthInput);
        const auto s = in.positive(spacingInput);
        if (!l || !s)
            return {};
        QMap<QString, QString> moved;
        if (changed == lengthInput) {
            if (*l > *s)
                moved.insert(spacingInput, in.text(lengthInput));
            else if (3 * *l < *s)
                moved.insert(spacingInput, formatGeneral(roundTo(3 * *l, 2)));
        } else if (changed == spacingInput) {
            if (*l > *s) {
                moved.insert(lengthInput, in.text(spacingInput));
            } else if (*s / 3 > *l) {
                long double third = roundTo(*s / 3, 2);
                if (third < *s / 3)
                    third = roundTo(third + 0.01L, 2);
                moved.insert(lengthInput, formatGeneral(third));
            }
        }
        return moved;
    }

    QString rangeLabel(const CalcInputs& in, const QString& label) const override {
        if (label == u"lblRangeLv"_s) {
            const auto s = in.positive(spacingInput);
            return s ? u"( "_s + formatGeneral(roundTo(*s / 3, 5)) + u" <= Lв <= "_s + in.text(spacingInput) +
                           u" )"_s
                     : QString();
        }
        if (label == u"lblRangeS"_s) {
            const auto l = in.positive(lengthInput);
            return l ? u"( "_s + in.text(lengthInput) + u" <= S <= "_s + formatGeneral(3 * *l) + u" )"_s
                     : QString();
        }
        if (label == u"lblRangeNv"_s)
            return in.text(placementInput) == contour ? u"( 4 .. 100 )"_s : u"( 2 .. 20 )"_s;
        return Calculator::rangeLabel(in, label);
    }

    std::optional<std::pair<int, int>> spinLimits(const CalcInputs& in, const QString& spin) const override {
        if (spin != countInput)
            return std::nullopt;
        return countLimits(in.tables, in.text(placementInput));
    }

    bool selectionAdmissible(const CalcInputs& in) const override {
        const auto g = geometryOf(in);
        if (!g || !(g->l > 0))
            return false;
        const long double ratio = g->s / g->l;
        if (ratio < 1 - 1e-12L || ratio > 3 + 1e-12L)
            return false;
        return g->placement == contour ? g->n >= 4 && g->n <= 100 : g->n >= 2 && g->n <= 20;
    }

    // A combination the window's checks refuse stops the run with their message.
    std::optional<QString> selectionRefusal(const CalcInputs& in) const override {
        if (auto f = checkAfterSoil(in, 0))
            return f->message;
        if (auto f = checkGeometry(in))
            return f->message;
        return std::nullopt;
    }

    void selectionValueApplied(const CalcInputs& in, const QString& input,
                               QMap<QString, long double>& values) const override {
        // The linked lengths follow only in a single-parameter run.
        if (!in.singleRun || !in.linking || !values.contains(lengthInput) || !values.contains(spacingInput))
            return;
        long double& l = values[lengthInput];
        long double& s = values[spacingInput];
        if (input == lengthInput) {
            if (l > s)
                s = l;
            if (3 * l < s) {
                s = roundTo(3 * l, 2);
                while (s > 3 * l)
                    s = roundTo(s - 0.01L, 2);
            }
        } else if (input == spacingInput) {
            if (l > s)
                l = s;
            if (3 * l < s) {
                l = roundTo(s / 3, 2);
                if (3 * l < s)
                    l = roundTo(l + 0.01L, 2);
            }
        }
    }

    void deriveSelectionValues(QMap<QString, long double>& values) const override {
        if (values.contains(countInput))
            values[countInput] = std::round(values.value(countInput));
    }
};

// Columns of the rows read: N, Otnosh, KI.
enum { N, Otnosh, KI };

CoefficientRows placementRows(const CoefficientTables* tables, const QString& table,
                              const QString& placement) {
    CoefficientRows rows;
    if (!tables)
        return rows;
    for (const CoefficientRow& r :
         tables->rowsWhere(table, {u"N"_s, u"Otnosh"_s, u"KI"_s}, u"Razm"_s, placement))
        if (r.size() == 3 && !std::isnan(r[N]) && !std::isnan(r[Otnosh]) && !std::isnan(r[KI]))
            rows << r;
    return rows;
}
} // namespace

const Calculator& calculator() {
    static const StandardDevice c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

double lookupKI(const CoefficientTables* tables, const QString& table, const QString& placement, double n,
                double ratio) {
    const CoefficientRows r =
        bracketingRows(placementRows(tables, table, placement), {{N, n}, {Otnosh, ratio}});
    switch (r.size()) {
    case 1:
        return r[0][KI];
    case 2: {
        const long double k1 = r[0][KI], k2 = r[1][KI];
        long double k = k1;
        if (!sameTableValue(r[0][Otnosh], r[1][Otnosh]))
            k = k1 - (k1 - k2) * (ratio - r[0][Otnosh]) / (r[1][Otnosh] - r[0][Otnosh]);
        if (!sameTableValue(r[0][N], r[1][N]))
            k = k1 - (k1 - k2) * (n - r[0][N]) / (r[1][N] - r[0][N]);
        return double(roundTo(k, 2));
    }
    case 4: {
        const long double t = (ratio - r[0][Otnosh]) / (r[1][Otnosh] - r[0][Otnosh]);
        const long double k1 = r[0][KI] - (r[0][KI] - r[1][KI]) * t;
        const long double k2 = r[2][KI] - (r[2][KI] - r[3][KI]) * t;
        return double(roundTo(k1 - (k1 - k2) * (n - r[0][N]) / (r[2][N] - r[0][N]), 2));
    }
    default:
        return 0;
    }
}

std::pair<int, int> countLimits(const CoefficientTables* tables, const QString& placement) {
    const CoefficientRows rows = placementRows(tables, rodTable, placement);
    if (rows.isEmpty())
        return {2, 20};
    double lo = rows.first()[N], hi = lo;
    for (const CoefficientRow& r : rows) {
        lo = std::min(lo, r[N]);
        hi = std::max(hi, r[N]);
    }
    return {int(std::lround(lo)), int(std::lround(hi))};
}

long double stripLength(const QString& placement, long double n, long double s) {
    return placement == row ? (n - 1) * s : n * s;
}

std::optional<Result> compute(const CoefficientTables* tables, const Inputs& v, bool* rodsFound) {
    Result r;
    const long double pv = calculatedResistivity(v.pv0, v.kpv);
    r.tv = v.l / 2 + v.to;
    r.rv1 =
        roundResistance(pv / 2 / pi() / v.l *
                        (std::log(2 * v.l / v.dv) + 0.5L * std::log((4 * r.tv + v.l) / (4 * r.tv - v.l))));
    const double ratio = double(v.s / v.l);
    r.kiv = lookupKI(tables, rodTable, v.placement, double(v.n), ratio);
    if (rodsFound)
        *rodsFound = r.kiv != 0;
    if (r.kiv == 0)
        return std::nullopt;
    r.rv = roundResistance(r.rv1 / v.n / r.kiv);
    const long double pg = calculatedResistivity(v.pg0, v.kpg);
    r.lg = stripLength(v.placement, v.n, v.s);
    r.rg1 = roundResistance(pg / 2 / pi() / r.lg * std::log(r.lg * r.lg / v.dg / v.to));
    r.kig = lookupKI(tables, stripTable, v.placement, double(v.n), ratio);
    if (r.kig == 0)
        return std::nullopt;
    r.rg = roundResistance(r.rg1 / r.kig);
    r.r = roundResistance(r.rv * r.rg / (r.rv + r.rg));
    return r;
}

namespace {
// The construction lines of one electrode, with its designation and the words naming it.
void constructionLines(QStringList& memo, ParameterTriples& t, const CalcInputs& in, const QString& section,
                       const QString& symbol, const QString& what, const QString& whose) {
    const QString sech = in.text(section + u"cmbSech"_s);
    const QString size = in.text(section + u"cmbDiam"_s);
    const int c = constructionOf(sech);
    memo << u"Конструкция "_s + what + u": "_s + sech + u'.';
    const QString name = u"Расчетный диаметр "_s + whose;
    if (c == SquareSteel) {
        memo << u"Сторона квадрата стали: "_s + size + u" м."_s
             << name + u": "_s + symbol + u" = "_s + size + u" м."_s;
        t.add(name, symbol, size);
    } else if (c == AngleSteel || c == StripSteel) {
        const SectionDiameters dd = sectionDiameters(c, size);
        const bool angle = c == AngleSteel;
        memo << (angle ? u"Размеры угловой стали: "_s : u"Размеры полосовой стали: "_s) + size + u" м."_s
             << (angle ? u"Ширина полки: В = "_s : u"Ширина полосы: В = "_s) + dd.size + u" м."_s
             << name + u": "_s + symbol + (angle ? u" = 0,95*B = "_s : u" = 0,5*B = "_s) + dd.equivalent +
                    u" м."_s;
        t.add(name, symbol, dd.equivalent);
    } else {
        const QString n = u"Диаметр "_s + whose;
        memo << n + u": "_s + symbol + u" = "_s + size + u" м."_s;
        t.add(n, symbol, size);
    }
}

QString diameterText(const QString& construction, const QString& size) {
    const int c = constructionOf(construction);
    return usesEquivalentDiameter(c) ? sectionDiameters(c, size).equivalent : size;
}

QString diameterText(const CalcInputs& in, const QString& section) {
    return diameterText(in.text(section + u"cmbSech"_s), in.text(section + u"cmbDiam"_s));
}

// The soil lines of one layer set.
void soilLines(QStringList& memo, ParameterTriples& t, const CalcInputs& in, const QString& frame,
               const QString& soilWord, const QString& rhoName, const QString& rhoCorrected,
               const QString& kName, const QString& p, const QString& k) {
    const QString p0 = in.text(frame + u"EditRo0"_s);
    const QString kp = in.text(frame + u"EditPKV"_s);
    memo << soilWord + in.text(frame + u"ComboGrunt"_s) + u'.';
    memo << rhoName + u": "_s + p + u" = "_s + p0 + u" Ом м."_s;
    t.add(rhoName, p, p0);
    if (kp != u"1"_s) {
        memo << kName + u": "_s + k + u" = "_s + kp + u'.';
        t.add(kName, k, kp);
        const QString pc = in.text(frame + u"EditRo"_s);
        memo << rhoCorrected + u": "_s + p + u" = "_s + p0 + u'*' + kp + u" = "_s + pc + u" Ом м."_s;
        t.add(rhoCorrected, p, pc);
    }
}
} // namespace

QStringList StandardDevice::calcOrder(const CalcInputs& in) const {
    ParameterTriples& t = parameterTriples();
    t.clear();
    QStringList m;
    auto data = [&](const QString& name, const QString& symbol, const QString& value, const QString& line) {
        m << line;
        t.add(name, symbol, value);
    };
    const QString to = in.text(depthInput);
    const QString l = in.text(lengthInput);
    const QString tv = in.text(middleField);
    const QString n = in.text(countInput);
    const QString s = in.text(spacingInput);
    const QString rv1 = in.text(u"EditRV1"_s), kiv = in.text(u"EditKIV"_s), rv = in.text(u"EditRV"_s);
    const QString lg = in.text(u"EditDlinaG"_s), rg1 = in.text(u"EditRG1"_s), kig = in.text(u"EditKIG"_s);
    const QString rg = in.text(u"EditRG"_s), r = in.text(u"EditVS1"_s);
    const bool inRow = in.text(placementInput) == row;

    m << u"Заземляющее устройство."_s;
    if (in.installation.include)
        AddInstallationLines(in.installation, m);
    m << QString() << u"Грунты."_s;
    soilLines(m, t, in, deep, u"Грунт глубинных слоев: "_s, u"Удельное сопротивление глубинных слоев"_s,
              u"Удельное сопротивление глубинных слоев с учетом поправочного коэффициента"_s,
              u"Поправочный коэффициент для удельного сопротивления pв глубинных слоев"_s, u"pв"_s, u"Kпв"_s);
    soilLines(
        m, t, in, surface, u"Грунт поверхностных слоев: "_s, u"Удельное сопротивлением поверхностных слоев"_s,
        u"Удельное сопротивлением поверхностных слоев с учетом поправочного коэффициента"_s,
        u"Поправочный коэффициент для удельного сопротивления pг поверхностных слоев"_s, u"pг"_s, u"Kпг"_s);
    m << QString();
    data(u"Глубина заложения заземляющего устройства"_s, u"To"_s, to,
         u"Глубина заложения заземляющего устройства: To = "_s + to + u" м."_s);
    m << QString() << u"Вертикальный заземлитель."_s;
    constructionLines(m, t, in, rodSection, u"Dв"_s, u"вертикального стержня"_s, u"вертикального стержня"_s);
    data(u"Длина вертикального стержня"_s, u"Lв"_s, l,
         u"Длина вертикального стержня: Lв = "_s + l + u" м."_s);
    data(u"Глубина заложения вертикального стержня"_s, u"Tв"_s, tv,
         u"Глубина заложения вертикального стержня: Tв = To + Lв/2 ="_s + to + u'+' + l + u" / 2 = "_s + tv +
             u" м."_s);
    const QString dv = diameterText(in, rodSection);
    m << u"Сопротивление одного вертикального стержня:"_s
      << u"rв = pв/2/П/Lв * [Ln(2*Lв/Dв)+1/2*Ln((4*Tв+Lв)/(4*Tв-Lв))];"_s;
    data(u"Сопротивление одного вертикального стержня"_s, u"rв"_s, rv1,
         u"rв = "_s + in.text(deep + u"EditRo"_s) + u"/2/3,14/"_s + l + u" * [Ln(2*"_s + l + u'/' + dv +
             u")+1/2*Ln((4*"_s + tv + u'+' + l + u")/(4*"_s + tv + u'-' + l + u"))] = "_s + rv1 + u" Ом."_s);
    data(u"Количество вертикальных заземлителей"_s, u"Nв"_s, n,
         u"Количество вертикальных заземлителей: Nв = "_s + n + u". Они располагаются "_s +
             (inRow ? u"в ряд."_s : u"в замкнутом контуре."_s));
    data(u"Коэффициент использования вертикальных стержней"_s, u"Kив"_s, kiv,
         u"Коэффициент использования вертикальных стержней: Kив = "_s + kiv + u'.');
    m << u"Общее сопротивление вертикальных стержней:"_s << u"Rв = rв / Nв / Kив;"_s;
    data(u"Общее сопротивление вертикальных стержней"_s, u"Rв"_s, rv,
         u"Rв = "_s + rv1 + u" / "_s + n + u" / "_s + kiv + u" = "_s + rv + u" Ом."_s);
    data(u"Расстояние между вертикальными стержнями"_s, u"S"_s, s,
         u"Расстояние между вертикальными стержнями: S = "_s + s + u" м."_s);
    m << QString() << u"Горизонтальный заземлитель."_s;
    constructionLines(m, t, in, stripSection, u"Dг"_s, u"горизонтального заземлителя"_s,
                      u"горизонтального заземлителя"_s);
    data(u"Длина горизонтального заземлителя"_s, u"Lг"_s, lg,
         inRow ? u"Длина горизонтального заземлителя: Lг = (Nв - 1) * S = ("_s + n + u" - 1) * "_s + s +
                     u" = "_s + lg + u" м."_s
               : u"Длина горизонтального заземлителя: Lг = Nв * S = "_s + n + u" * "_s + s + u" = "_s + lg +
                     u" м."_s);
    data(u"Коэффициент использования горизонтального заземлителя"_s, u"Kиг"_s, kig,
         u"Коэффициент использования горизонтального заземлителя: Kиг = "_s + kig + u'.');
    const QString dg = diameterText(in, stripSection);
    m << u"Сопротивление только горизонтального заземлителя:"_s << u"rг = pг/2/П/Lг*Ln(Lг**2/Dг/To);"_s;
    data(u"Сопротивление только горизонтального заземлителя"_s, u"rг"_s, rg1,
         u"rг = "_s + in.text(surface + u"EditRo"_s) + u"/2/3,14/"_s + lg + u"*Ln("_s + lg + u"**2/"_s + dg +
             u'/' + to + u") = "_s + rg1 + u" Ом."_s);
    m << u"Сопротивление горизонтального заземлителя с учетом влияния вертикальных стержней:"_s
      << u"Rг = rг / Kиг;"_s;
    data(u"Сопротивление горизонтального заземлителя с учетом влияния вертикальных стержней"_s, u"Rг"_s, rg,
         u"Rг = "_s + rg1 + u" / "_s + kig + u" = "_s + rg + u" Ом."_s);
    m << QString() << u"Общее сопротивление сложного заземлителя:"_s << u"Rо = Rв*Rг/(Rв +Rг);"_s;
    data(u"Общее сопротивление сложного заземлителя"_s, u"Rо"_s, r,
         u"Rо = "_s + rv + u'*' + rg + u"/("_s + rv + u'+' + rg + u") = "_s + r + u" Ом."_s);
    if (in.installation.include)
        AddVerdictLine(in.installation, u"сложный заземлитель"_s, u"Rо"_s, m, parseNumber(r).value_or(0));
    return m;
}

namespace {
// A formula text with the index letters lowered.
void formulaRuns(ReportBuilder& w, const QString& text) {
    static const QString lowered = u"вгз"_s;
    QString run;
    for (const QChar c : text) {
        if (lowered.contains(c)) {
            if (!run.isEmpty())
                w.WordText(run);
            run.clear();
            w.WordSubscript(QString(c));
        } else {
            run += c;
        }
    }
    if (!run.isEmpty())
        w.WordText(run);
}

QString constructionWording(const ReportSource& s, const QString& section, const QString& sub) {
    const QString sech = s.text(section + u"cmbSech"_s);
    const QString size = s.text(section + u"cmbDiam"_s);
    const int c = constructionOf(sech);
    if (c == SquareSteel)
        return sech + u" со стороной "_s + size + u" м, что соответствует диаметру D"_s + sub + u" = "_s +
               size;
    if (c == AngleSteel || c == StripSteel) {
        const SectionDiameters d = sectionDiameters(c, size);
        return sech + u' ' + size +
               (c == AngleSteel ? u" м с шириной полки В = "_s : u" м с шириной полосы В = "_s) + d.size +
               u" м, что соответствует диаметру D"_s + sub +
               (c == AngleSteel ? u" = 0,95*B = "_s : u" = 0,5*B = "_s) + d.equivalent;
    }
    return sech + u" диаметром D"_s + sub + u" = "_s + size;
}

void soilLayer(ReportBuilder& w, const ReportSource& s, const QString& frame, const QString& sub,
               const QString& end) {
    const QString p0 = s.text(frame + u"EditRo0"_s);
    const QString kp = s.text(frame + u"EditPKV"_s);
    w.WordText(s.text(frame + u"ComboGrunt"_s) + u"; удельное сопротивление "_s);
    w.WordSymbol(u"r"_s);
    w.WordSubscript(sub);
    if (kp == u"1"_s) {
        w.WordText(u" = "_s + p0 + u" Ом м"_s + end);
        return;
    }
    w.WordText(u" = "_s + p0 + u" Ом м; поправочный коэффициент "_s + kp +
               u"; с учетом поправочного коэффициента "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(sub + u" = "_s + p0 + u'*' + kp + u" = "_s + s.text(frame + u"EditRo"_s) + u" Ом м"_s + end);
}
// A line whose index letters follow an underscore ("L_в"): each such letter is a subscript run.
void withIndices(ReportBuilder& w, const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 1 < text.size()) {
            w.WordText(plain);
            plain.clear();
            w.WordSubscript(text[++i]);
        } else {
            plain += text[i];
        }
    }
    w.WordText(plain);
}
} // namespace

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString to = s.text(depthInput), l = s.text(lengthInput), tv = s.text(middleField);
    const QString n = s.text(countInput), sp = s.text(spacingInput), lg = s.text(u"EditDlinaG"_s);
    const QString rv1 = s.text(u"EditRV1"_s), kiv = s.text(u"EditKIV"_s), rv = s.text(u"EditRV"_s);
    const QString rg1 = s.text(u"EditRG1"_s), kig = s.text(u"EditKIG"_s), rg = s.text(u"EditRG"_s);
    const QString r = s.text(u"EditR"_s);
    const bool inRow = s.text(placementInput) == row;
    const auto centred = [&](const QString& symbolic, const QString& substituted) {
        w.setAlignment(A::Center);
        formulaRuns(w, symbolic);
        w.WordText(reportCr);
        w.WordText(substituted + reportCr);
        w.setAlignment(A::Left);
    };

    w.WordTitle(u"Заземляющее устройство."_s + reportCr + reportCr);
    w.progress();
    if (s.picture) {
        w.WordText(u"Параметры вертикального стержня:"_s + reportCr);
        w.WordPicture(u"StandVert.bmp"_s);
        w.WordText(u"Параметры горизонтального заземлителя:"_s + reportCr);
        w.WordPicture(u"StandGor.bmp"_s);
    }
    w.progress();
    if (s.installation.include)
        w.WordInstallationParagraph(s.installation);
    w.progress();
    w.WordText(u"Грунт в месте расположения заземляющего устройства:"_s + reportCr +
               u"- поверхностные слои: "_s);
    soilLayer(w, s, surface, u"г"_s, u";"_s);
    w.WordText(reportCr + u"- глубинные слои: "_s);
    soilLayer(w, s, deep, u"в"_s, u"."_s);
    w.WordText(reportCr);
    w.progress();
    w.WordText(u"Вертикальный стержень - "_s + constructionWording(s, rodSection, u"в"_s) +
               u" м; горизонтальный заземлитель - "_s + constructionWording(s, stripSection, u"г"_s) +
               u" м."_s + reportCr);
    w.progress();
    withIndices(w, u"Длина вертикального стержня: L_в = "_s + l + u" м."_s + reportCr);
    withIndices(w, u"Глубина заложения заземляющего устройства: Т_о = "_s + to + u" м."_s + reportCr);
    withIndices(w, u"Глубина заложения вертикального стержня: Т_в = Т_о + L_в / 2 = "_s + to + u'+' + l +
                       u" / 2 = "_s + tv + u" м."_s + reportCr);
    w.progress();
    w.WordText(u"Сопротивление одного вертикального стержня:"_s + reportCr);
    const QString dv = diameterText(s.text(rodSection + u"cmbSech"_s), s.text(rodSection + u"cmbDiam"_s));
    centred(u"rв = pв/2/П/Lв * [Ln(2*Lв/Dв)+1/2*Ln((4*Тв+Lв)/(4*Тв-Lв))];"_s,
            u"rв = "_s + s.text(deep + u"EditRo"_s) + u"/2/3,14/"_s + l + u" * [Ln(2*"_s + l + u'/' + dv +
                u")+1/2*Ln((4*"_s + tv + u'+' + l + u")/(4*"_s + tv + u'-' + l + u"))] = "_s + rv1 +
                u" Ом."_s);
    w.progress();
    withIndices(w, u"Количество вертикальных заземлителей: N_в= "_s + n + u". Они располагаются "_s +
                       (inRow ? u"в ряд."_s : u"в замкнутом контуре."_s) +
                       u" При этом коэффициент их использования: "_s);
    w.WordSymbol(u"h"_s);
    w.WordText(u" = "_s + kiv + u'.' + reportCr);
    w.WordText(u"Общее сопротивление вертикальных стержней:"_s + reportCr);
    centred(u"Rв = rв / Nв / h;"_s,
            u"Rв = "_s + rv1 + u" / "_s + n + u" / "_s + kiv + u" = "_s + rv + u" Ом."_s);
    w.progress();
    w.WordText(u"Расстояние между стержнями: s = "_s + sp + u" м."_s + reportCr);
    withIndices(w,
                (inRow ? u"Длина горизонтального заземлителя: L_г = (N_в - 1) * s = ("_s + n + u" - 1) * "_s
                       : u"Длина горизонтального заземлителя: L_г = N_в * s = "_s + n + u" * "_s) +
                    sp + u" = "_s + lg + u" м."_s + reportCr);
    w.WordText(u"Коэффициент использования горизонтального заземлителя: "_s);
    w.WordSymbol(u"h"_s);
    w.WordText(u" = "_s + kig + u'.' + reportCr);
    w.progress();
    w.WordText(u"Сопротивление только горизонтального заземлителя:"_s + reportCr);
    const QString dg = diameterText(s.text(stripSection + u"cmbSech"_s), s.text(stripSection + u"cmbDiam"_s));
    centred(u"rг = pг/2/П/Lг*Ln(Lг**2/Dг/То);"_s, u"rг = "_s + s.text(surface + u"EditRo"_s) + u"/2/3,14/"_s +
                                                      lg + u"*Ln("_s + lg + u"**2/"_s + dg + u'/' + to +
                                                      u") = "_s + rg1 + u" Ом."_s);
    w.progress();
    w.WordText(u"Сопротивление горизонтального заземлителя с учетом влияния вертикальных стержней:"_s +
               reportCr);
    centred(u"Rг = rг / hг ;"_s, u"Rг = "_s + rg1 + u" / "_s + kig + u" = "_s + rg + u" Ом."_s);
    w.progress();
    w.WordText(u"Общее сопротивление устройства заземления:"_s + reportCr);
    centred(u"Rз = Rв*Rг/(Rв +Rг);"_s,
            u"Rз = "_s + rv + u'*' + rg + u"/("_s + rv + u'+' + rg + u") = "_s + r + u" Ом."_s);
    w.progress();
    if (s.installation.include)
        w.WordVerdict(s.installation, u"сложный заземлитель"_s, parseNumber(r).value_or(0));
    w.progress();
}

} // namespace kz::standarddevice
