#pragma once

#include "core/model/HistoryMapping.h"

#include <QMap>
#include <QString>
#include <optional>

// Named parameter sets in hist1.db, one calculator kind told from another by KodTip.
namespace kz {

class DataTable;
struct FieldDef;
struct TableDef;

// Reopens the table showing only the rows of one kind.
bool openHistoryOfKind(DataTable& table, const QString& dataDir, int kindCode);

// The input a field comes from as the loader names it ("Длина стержня, м"), else the field's label.
QString historyInputName(const HistoryLayout& layout, const FieldDef& field);
// The refusal for the first field text that would not come back as written (a number the table
// turns into infinity or 0), naming its input; nullopt when every text can be stored.
std::optional<QString> unstorableValue(const TableDef& def, const HistoryLayout& layout,
                                       const QMap<QString, QString>& fieldTexts);

// Writes a set under a name: the row of this kind with the same name (any letter case) is
// overwritten, otherwise a row is appended. Fields the layout does not write keep their contents.
// A value that would not load back is refused with a message naming its input; nothing is written.
// The table is closed afterwards and keeps showing this kind. False when the store refused.
bool saveHistoryRecord(DataTable& table, const QString& dataDir, const HistoryLayout& layout,
                       const QString& name, const QMap<QString, QString>& fieldTexts);

// The current row's fields as the inputs take them: numbers in the general format with the
// decimal comma, empty fields as empty texts.
QMap<QString, QString> currentHistoryTexts(const DataTable& table, const HistoryLayout& layout);

} // namespace kz
