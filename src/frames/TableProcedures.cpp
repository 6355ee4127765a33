#include "TableProcedures.h"

#include "Messenger.h"
#include "Paths.h"
#include "data/DataTable.h"

namespace kz {

bool OpenDataTable(DataTable& table, Messenger& messenger) {
    table.setReporter(nullptr);
    const bool ok = table.open(dataDir());
    if (!ok)
        messenger.showMessage(table.lastError().message);
    table.setReporter(&messenger);
    return ok;
}

void CloseDataTable(DataTable& table) {
    if (table.isOpen())
        table.close();
}

namespace {
void fillFromField(QStringList& list, DataTable& table, const QString& field) {
    list.clear();
    if (!table.isOpen())
        return;
    const int keep = table.recNo();
    for (table.first(); !table.eof(); table.next())
        list << table.asString(field);
    if (keep >= 0)
        table.moveTo(keep);
}
} // namespace

void FillRaionList(QStringList& list, DataTable& raion) {
    fillFromField(list, raion, QStringLiteral("Raion"));
}

void FillGruntList(QStringList& list, DataTable& soils) {
    fillFromField(list, soils, QStringLiteral("Grunt"));
}

} // namespace kz
