#pragma once

#include <QString>
#include <QStringList>

namespace kz {

class DataTable;

// Pick lists of the corrosion dictionary's levels 1 to 3 (electrode kind, status, construction).
QStringList corrosionKindItems();
QStringList corrosionStatusItems();
QStringList corrosionConstructionItems();

// What the size picker says a construction's size texts are made of.
QString sizeFormatText(const QString& construction);

// Replaces the sizes of the current construction (the rows korgrunt4.DB shows) by the chosen
// texts, in their order; an empty list only deletes. Stops at the first refused write, which the
// table's rules have reported.
bool ReplaceConstructionSizes(DataTable& sizes, const QStringList& chosen);

// Utilisation-coefficient tables: placements, ratios, and the counts offered for a placement.
QStringList kiPlacementItems();
QStringList kiRatioItems();
QStringList kiCountItems(const QString& placement);

} // namespace kz
