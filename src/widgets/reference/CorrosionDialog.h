#pragma once

#include "widgets/reference/ReferenceDialog.h"

class QPushButton;

namespace kz {

class DataModule;
class DataTable;
class SizeSelectionDialog;
class TableGrid;
class TableNavigator;

// "Коррозионная активность грунтов.": the corrosion chain korgrunt0.db .. korgrunt4.DB in five
// grids, each following the current row above it; the sizes of a construction are set only
// through the size picker.
class CorrosionDialog : public ReferenceDialog {
    Q_OBJECT
public:
    static constexpr int helpContext = 58;
    static constexpr int levels = 5;

    explicit CorrosionDialog(DataModule& data, QWidget* parent = nullptr);

    TableGrid* grid(int level) const { return grids_[level]; }
    TableNavigator* navigator(int level) const { return navigators_[level]; }
    SizeSelectionDialog& picker() const { return *picker_; }

    void editConstructionSizes();
    void clearConstructionSizes();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateButtons();

    DataModule& data_;
    DataTable* tables_[levels] = {};
    TableGrid* grids_[levels] = {};
    TableNavigator* navigators_[levels] = {};
    QPushButton* btnEdit_;
    QPushButton* btnClear_;
    SizeSelectionDialog* picker_;
};

} // namespace kz
