#pragma once

#include "widgets/reference/ReferenceDialog.h"

namespace kz {

class DataTable;
class TableGrid;
class TableNavigator;

// "Настройка шагов изменения удельного сопротивления грунта.": the steps of the resistivity
// step buttons by the range of the soil's upper bound (ro_inc.db).
class ResistivityStepDialog : public ReferenceDialog {
    Q_OBJECT
public:
    explicit ResistivityStepDialog(DataTable& steps, QWidget* parent = nullptr);
    TableGrid* grid() const { return grid_; }
    TableNavigator* navigator() const { return navigator_; }

private:
    TableGrid* grid_;
    TableNavigator* navigator_ = nullptr;
};

} // namespace kz
