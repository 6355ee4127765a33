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
    return QString::fromUtf8(
        "Ошибка. Результат расчета выходит за пределы представимых чисел. Проверьте исходные данные.");
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
    for (const GeometryInput& g : std::as_const(d.geometry))
        if (!g.readOnly)
            kept << Kept{g.name, g.historyField, g.required, g.copied};
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
    if (!d.history.isEmpty())
        d.history.fields << HistoryField{u"R"_s, d.resultName, false};
    return d;
}

QList<InputCheck> soilAndConstructionChecks(InputCheck::Kind measuredResistivity) {
    using K = InputCheck::Kind;
    return {
        {K::Positive, QStringLiteral("EditPKV"), QString::fromUtf8("коэффициента поправки")},
        {K::Filled, QStringLiteral("ComboGrunt"), QString::fromUtf8("типа грунта")},
        {measuredResistivity, QStringLiteral("EditRo0"), QString::fromUtf8("удельного сопротивления грунта")},
        {K::Filled, QStringLiteral("cmbSech"), QString::fromUtf8("конструкции заземлителя")},
        {K::Filled, QStringLiteral("cmbDiam"), QString::fromUtf8("размеров заземлителя")},
        {K::Positive, QStringLiteral("EditDiam0"), QString::fromUtf8("диаметра заземлителя")},
    };
}

QList<HistoryCaption> soilAndConstructionCaptions() {
    return {{QString::fromUtf8("Тип грунта:"), QStringLiteral("Grunt")},
            {QString::fromUtf8("Удельное сопротивление грунта, Ом м:"), QStringLiteral("P")},
            {QString::fromUtf8("Коэффициент поправки:"), QStringLiteral("KP")},
            {QString::fromUtf8("Конструкция заземлителя:"), QStringLiteral("Construct")},
            {QString::fromUtf8("Размер стержня, м:"), QStringLiteral("Razmer")}};
}

SelectionParameter soilResistivitySelection() {
    SelectionParameter s;
    s.name = QString::fromUtf8("Удельное сопротивление грунта, Ом м");
    s.input = QStringLiteral("EditRo0");
    s.step = QStringLiteral("1");
    s.recommendation = QString::fromUtf8("начальное значение больше конечного");
    s.soilRange = true;
    s.settingsTable = 1;
    s.heading = QString::fromUtf8("p, Ом м");
    s.note = QString::fromUtf8("p, Ом м - удельное сопротивление грунта, Ом м");
    return s;
}

SelectionParameter correctionSelection() {
    SelectionParameter s;
    s.name = QString::fromUtf8("Коэффициент поправки");
    s.input = QStringLiteral("EditPKV");
    s.start = QStringLiteral("2");
    s.end = QStringLiteral("1");
    s.step = QStringLiteral("0,1");
    s.lower = QStringLiteral("1");
    s.upper = QStringLiteral("10");
    s.recommendation = QString::fromUtf8("начальное значение больше конечного");
    s.heading = QString::fromUtf8("Кп");
    s.note = QString::fromUtf8("Кп - коэффициент поправки");
    return s;
}

} // namespace kz
