#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Which steel table and row the materials dialog opens on for a calculator's construction and size.
namespace kz {

// The materials of the dialog, in its order, and their tables.
QStringList steelMaterialItems();
QString steelMaterialTable(int item);

struct SteelLocation {
    int item = -1;        // the material; -1 for an unknown construction
    QStringList fields;   // fields compared
    QList<double> values; // exact numbers to find; empty when the size has none
};

// "сталь круглая" with "0,016" -> item 0, Diam = 0,016; "сталь угловая" with "0,05x0,05x0,005"
// -> item 3, Shir = 0,05 and Tol = 0,005 (the width before the first x, the thickness after
// the second); "сталь полосовая" with "0,04x0,004" -> item 2, Shir and Tol.
SteelLocation steelLocation(const QString& construction, const QString& sizeText);

} // namespace kz
