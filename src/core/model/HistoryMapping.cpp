#include "core/model/HistoryMapping.h"

namespace kz {

QMap<QString, QString> HistoryLayout::recordFromInputs(const InputTexts& inputs) const {
    QMap<QString, QString> record;
    for (const HistoryField& f : fields)
        record.insert(f.field, inputs.value(f.input));
    return record;
}

InputTexts HistoryLayout::inputsFromRecord(const QMap<QString, QString>& fieldTexts) const {
    InputTexts inputs;
    for (const HistoryField& f : fields)
        if (f.restore)
            inputs.insert(f.input, fieldTexts.value(f.field));
    return inputs;
}

QStringList HistoryLayout::fieldList() const {
    QStringList list;
    for (const HistoryCaption& c : captions)
        list << c.caption << c.field;
    return list;
}

QString historyPresetName(const QString& caption) {
    QString base = caption;
    if (base.endsWith(QLatin1Char('.')))
        base.chop(1);
    return base + QStringLiteral(" 1.");
}

QString historyStoredName(const QString& name, int fieldSize) {
    return fieldSize > 0 && name.size() > fieldSize ? name.left(fieldSize) : name;
}

bool sameHistoryName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

int findHistoryRow(const QList<HistoryRowKey>& rows, int kindCode, const QString& name) {
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].kindCode == kindCode && sameHistoryName(rows[i].name, name))
            return i;
    return -1;
}

} // namespace kz
