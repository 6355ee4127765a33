#pragma once

#include "widgets/reference/ReferenceDialog.h"

namespace kz {

class DataTable;
class TableGrid;
class TableNavigator;

// "Грунты.": soils and waters of P_udel.DB with their resistivity range and default value.
class SoilTableDialog : public ReferenceDialog {
    Q_OBJECT
public:
    explicit SoilTableDialog(DataTable& soils, QWidget* parent = nullptr);
    TableGrid* grid() const { return grid_; }
    TableNavigator* navigator() const { return navigator_; }

private:
    TableGrid* grid_;
    TableNavigator* navigator_ = nullptr;
};

} // namespace kz
