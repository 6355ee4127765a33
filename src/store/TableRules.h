#pragma once

#include <QString>

namespace kz {

class DataModule;
class DataTable;

// Rules that guard writes to the shared tables. Each returns false to refuse the operation,
// after showing its message through the table's messenger; the store then aborts silently and
// a refused post leaves the record in its edit or insert state.

// True when a field of the current record, other than an auto-increment key, shows empty.
bool HasEmptyField(const DataTable& table);

// raion.db, P_udel.DB, Kivz.DB, KIGZ.DB, truboprov.DB, Z05.db, Z075.db, Z15.db, m.DB; the
// placement, count and ratio ranges only for Kivz.DB and KIGZ.DB.
bool KIVZTableBeforePost(DataTable& table);

bool TableKrugBeforePost(DataTable& table);
bool TableKvadBeforePost(DataTable& table);
bool TablePolosBeforePost(DataTable& table);
bool TableTrubaBeforePost(DataTable& table);
bool TableUglovBeforePost(DataTable& table);

bool KippTableBeforePost(DataTable& table);
bool LuchTableBeforePost(DataTable& table);
bool KIFundTableBeforePost(DataTable& table);
bool SvFundTableBeforePost(DataTable& table);
bool SbFundTableBeforePost(DataTable& table);
bool TableVZ2LandBeforePost(DataTable& table);
bool TableGZ2landBeforePost(DataTable& table);
bool RoIncTableBeforePost(DataTable& table);

// The corrosion chain korgrunt0.db .. korgrunt4.DB.
bool TableKorGrunt1BeforePost(DataTable& table);
bool TableKorGrunt1BeforeInsert(DataTable& table);
bool TableKorGrunt1BeforeEdit(DataTable& table);
bool TableKorGrunt3BeforeEdit(DataTable& table);
bool TableKorGrunt1BeforeDelete(DataTable& table);

// History sets are added only by the calculators' save command, never by hand in a history
// loader: the loader refuses an insert into its table with this message while it is shown.
QString manualHistoryInsertMessage();
// A foundation-field set takes its column coordinates (histmk1.db) with it.
bool TableHistMK0BeforeDelete(DataTable& table);

// Selection settings rows are fixed per calculator: they can be edited only.
bool TableSParPod1BeforeInsert(DataTable& table);
bool TableSParPod1BeforeDelete(DataTable& table);

// Sets every rule above on the tables of the data module that carry it.
void AttachTableRules(DataModule& data);

} // namespace kz
