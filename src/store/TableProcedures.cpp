#include "store/TableProcedures.h"

#include "core/common/Messenger.h"
#include "core/common/Paths.h"
#include "core/rules/SectionRules.h"
#include "store/DataTable.h"

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

void FillSizeList(QStringList& list, DataTable& steel, int construction) {
    list.clear();
    if (!steel.isOpen())
        return;
    const int keep = steel.recNo();
    for (steel.first(); !steel.eof(); steel.next()) {
        switch (construction) {
        case RoundSteel:
        case TubularSteel:
            list << roundSizeText(steel.text(QStringLiteral("Diam")));
            break;
        case SquareSteel:
            list << roundSizeText(steel.text(QStringLiteral("Storona")));
            break;
        case AngleSteel:
            list << angleSizeText(steel.text(QStringLiteral("Shir")), steel.text(QStringLiteral("Tol")));
            break;
        case StripSteel:
            list << stripSizeText(steel.text(QStringLiteral("Shir")), steel.text(QStringLiteral("Tol")));
            break;
        }
    }
    if (keep >= 0)
        steel.moveTo(keep);
}

} // namespace kz
