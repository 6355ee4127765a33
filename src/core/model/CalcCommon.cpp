#include "core/model/CalcCommon.h"

#include "core/model/CalculatorDescriptor.h"

#include "core/common/NumberText.h"

#include <cfloat>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

long double roundResistance(long double r) {
    // Sea water under a large device gives true results below a hundredth of an ohm: they keep two
    // significant digits instead of rounding to 0, which would read as a failed calculation.
    if (r > 0 && r < 0.01L && std::isfinite(r))
        return roundTo(r, 1 - int(std::floor(std::log10(r))));
    return roundTo(r, 2);
}

bool isShowableResult(long double r) {
    return std::isfinite(r) && std::fabs(r) <= DBL_MAX;
}

std::optional<QString> soilRangeError(long double p0, double pMin, double pMax) {
    // The value as the user sees it: "0,2" read in extended precision lies a hair below the
    // double bound 0,2 it shows as.
    const double shown = double(p0);
    if (shown >= pMin && shown <= pMax)
        return std::nullopt;
    return soilRangeMessage(pMin, pMax);
}

QString resultOutOfRangeMessage() {
    return u"Ошибка. Результат расчета выходит за пределы представимых чисел. Проверьте исходные данные."_s;
}

std::optional<QString> stubbyElectrodeError(long double l, long double d, const QString& electrode) {
    if (d > 0 && l > 0 && std::log(2 * l / d) > 1)
        return std::nullopt;
    return u"Ошибка. Длина "_s + electrode +
           u" должна превышать его диаметр более чем в 1,36 раза (ln(2L/D) > 1): при меньшей длине формула "
           u"неприменима."_s;
}

bool isUsable(long double rPermissible, long double r) {
    return rPermissible >= r;
}

GeometryInput shownValue(const QString& name, const QString& label, const QString& designText) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.defaultText = designText;
    g.readOnly = true;
    g.clearedWithResult = true;
    return g;
}
namespace {
// One frame of one soil or two-layer earth and one construction frame, as every calculator had
// them before frames were declared: their history fields follow the hist1.db layout.
void declareDefaultFrames(CalculatorDescriptor& d) {
    if (d.soilFrame && d.soilFrames.isEmpty()) {
        SoilFrameSetup upper;
        upper.name = u"pFrame"_s;
        upper.installation = true;
        upper.soilField = u"Grunt"_s;
        upper.measuredField = u"P"_s;
        upper.coefficientField = u"KP"_s;
        d.soilFrames << upper;
        if (d.twoLayerSoil) {
            d.soilFrames[0].tab = u"Верхний слой"_s;
            d.soilFrames[0].resistivityLabel = u"р1 - расчетное удельное сопротивление грунта (воды), Ом м:"_s;
            // The history record has no fields of its own for the lower layer: it takes the
            // construction's, and the construction moves to Construct1.
            SoilFrameSetup lower;
            lower.name = u"pFrame1"_s;
            lower.prefix = u"pFrame1."_s;
            lower.tab = u"Нижний слой"_s;
            lower.resistivityLabel = u"р2 - расчетное удельное сопротивление грунта (воды), Ом м:"_s;
            lower.soilField = u"Construct"_s;
            lower.measuredField = u"D1"_s;
            lower.coefficientField = u"T"_s;
            d.soilFrames << lower;
        }
    }
    if (d.construction && d.constructionFrames.isEmpty()) {
        ConstructionFrameSetup c;
        c.name = u"frmSech1"_s;
        c.setup = *d.construction;
        c.soil = d.soilFrames.isEmpty() ? QString() : d.soilFrames.first().name;
        c.modeField = u"N"_s;
        c.constructionField = d.twoLayerSoil ? u"Construct1"_s : u"Construct"_s;
        c.sizeField = u"Razmer"_s;
        d.constructionFrames << c;
    }
}
} // namespace

CalculatorDescriptor completeDescriptor(CalculatorDescriptor d) {
    declareDefaultFrames(d);
    if (d.history.kindCode == 0)
        d.history.kindCode = d.kindCode;
    if (d.selection.kindCode == 0)
        d.selection.kindCode = d.kindCode;
    struct Kept {
        QString input;
        QString field;
        bool required;
        bool copied;
    };
    QList<Kept> kept;
    auto keepSoil = [&](const SoilFrameSetup& f) {
        kept << Kept{f.prefix + u"ComboGrunt"_s, f.soilField, true, true}
             << Kept{f.prefix + u"EditRo0"_s, f.measuredField, true, true}
             << Kept{f.prefix + u"EditPKV"_s, f.coefficientField, true, true};
    };
    auto keepSection = [&](const ConstructionFrameSetup& c) {
        kept << Kept{sizeSetModeOf(c), c.modeField, false, true}
             << Kept{c.prefix + u"cmbSech"_s, c.constructionField, true, true}
             << Kept{c.prefix + u"cmbDiam"_s, c.sizeField, true, true};
    };
    QList<HistoryField> rowValues;
    auto keepGeometry = [&](int page) {
        for (const GeometryInput& g : std::as_const(d.geometry)) {
            if (g.readOnly || g.page != page)
                continue;
            if (!g.isRowChoice()) {
                kept << Kept{g.name, g.historyField, g.required, g.copied};
                continue;
            }
            // A chosen row is kept by its code; its key and values are written for the loader's list.
            const RowChoice& r = *g.rowChoice;
            kept << Kept{rowCodeInput(g), g.historyField, g.required, g.copied};
            if (!r.keyHistoryField.isEmpty())
                rowValues << HistoryField{r.keyHistoryField, g.name, false};
            for (const auto& [name, field] : r.historyValues)
                rowValues << HistoryField{field, g.name + u'.' + name, false};
        }
    };
    if (d.soilFrame) {
        // Frames on pages of their own: each page's soil, construction and inputs in turn.
        for (int i = 0; i < d.soilFrames.size(); ++i) {
            keepSoil(d.soilFrames[i]);
            for (const ConstructionFrameSetup& c : std::as_const(d.constructionFrames))
                if (c.page == i)
                    keepSection(c);
            keepGeometry(i);
        }
    }
    for (const ConstructionFrameSetup& c : std::as_const(d.constructionFrames))
        if (c.page < 0)
            keepSection(c);
    keepGeometry(-1);
    d.requiredInputs.clear();
    d.inputOrder.clear();
    d.copyInputs.clear();
    d.history.fields.clear();
    for (const Kept& k : std::as_const(kept)) {
        d.inputOrder << k.input;
        if (k.required)
            d.requiredInputs << k.input;
        if (k.copied)
            d.copyInputs << k.input;
        if (!k.field.isEmpty())
            d.history.fields << HistoryField{k.field, k.input};
    }
    d.history.fields << rowValues;
    if (!d.history.isEmpty())
        d.history.fields << HistoryField{u"R"_s, d.resultName, false};
    return d;
}

QString rowCodeInput(const GeometryInput& g) {
    return g.name + u'.' + (g.rowChoice ? g.rowChoice->codeField : u"Kod"_s);
}

QList<InputCheck> soilAndConstructionChecks(InputCheck::Kind measuredResistivity) {
    using K = InputCheck::Kind;
    return {
        {K::Positive, QStringLiteral("EditPKV"), u"коэффициента поправки"_s},
        {K::Filled, QStringLiteral("ComboGrunt"), u"типа грунта"_s},
        {measuredResistivity, QStringLiteral("EditRo0"), u"удельного сопротивления грунта"_s},
        {K::Filled, QStringLiteral("cmbSech"), u"конструкции заземлителя"_s},
        {K::Filled, QStringLiteral("cmbDiam"), u"размеров заземлителя"_s},
        {K::Positive, QStringLiteral("EditDiam0"), u"диаметра заземлителя"_s},
    };
}

QList<HistoryCaption> soilAndConstructionCaptions() {
    return {{u"Тип грунта:"_s, QStringLiteral("Grunt")},
            {u"Удельное сопротивление грунта, Ом м:"_s, QStringLiteral("P")},
            {u"Коэффициент поправки:"_s, QStringLiteral("KP")},
            {u"Конструкция заземлителя:"_s, QStringLiteral("Construct")},
            {u"Размер стержня, м:"_s, QStringLiteral("Razmer")}};
}

SelectionParameter soilResistivitySelection() {
    SelectionParameter s;
    s.name = u"Удельное сопротивление грунта, Ом м"_s;
    s.input = QStringLiteral("EditRo0");
    s.step = QStringLiteral("1");
    s.recommendation = u"начальное значение больше конечного"_s;
    s.soilRange = true;
    s.settingsTable = 1;
    s.heading = u"p, Ом м"_s;
    s.note = u"p, Ом м - удельное сопротивление грунта, Ом м"_s;
    return s;
}

SelectionParameter correctionSelection() {
    SelectionParameter s;
    s.name = u"Коэффициент поправки"_s;
    s.input = QStringLiteral("EditPKV");
    s.start = QStringLiteral("2");
    s.end = QStringLiteral("1");
    s.step = QStringLiteral("0,1");
    s.lower = QStringLiteral("1");
    s.upper = QStringLiteral("10");
    s.recommendation = u"начальное значение больше конечного"_s;
    s.heading = u"Кп"_s;
    s.note = u"Кп - коэффициент поправки"_s;
    return s;
}

} // namespace kz
