#pragma once

#include "widgets/reference/ReferenceDialog.h"

namespace kz {

class DataModule;
class DataTable;
class RadioGroup;
class TableGrid;
class TableNavigator;

// "Входное сопротивление технологической эстакады.": the tables Z15.db, Z075.db and Z05.db on one
// grid, chosen by the trestle's longitudinal resistance.
class TrestleTablesDialog : public ReferenceDialog {
    Q_OBJECT
public:
    static constexpr int helpContext = 39;

    explicit TrestleTablesDialog(DataModule& data, QWidget* parent = nullptr);

    // The item of a Zo text ("1,5" → 0, "0,75" → 1, "0,5" → 2); -1 for another text.
    static int itemOf(const QString& zo);
    // Shows the dialog modally on the table of that Zo (the current item for another text).
    int runAt(const QString& zo);

    RadioGroup* RadioGroup1() const { return radio_; }
    TableGrid* DBGrid1() const { return grid_; }
    TableNavigator* DBNavigator1() const { return navigator_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void bind();

    DataTable* tables_[3] = {};
    RadioGroup* radio_ = nullptr;
    TableGrid* grid_ = nullptr;
    TableNavigator* navigator_ = nullptr;
};

} // namespace kz
