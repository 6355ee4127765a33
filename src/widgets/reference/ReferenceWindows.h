#pragma once

#include <memory>

namespace kz {

class DataModule;
class UtilisationTablesDialog;
class CorrosionDialog;
class SeasonalCoefficientDialog;
class ClimateRegionDialog;
class ResistivityStepDialog;
class SteelTableDialog;
class SoilTableDialog;
class TrestleTablesDialog;

// The reference dialogs of the program, created once over the data module; while they exist the
// calculator windows open them (referenceDialogs()).
class ReferenceWindows {
public:
    explicit ReferenceWindows(DataModule& data);
    ~ReferenceWindows();

    SeasonalCoefficientDialog& correction() const { return *popr_; }
    ClimateRegionDialog& climateRegions() const { return *raion_; }
    SoilTableDialog& soils() const { return *ude_; }
    SteelTableDialog& steels() const { return *stal_; }
    ResistivityStepDialog& resistivitySteps() const { return *roInc_; }
    CorrosionDialog& corrosion() const { return *korGr_; }
    UtilisationTablesDialog& coefficients() const { return *ki_; }
    TrestleTablesDialog& trestleTables() const { return *z05_; }

private:
    std::unique_ptr<SeasonalCoefficientDialog> popr_;
    std::unique_ptr<ClimateRegionDialog> raion_;
    std::unique_ptr<SoilTableDialog> ude_;
    std::unique_ptr<SteelTableDialog> stal_;
    std::unique_ptr<ResistivityStepDialog> roInc_;
    std::unique_ptr<CorrosionDialog> korGr_;
    std::unique_ptr<UtilisationTablesDialog> ki_;
    std::unique_ptr<TrestleTablesDialog> z05_;
};

} // namespace kz
