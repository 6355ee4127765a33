#include "store/KorGrRules.h"

#include "core/rules/SectionRules.h"
#include "store/DataModule.h"
#include "store/DataTable.h"

using namespace Qt::StringLiterals;

namespace kz {

void locateCorrosionRows(DataModule& data, double p, const QString& kind, int mode,
                         const QString& construction, const QString& size) {
    DataTable* classes = data.table(u"korgrunt0.db"_s);
    DataTable* kinds = data.table(u"korgrunt1.DB"_s);
    DataTable* statuses = data.table(u"korgrunt2.DB"_s);
    DataTable* constructs = data.table(u"korgrunt3.DB"_s);
    DataTable* sizes = data.table(u"korgrunt4.DB"_s);
    if (!classes || !classes->isOpen())
        return;
    bool found = false;
    for (classes->first(); !classes->eof(); classes->next()) {
        if (classes->asFloat(u"Pmin"_s) < p && classes->asFloat(u"Pmax"_s) >= p) {
            found = true;
            break;
        }
    }
    if (!found || !kinds || !kinds->locate(u"Vid"_s, kind))
        return;
    if (!statuses || !statuses->locate(u"Status"_s, corrosionStatus(mode)))
        return;
    if (!constructs || !constructs->locate(u"Construct"_s, construction))
        return;
    if (sizes)
        sizes->locate(u"Razmer"_s, size);
}

QStringList corrosionKindItems() {
    return {u"вертикальный"_s, u"горизонтальный"_s};
}

QStringList corrosionStatusItems() {
    return {u"рекомендуется"_s, u"допускается"_s};
}

QStringList corrosionConstructionItems() {
    return {u"сталь круглая"_s, u"сталь трубчатая"_s, u"сталь угловая"_s, u"сталь квадратная"_s,
            u"сталь полосовая"_s};
}

QString sizeFormatText(const QString& construction) {
    switch (constructionOf(construction)) {
    case AngleSteel:
        return u"\"ширина полки\" х \"ширина полки\" х \"толщина полки\", м"_s;
    case SquareSteel:
        return u"\"сторона квадрата\", м"_s;
    case RoundSteel:
    case TubularSteel:
        return u"\"внешний диаметр\", м"_s;
    case StripSteel:
        return u"\"ширина полосы\" х \"толщина полосы\", м"_s;
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
    return {u"ряд"_s, u"контур"_s};
}

QStringList kiRatioItems() {
    return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
}

QStringList kiCountItems(const QString& placement) {
    if (placement == u"ряд"_s)
        return {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("6"), QStringLiteral("10"),
                QStringLiteral("20")};
    return {QStringLiteral("4"),  QStringLiteral("6"),  QStringLiteral("10"), QStringLiteral("20"),
            QStringLiteral("40"), QStringLiteral("60"), QStringLiteral("100")};
}

} // namespace kz
