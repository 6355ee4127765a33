#pragma once

#include "widgets/reference/ReferenceDialog.h"

namespace kz {

class DataModule;
class RadioGroup;
class TableGrid;
class TableNavigator;

// "Материалы заземлителей.": the steel tables, one at a time, chosen in the " Материал " list.
class SteelTableDialog : public ReferenceDialog {
    Q_OBJECT
public:
    explicit SteelTableDialog(DataModule& data, QWidget* parent = nullptr);

    // Chooses the material of a calculator's construction and moves its table to the size in
    // use (numbers compared exactly); an unknown size leaves the table where it was.
    void LocateSteelRow(const QString& construction, const QString& sizeText);

    RadioGroup* rgMaterial() const { return material_; }
    TableGrid* grid() const { return grid_; }
    TableNavigator* navigator() const { return navigator_; }

private:
    void bindMaterial();

    DataModule& data_;
    RadioGroup* material_;
    TableGrid* grid_;
    TableNavigator* navigator_ = nullptr;
};

} // namespace kz
