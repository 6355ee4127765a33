#include "SteelRules.h"

#include "frames/NumberText.h"

namespace kz {

QStringList steelMaterialItems() {
    return {QString::fromUtf8("сталь горячекатаная круглая"),
            QString::fromUtf8("сталь горячекатаная квадратная"),
            QString::fromUtf8("сталь горячекатаная полосовая"),
            QString::fromUtf8("сталь угловая равнополочная"),
            QString::fromUtf8("стальные трубы"),
            QString::fromUtf8("трубы для трубопроводов")};
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
    if (construction == QString::fromUtf8("сталь круглая") ||
        construction == QString::fromUtf8("сталь трубчатая") ||
        construction == QString::fromUtf8("трубы для трубопроводов") ||
        construction == QString::fromUtf8("сталь квадратная")) {
        if (construction == QString::fromUtf8("сталь круглая"))
            loc.item = 0;
        else if (construction == QString::fromUtf8("сталь квадратная"))
            loc.item = 1;
        else
            loc.item = construction == QString::fromUtf8("сталь трубчатая") ? 4 : 5;
        loc.fields = {loc.item == 1 ? QStringLiteral("Storona") : QStringLiteral("Diam")};
        if (numberAt(0, a))
            loc.values = {a};
    } else if (construction == QString::fromUtf8("сталь полосовая")) {
        loc.item = 2;
        loc.fields = {QStringLiteral("Shir"), QStringLiteral("Tol")};
        // A width alone (a list of widths) finds the first strip of that width.
        if (numberAt(0, a))
            loc.values = {a};
        if (!loc.values.isEmpty() && numberAt(1, b))
            loc.values << b;
    } else if (construction == QString::fromUtf8("сталь угловая")) {
        loc.item = 3;
        loc.fields = {QStringLiteral("Shir"), QStringLiteral("Tol")};
        if (numberAt(0, a) && numberAt(2, b))
            loc.values = {a, b};
    }
    return loc;
}

} // namespace kz
