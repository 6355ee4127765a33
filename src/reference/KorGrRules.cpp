#include "KorGrRules.h"

#include "data/DataTable.h"
#include "frames/SectionRules.h"

namespace kz {

namespace {
QString u(const char* s) {
    return QString::fromUtf8(s);
}
} // namespace

QStringList corrosionKindItems() {
    return {u("вертикальный"), u("горизонтальный")};
}

QStringList corrosionStatusItems() {
    return {u("рекомендуется"), u("допускается")};
}

QStringList corrosionConstructionItems() {
    return {u("сталь круглая"), u("сталь трубчатая"), u("сталь угловая"), u("сталь квадратная"),
            u("сталь полосовая")};
}

QString sizeFormatText(const QString& construction) {
    switch (constructionOf(construction)) {
    case AngleSteel:
        return u("\"ширина полки\" х \"ширина полки\" х \"толщина полки\", м");
    case SquareSteel:
        return u("\"сторона квадрата\", м");
    case RoundSteel:
    case TubularSteel:
        return u("\"внешний диаметр\", м");
    case StripSteel:
        return u("\"ширина полосы\" х \"толщина полосы\", м");
    default:
        return {};
    }
}

bool ReplaceConstructionSizes(DataTable& sizes, const QStringList& chosen) {
    if (!sizes.isOpen())
        return false;
    sizes.cancel();
    // Asked before anything is deleted: a refused append must not leave the construction bare.
    if (!chosen.isEmpty() && sizes.beforeInsert && !sizes.beforeInsert(sizes))
        return false;
    while (!sizes.isEmpty()) {
        sizes.first();
        if (!sizes.remove())
            return false;
    }
    for (const QString& size : chosen) {
        if (!sizes.append())
            return false;
        sizes.setText(QStringLiteral("Razmer"), size);
        if (!sizes.post()) {
            sizes.cancel();
            return false;
        }
    }
    return true;
}

QStringList kiPlacementItems() {
    return {u("ряд"), u("контур")};
}

QStringList kiRatioItems() {
    return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
}

QStringList kiCountItems(const QString& placement) {
    if (placement == u("ряд"))
        return {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("6"), QStringLiteral("10"),
                QStringLiteral("20")};
    return {QStringLiteral("4"),  QStringLiteral("6"),  QStringLiteral("10"), QStringLiteral("20"),
            QStringLiteral("40"), QStringLiteral("60"), QStringLiteral("100")};
}

} // namespace kz
