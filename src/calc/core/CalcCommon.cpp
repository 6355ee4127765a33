#include "CalcCommon.h"

#include "CalculatorDescriptor.h"

#include "frames/NumberText.h"

#include <cfloat>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

long double roundResistance(long double r) {
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

bool isUsable(long double rPermissible, long double r) {
    return rPermissible >= r;
}

CalculatorDescriptor completeDescriptor(CalculatorDescriptor d) {
    struct Kept {
        QString input;
        QString field;
        bool required;
        bool copied;
    };
    QList<Kept> kept;
    if (d.soilFrame)
        kept << Kept{u"ComboGrunt"_s, u"Grunt"_s, true, true} << Kept{u"EditRo0"_s, u"P"_s, true, true}
             << Kept{u"EditPKV"_s, u"KP"_s, true, true};
    // The history record has no fields of its own for the lower layer: it takes the
    // construction's, and the construction moves to Construct1.
    if (d.soilFrame && d.twoLayerSoil)
        kept << Kept{u"pFrame1.ComboGrunt"_s, u"Construct"_s, true, true}
             << Kept{u"pFrame1.EditRo0"_s, u"D1"_s, true, true} << Kept{u"pFrame1.EditPKV"_s, u"T"_s, true, true};
    if (d.construction)
        kept << Kept{sizeSetModeInput(), u"N"_s, false, true}
             << Kept{u"cmbSech"_s, d.twoLayerSoil ? u"Construct1"_s : u"Construct"_s, true, true}
             << Kept{u"cmbDiam"_s, u"Razmer"_s, true, true};
    QList<HistoryField> rowValues;
    for (const GeometryInput& g : std::as_const(d.geometry)) {
        if (g.readOnly)
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
