#pragma once

#include <QString>

namespace kz {

class DataTable;

// The text of a coefficient field in the raion.db row of a region, as the table shows it
// (empty when the field is empty); "1" when no row has that region. The table does not move.
QString seasonalCoefficientText(const DataTable& raion, const QString& region, const QString& field);

} // namespace kz
