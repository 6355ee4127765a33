#include "HistoryStore.h"

#include "data/DataTable.h"
#include "frames/NumberText.h"

namespace kz {

namespace {
const QString kindField = QStringLiteral("KodTip");
const QString nameField = QStringLiteral("Name");
} // namespace

bool openHistoryOfKind(DataTable& table, const QString& dataDir, int kindCode) {
    table.close();
    table.setFiltered(false);
    table.setFilter(QStringLiteral("[KodTip]='%1'").arg(kindCode));
    table.setFiltered(true);
    return table.open(dataDir);
}

bool saveHistoryRecord(DataTable& table, const QString& dataDir, const HistoryLayout& layout,
                       const QString& name, const QMap<QString, QString>& fieldTexts) {
    if (!openHistoryOfKind(table, dataDir, layout.kindCode))
        return false;
    const FieldDef* nameDef = table.def().field(nameField);
    const QString stored = historyStoredName(name, nameDef ? nameDef->size : 0);

    QList<HistoryRowKey> keys;
    for (table.first(); !table.eof(); table.next())
        keys.append({table.asInteger(kindField), table.asString(nameField)});
    const int row = findHistoryRow(keys, layout.kindCode, stored);

    bool ok = row >= 0 ? table.moveTo(row) && table.edit() : table.append();
    if (ok) {
        table.setValue(kindField, layout.kindCode);
        table.setValue(nameField, stored);
        for (auto it = fieldTexts.cbegin(); ok && it != fieldTexts.cend(); ++it)
            ok = table.setText(it.key(), it.value());
    }
    ok = ok && table.post();
    if (!ok)
        table.cancel();
    table.close();
    return ok;
}

QMap<QString, QString> currentHistoryTexts(const DataTable& table, const HistoryLayout& layout) {
    QMap<QString, QString> texts;
    for (const HistoryField& f : layout.fields) {
        const FieldDef* def = table.def().field(f.field);
        const QVariant v = table.value(f.field);
        if (!def || v.isNull())
            texts.insert(f.field, QString());
        else if (def->type == FieldType::Float)
            texts.insert(f.field, formatGeneral(v.toDouble()));
        else
            texts.insert(f.field, v.toString());
    }
    return texts;
}

} // namespace kz
