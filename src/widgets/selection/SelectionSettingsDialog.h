#pragma once

#include "widgets/reference/ReferenceDialog.h"

namespace kz {

class DataModule;
class DataTable;
class TableGrid;
class TableNavigator;

// "Настройка параметров подбора.": the stored ranges and steps of single-parameter selection of
// one calculator kind (parpod0.db filtered to it) in its three detail tables. Rows are only
// edited: the tables themselves refuse inserts and deletes, and typed values are checked by the
// field types.
class SelectionSettingsDialog : public ReferenceDialog {
    Q_OBJECT
public:
    static constexpr int helpContext = 60;
    // The detail table a handed-over name is looked for in.
    enum TableKind { SoilTable = 1, RealTable = 2, IntegerTable = 3 };

    explicit SelectionSettingsDialog(DataModule& data, QWidget* parent = nullptr);

    DataModule& data() const { return data_; }

    // On showing, the row whose Param equals name is located in the table of tableKind and
    // that grid gets the focus; an empty name locates nothing.
    void setHandOver(int tableKind, const QString& name);
    int handOverKind() const { return handOverKind_; }
    QString handOverName() const { return handOverName_; }

    // By table kind, 1 .. 3 (sparpod1.DB, rparpod1.DB, iparpod1.DB); nullptr otherwise.
    TableGrid* grid(int tableKind) const;
    TableNavigator* navigator(int tableKind) const;
    DataTable* table(int tableKind) const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void addSection(int tableKind, const char* heading, const QStringList& fields, const char* chars);
    void locateHandedOver();

    DataModule& data_;
    TableGrid* grids_[3] = {};
    TableNavigator* navigators_[3] = {};
    DataTable* tables_[3] = {};
    int handOverKind_ = 0;
    QString handOverName_;
};

// The one settings dialog over this data module, created on first use and freed with the module.
SelectionSettingsDialog& selectionSetupForm(DataModule& data);

// Restricts parpod0.db to the calculator kind (so the detail grids show only its rows), hands
// over the table kind and parameter name, and shows the settings dialog modally.
void ShowSelectionSetup(DataModule& data, int kindCode, int tableKind, const QString& name);

} // namespace kz
