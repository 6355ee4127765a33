#pragma once

#include <QString>
#include <QStringList>

namespace kz {

class DataModule;
class DataTable;

// Pick lists of the corrosion dictionary's levels 1 to 3 (electrode kind, status, construction).
QStringList corrosionKindItems();
QStringList corrosionStatusItems();
QStringList corrosionConstructionItems();

// Positions the corrosion dictionary's tables (korgrunt0..4) where a construction frame stands: the
// soil class of the resistivity p, the electrode's kind, the status of the size mode, the
// construction and the size. A level that has no such row leaves the ones below where they were.
void locateCorrosionRows(DataModule& data, double p, const QString& kind, int mode,
                         const QString& construction, const QString& size);

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
