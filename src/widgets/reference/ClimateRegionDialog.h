#pragma once

#include "widgets/reference/ReferenceDialog.h"

namespace kz {

class DataTable;
class TableNavigator;

// "Климатические районы.": the climate regions of raion.db record by record, with their
// temperatures, freezing time and seasonal coefficients; inputs named after the fields.
class ClimateRegionDialog : public ReferenceDialog {
    Q_OBJECT
public:
    explicit ClimateRegionDialog(DataTable& raion, QWidget* parent = nullptr);
    TableNavigator* navigator() const { return navigator_; }

private:
    TableNavigator* navigator_;
};

} // namespace kz
