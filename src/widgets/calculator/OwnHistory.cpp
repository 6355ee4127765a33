#include "widgets/calculator/OwnHistory.h"

#include "core/calculators/structures/AnchorBoltField.h"
#include "core/common/Paths.h"
#include "core/model/RowGridText.h"
#include "store/BoltFieldHistoryStore.h"
#include "store/DataModule.h"
#include "store/DataTable.h"
#include "store/HistoryStore.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "widgets/common/DialogService.h"

#include <QMap>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

// Shows the loader over its opened table; the chosen set's fields as the inputs take them.
std::optional<InputTexts> chooseSet(DataModule& data, const HistoryLoaderSetup& setup,
                                    const HistoryLayout& layout, QWidget* owner) {
    HistoryLoadDialog& loader = sharedHistoryLoader(data, setup, owner);
    loader.setFieldList(layout.fieldList());
    if (dialogs().execModal(&loader) != QDialog::Accepted)
        return std::nullopt;
    DataTable& table = loader.table();
    if (table.isEditing() && !table.post())
        table.cancel();
    if (!table.isOpen() || table.isEmpty())
        return std::nullopt;
    return layout.inputsFromRecord(currentHistoryTexts(table, layout));
}

// The set of this kind whose name is the same in any letter case, read from the table as it
// stands: a table left open for the loader stays open.
std::optional<QString> sameNamedSet(DataTable& table, const HistoryLayout& layout, const QString& name) {
    const bool wasOpen = table.isOpen();
    if (!openHistoryOfKind(table, dataDir(), layout.kindCode))
        return std::nullopt;
    const FieldDef* nameDef = table.def().field(u"Name"_s);
    const QString stored = historyStoredName(name, nameDef ? nameDef->size : 0);
    const bool hasKind = table.def().field(u"KodTip"_s) != nullptr;
    std::optional<QString> found;
    for (table.first(); !table.eof() && !found; table.next())
        if ((!hasKind || table.asInteger(u"KodTip"_s) == layout.kindCode) &&
            sameHistoryName(table.asString(u"Name"_s), stored))
            found = table.asString(u"Name"_s);
    if (!wasOpen)
        table.close();
    return found;
}

// Sets in one table: hist1.db shows the calculator's kind only, a table of its own all its rows.
OwnHistory oneTable(const HistoryLoaderSetup& setup) {
    return {
        [setup](DataModule& data, const HistoryLayout& layout, const QString& name,
                const InputTexts& inputs) {
            return saveHistoryRecord(loaderTable(data, setup.table), dataDir(), layout, name,
                                     layout.recordFromInputs(inputs));
        },
        [setup](DataModule& data, const HistoryLayout& layout, const QString& name) {
            return sameNamedSet(loaderTable(data, setup.table), layout, name);
        },
        [setup](DataModule& data, const HistoryLayout& layout, QWidget* owner) -> std::optional<InputTexts> {
            DataTable& table = loaderTable(data, setup.table);
            if (!openHistoryOfKind(table, dataDir(), layout.kindCode))
                return std::nullopt;
            const auto chosen = chooseSet(data, setup, layout, owner);
            if (setup.closeAfterLoad)
                table.close();
            return chosen;
        }};
}

// history.DB of the standard device: its fields under the headings of their groups.
HistoryLoaderSetup standardDevice() {
    HistoryLoaderSetup s;
    s.objectName = u"THistForm"_s;
    s.table = u"TableHistory"_s;
    s.rows = 24;
    s.helpContext = 36;
    s.title = u"Заземляющие устройства."_s;
    s.okText = u"OK"_s;
    s.windowTop = 10;
    s.closeAfterLoad = true;
    return s;
}

// The foundation field: a set in histmk0.db, its bolt distances in histmk1.db.
HistoryLoaderSetup boltField() {
    HistoryLoaderSetup s;
    s.objectName = u"THistFrmMK"_s;
    s.table = u"TableHistMK0"_s;
    s.helpContext = 37;
    s.confirmDeletion = false; // the set goes with its distances
    s.detail = HistoryDetailGrid{u"TableHistMK1"_s,
                                 u"Расстояния до анкерных болтов"_s,
                                 {{u"Xi, м"_s, u"Xi"_s}, {u"Yi, м"_s, u"Yi"_s}, {u"Zi, м"_s, u"Zi"_s}},
                                 u"Xi - расстояние по горизонтали от 1-го анкерного болта до i-го.\n"
                                 u"Yi - расстояние по вертикали от 1-го анкерного болта до i-го.\n"
                                 u"Zi - полное расстояние от 1-го анкерного болта до i-го."_s};
    return s;
}

bool saveBoltField(DataModule& data, const HistoryLayout& layout, const QString& name,
                   const InputTexts& inputs) {
    BoltFieldSet set;
    set.name = name;
    set.fields = layout.recordFromInputs(inputs);
    set.distances = parseGridRows(inputs.value(anchorboltfield::gridName()), anchorboltfield::distanceColumns);
    QString error;
    if (!saveBoltFieldSet(dataDir(), set, &error)) {
        dialogs().showMessage(error);
        return false;
    }
    // The loader's tables read their rows again.
    for (const QString& table : {u"TableHistMK0"_s, u"TableHistMK1"_s})
        if (DataTable* t = data.table(table); t && t->isOpen())
            t->refresh();
    return true;
}

std::optional<QString> existingBoltField(DataModule& data, const HistoryLayout& layout, const QString& name) {
    return sameNamedSet(data[u"TableHistMK0"_s], layout, name);
}

std::optional<InputTexts> loadBoltField(DataModule& data, const HistoryLayout& layout, QWidget* owner) {
    // A table left closed has been reported by name.
    for (const QString& name : {u"TableHistMK0"_s, u"TableHistMK1"_s})
        if (DataTable& t = data[name]; !t.isOpen() && !t.open(dataDir()))
            return std::nullopt;
    auto texts = chooseSet(data, boltField(), layout, owner);
    if (!texts)
        return std::nullopt;
    GridRows rows;
    DataTable& distances = data[u"TableHistMK1"_s];
    for (distances.first(); !distances.eof(); distances.next())
        rows << QStringList{distances.text(u"Xi"_s), distances.text(u"Yi"_s), distances.text(u"Zi"_s)};
    texts->insert(anchorboltfield::gridName(), gridRowsText(rows));
    return texts;
}

} // namespace

const OwnHistory& historyOf(const HistoryLayout& layout) {
    static const QMap<QString, OwnHistory> all = {
        {QString(), oneTable({})},
        {u"history"_s, oneTable(standardDevice())},
        {u"histmk"_s, {saveBoltField, existingBoltField, loadBoltField}},
    };
    auto it = all.constFind(layout.ownTables);
    if (it == all.cend())
        it = all.constFind(QString());
    return it.value();
}

} // namespace kz
