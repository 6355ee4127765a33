#include "widgets/selection/SelectionSettingsDialog.h"

#include "store/DataModule.h"
#include "widgets/common/DialogService.h"
#include "core/common/Paths.h"
#include "widgets/reference/TableGrid.h"

#include <QLabel>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

const char* const detailTables[3] = {"TableSParPod1", "TableRParPod1", "TableIParPod1"};

// A row left in the edit buffer is written before its rows are re-read or the dialog goes;
// a refused write drops the change rather than leave the table half-edited.
void settleEdits(DataTable& table) {
    if (table.isEditing() && !table.post())
        table.cancel();
}

} // namespace

SelectionSettingsDialog::SelectionSettingsDialog(DataModule& data, QWidget* parent)
    : ReferenceDialog(QStringLiteral("TParPodFm"), u"Настройка параметров подбора."_s, helpContext,
                      QDialog::Accepted, parent),
      data_(data) {
    const QString param = QStringLiteral("Param");
    const QStringList range = {param, QStringLiteral("BValue"), QStringLiteral("EValue"),
                               QStringLiteral("Shag")};
    addSection(SoilTable, "Вещественные параметры с изменяемым шагом.", {param, QStringLiteral("Shag")},
               "(допустимые символы: '0' .. '9' и запятая)");
    addSection(RealTable, "Вещественные параметры с изменяемыми диапазоном и шагом.", range,
               "(допустимые символы: '0' .. '9' и запятая)");
    addSection(IntegerTable, "Целочисленные параметры с изменяемыми диапазоном и шагом.", range,
               "(допустимые символы: '0' .. '9')");
    // The names are the keys the calculators look their parameters up by: never typed over.
    for (TableGrid* grid : grids_)
        grid->setEditable(param, false);

    addNote({u"Параметр - наименование параметра подбора."_s, u"Начало - начальное значение параметра."_s,
             u"Конец - конечное значение параметра."_s, u"Шаг - шаг изменения значения параметра."_s});
    resize(640, 760);
}

void SelectionSettingsDialog::addSection(int tableKind, const char* heading, const QStringList& fields, const char* chars) {
    const int i = tableKind - 1;
    const QString n = QString::number(tableKind);
    tables_[i] = &data_[QLatin1String(detailTables[i])];
    addHeading(QString::fromUtf8(heading));
    TableGrid* grid = addGrid(tables_[i], fields, QStringLiteral("DBGrid") + n,
                              QStringLiteral("DBNavigator") + n, &navigators_[i]);
    grid->setMinimumHeight(110);
    grid->setTitle(QStringLiteral("Param"), u"Параметр"_s);
    grid->setTitle(QStringLiteral("BValue"), u"Начало"_s);
    grid->setTitle(QStringLiteral("EValue"), u"Конец"_s);
    grid->setTitle(QStringLiteral("Shag"), u"Шаг"_s);
    grid->setColumnChars(QStringLiteral("Param"), 50);
    for (const char* value : {"BValue", "EValue", "Shag"})
        grid->setColumnChars(QLatin1String(value), 8);
    grids_[i] = grid;
    using B = TableNavigator;
    navigators_[i]->setVisibleButtons({B::Edit, B::Post, B::Cancel});

    auto* note = new QLabel(QString::fromUtf8(chars), this);
    note->setObjectName(QStringLiteral("lblChars") + n);
    addWidget(note);
}

void SelectionSettingsDialog::setHandOver(int tableKind, const QString& name) {
    handOverKind_ = tableKind;
    handOverName_ = name;
}

TableGrid* SelectionSettingsDialog::grid(int tableKind) const {
    return tableKind >= SoilTable && tableKind <= IntegerTable ? grids_[tableKind - 1] : nullptr;
}

TableNavigator* SelectionSettingsDialog::navigator(int tableKind) const {
    return tableKind >= SoilTable && tableKind <= IntegerTable ? navigators_[tableKind - 1] : nullptr;
}

DataTable* SelectionSettingsDialog::table(int tableKind) const {
    return tableKind >= SoilTable && tableKind <= IntegerTable ? tables_[tableKind - 1] : nullptr;
}

void SelectionSettingsDialog::showEvent(QShowEvent* event) {
    ReferenceDialog::showEvent(event);
    locateHandedOver();
}

void SelectionSettingsDialog::hideEvent(QHideEvent* event) {
    for (DataTable* t : tables_)
        settleEdits(*t);
    ReferenceDialog::hideEvent(event);
}

void SelectionSettingsDialog::locateHandedOver() {
    DataTable* t = table(handOverKind_);
    if (handOverName_.isEmpty() || !t)
        return;
    // Not found leaves the cursor where it is; the grid is focused all the same.
    t->locate(QStringLiteral("Param"), handOverName_);
    grid(handOverKind_)->setFocus(Qt::OtherFocusReason);
}

SelectionSettingsDialog& selectionSetupForm(DataModule& data) {
    static QPointer<SelectionSettingsDialog> form;
    if (form && &form->data() != &data)
        delete form;
    if (!form) {
        form = new SelectionSettingsDialog(data);
        // Its grids hold the module's tables: it must not outlive them.
        QObject::connect(&data, &QObject::destroyed, [f = QPointer<SelectionSettingsDialog>(form)] { delete f.data(); });
    }
    return *form;
}

void ShowSelectionSetup(DataModule& data, int kindCode, int tableKind, const QString& name) {
    DataTable& kinds = data[QStringLiteral("TableParPod0")];
    // Re-reading the master re-reads the details; nothing may stay in their edit buffers.
    for (DataTable* detail : kinds.details())
        settleEdits(*detail);
    kinds.close();
    kinds.setFiltered(false);
    kinds.setFilter(QStringLiteral("[KodTip]='") + QString::number(kindCode) + QLatin1Char('\''));
    kinds.setFiltered(true);
    if (!kinds.open(dataDir()) && !kinds.reporter())
        dialogs().showMessage(kinds.lastError().message);

    SelectionSettingsDialog& form = selectionSetupForm(data);
    form.setHandOver(tableKind, name);
    dialogs().execModal(&form);
}

} // namespace kz
