#pragma once

#include "HistoryMapping.h"

#include <QMap>
#include <QString>

// Named parameter sets in hist1.db, one calculator kind told from another by KodTip.
namespace kz {

class DataTable;

// Reopens the table showing only the rows of one kind.
bool openHistoryOfKind(DataTable& table, const QString& dataDir, int kindCode);

// Writes a set under a name: the row of this kind with the same name (any letter case) is
// overwritten, otherwise a row is appended. Fields the layout does not write keep their contents.
// The table is closed afterwards and keeps showing this kind. False when the store refused.
bool saveHistoryRecord(DataTable& table, const QString& dataDir, const HistoryLayout& layout,
                       const QString& name, const QMap<QString, QString>& fieldTexts);

// The current row's fields as the inputs take them: numbers in the general format with the
// decimal comma, empty fields as empty texts.
QMap<QString, QString> currentHistoryTexts(const DataTable& table, const HistoryLayout& layout);

} // namespace kz
