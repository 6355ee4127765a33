#include "store/HistoryStore.h"

#include "store/DataTable.h"
#include "core/common/Messenger.h"
#include "core/common/NumberText.h"

using namespace Qt::StringLiterals;

namespace kz {

namespace {
const QString kindField = QStringLiteral("KodTip");
const QString nameField = QStringLiteral("Name");
} // namespace

bool openHistoryOfKind(DataTable& table, const QString& dataDir, int kindCode) {
    table.close();
    table.setFiltered(false);
    // A calculator's own history table holds its sets only.
    if (!table.def().field(kindField))
        return table.open(dataDir);
    table.setFilter(QStringLiteral("[KodTip]='%1'").arg(kindCode));
    table.setFiltered(true);
    return table.open(dataDir);
}

QString historyInputName(const HistoryLayout& layout, const FieldDef& field) {
    for (const HistoryCaption& c : layout.captions)
        if (c.field == field.name) {
            QString caption = c.caption.trimmed();
            if (caption.endsWith(QLatin1Char(':')))
                caption.chop(1);
            return caption;
        }
    return field.title();
}

std::optional<QString> unstorableValue(const TableDef& def, const HistoryLayout& layout,
                                       const QMap<QString, QString>& fieldTexts) {
    for (auto it = fieldTexts.cbegin(); it != fieldTexts.cend(); ++it) {
        const FieldDef* f = def.field(it.key());
        if (!f || f->type != FieldType::Float)
            continue;
        const auto v = parseNumber(it.value());
        if (!v || survivesStorage(*v))
            continue;
        return u"Набор параметров не сохранен: значение \""_s + echoedText(it.value()) + u"\" параметра \""_s +
               historyInputName(layout, *f) +
               u"\" не может быть сохранено в таблице и загружено обратно (число слишком велико или слишком "
               u"мало)."_s;
    }
    return std::nullopt;
}

bool saveHistoryRecord(DataTable& table, const QString& dataDir, const HistoryLayout& layout,
                       const QString& name, const QMap<QString, QString>& fieldTexts) {
    // Only what can be loaded back is kept: a value the table turns into infinity or 0 is refused
    // before anything is written.
    if (const auto refused = unstorableValue(table.def(), layout, fieldTexts)) {
        if (table.reporter())
            table.reporter()->showMessage(*refused);
        return false;
    }
    if (!openHistoryOfKind(table, dataDir, layout.kindCode))
        return false;
    const FieldDef* nameDef = table.def().field(nameField);
    const QString stored = historyStoredName(name, nameDef ? nameDef->size : 0);

    const bool hasKind = table.def().field(kindField) != nullptr;
    QList<HistoryRowKey> keys;
    for (table.first(); !table.eof(); table.next())
        keys.append({hasKind ? table.asInteger(kindField) : layout.kindCode, table.asString(nameField)});
    const int row = findHistoryRow(keys, layout.kindCode, stored);

    bool ok = row >= 0 ? table.moveTo(row) && table.edit() : table.append();
    if (ok) {
        if (hasKind)
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
