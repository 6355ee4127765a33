#include "store/SelectionRanges.h"

#include "store/SqlQuery.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace kz {

std::optional<StoredSelectionRange> storedSelectionRange(const QString& dataDir, int kindCode, int settingsTable,
                                                         const QString& name, QString* message) {
    SqlQuery q(dataDir);
    const QString table = settingsTable == 1 ? u"sparpod1"_s : settingsTable == 3 ? u"iparpod1"_s : u"rparpod1"_s;
    const QString columns = settingsTable == 1 ? u"d.Shag"_s : u"d.BValue, d.EValue, d.Shag"_s;
    q.setText(QStringList{u"select "_s + columns, u"from parpod0 m, "_s + table + u" d"_s,
                          u"where m.Kod = d.Kod0 and m.KodTip = :Kind and d.Param = :Param"_s});
    q.bindValue(u"Kind"_s, kindCode);
    q.bindValue(u"Param"_s, name);
    if (!q.open()) {
        *message = q.lastError();
        return std::nullopt;
    }
    if (q.eof() || q.value(u"Shag"_s).isNull()) {
        *message = u"Параметр \""_s + name + u"\" в таблице параметров не найден."_s;
        return std::nullopt;
    }
    StoredSelectionRange range;
    range.step = q.value(u"Shag"_s).toDouble();
    if (settingsTable != 1) {
        range.start = q.value(u"BValue"_s).toDouble();
        range.end = q.value(u"EValue"_s).toDouble();
    }
    return range;
}

} // namespace kz
