#pragma once

#include <QStringList>

namespace kz {

class DataTable;
class Messenger;

// Opens a table from the data folder; a missing or unusable file is reported and the table
// stays closed, so the program goes on without it.
bool OpenDataTable(DataTable& table, Messenger& messenger);
void CloseDataTable(DataTable& table);

// Climate region names of raion.db, in the table's current order.
void FillRaionList(QStringList& list, DataTable& raion);
// Soil names of P_udel.DB, in table order, so that list positions equal row positions.
void FillGruntList(QStringList& list, DataTable& soils);
// Size texts of every row of a construction's steel table, in table order, written as the
// construction frame writes them.
void FillSizeList(QStringList& list, DataTable& steel, int construction);

} // namespace kz
