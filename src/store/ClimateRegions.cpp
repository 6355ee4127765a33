#include "store/ClimateRegions.h"

#include "store/DataTable.h"

namespace kz {

QString seasonalCoefficientText(const DataTable& raion, const QString& region, const QString& field) {
    const int regionField = raion.def().fieldIndex(QStringLiteral("Raion"));
    const int valueField = raion.def().fieldIndex(field);
    if (!raion.isOpen() || regionField < 0 || valueField < 0 || region.isEmpty())
        return QStringLiteral("1");
    for (int row = 0; row < raion.recordCount(); ++row)
        if (raion.valueAt(row, regionField).toString() == region)
            return DataTable::displayText(raion.def().fields[valueField], raion.valueAt(row, valueField));
    return QStringLiteral("1");
}

} // namespace kz
