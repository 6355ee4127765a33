#include "core/rules/SteelRules.h"

#include "core/common/NumberText.h"

using namespace Qt::StringLiterals;

namespace kz {

QStringList steelMaterialItems() {
    return {u"сталь горячекатаная круглая"_s,
            u"сталь горячекатаная квадратная"_s,
            u"сталь горячекатаная полосовая"_s,
            u"сталь угловая равнополочная"_s,
            u"стальные трубы"_s,
            u"трубы для трубопроводов"_s};
}

QString steelMaterialTable(int item) {
    static const char* const files[] = {"st_krug.db",  "st_kvad.db",  "st_polos.db",
                                        "st_uglov.db", "st_truba.db", "truboprov.DB"};
    return item >= 0 && item < 6 ? QLatin1String(files[item]) : QString();
}

SteelLocation steelLocation(const QString& construction, const QString& sizeText) {
    SteelLocation loc;
    const QStringList parts = sizeText.split(QLatin1Char('x'));
    auto numberAt = [&](int i, double& v) {
        const auto n = parseNumber(parts.value(i).trimmed());
        if (n)
            v = double(*n);
        return bool(n);
    };
    double a = 0;
    double b = 0;
    if (construction == u"сталь круглая"_s ||
        construction == u"сталь трубчатая"_s ||
        construction == u"трубы для трубопроводов"_s ||
        construction == u"сталь квадратная"_s) {
        if (construction == u"сталь круглая"_s)
            loc.item = 0;
        else if (construction == u"сталь квадратная"_s)
            loc.item = 1;
        else
            loc.item = construction == u"сталь трубчатая"_s ? 4 : 5;
        loc.fields = {loc.item == 1 ? QStringLiteral("Storona") : QStringLiteral("Diam")};
        if (numberAt(0, a))
            loc.values = {a};
    } else if (construction == u"сталь полосовая"_s) {
        loc.item = 2;
        loc.fields = {QStringLiteral("Shir"), QStringLiteral("Tol")};
        // A width alone (a list of widths) finds the first strip of that width.
        if (numberAt(0, a))
            loc.values = {a};
        if (!loc.values.isEmpty() && numberAt(1, b))
            loc.values << b;
    } else if (construction == u"сталь угловая"_s) {
        loc.item = 3;
        loc.fields = {QStringLiteral("Shir"), QStringLiteral("Tol")};
        if (numberAt(0, a) && numberAt(2, b))
            loc.values = {a, b};
    }
    return loc;
}

} // namespace kz
