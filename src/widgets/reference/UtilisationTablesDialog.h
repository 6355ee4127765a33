#pragma once

#include "widgets/reference/ReferenceDialog.h"

#include <QMetaObject>

class QCheckBox;

namespace kz {

class DataModule;
class DataTable;
class TableGrid;
class TableNavigator;

// "Таблицы коэффициентов использования.": Kivz.DB and KIGZ.DB, each with its grid, navigator and
// sort by ratio. The counts offered follow the placement of the current row.
class UtilisationTablesDialog : public ReferenceDialog {
    Q_OBJECT
public:
    static constexpr int helpContext = 38;

    explicit UtilisationTablesDialog(DataModule& data, QWidget* parent = nullptr);

    TableGrid* grid(int panel) const { return grids_[panel]; }
    TableNavigator* navigator(int panel) const { return navigators_[panel]; }
    QCheckBox* sortBox(int panel) const { return sort_[panel]; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateCounts(int panel);

    DataTable* tables_[2] = {};
    TableGrid* grids_[2] = {};
    TableNavigator* navigators_[2] = {};
    QCheckBox* sort_[2] = {};
    QMetaObject::Connection watchers_[2];
};

} // namespace kz
