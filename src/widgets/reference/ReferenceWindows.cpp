#include "widgets/reference/ReferenceWindows.h"

#include "widgets/reference/UtilisationTablesDialog.h"
#include "widgets/reference/CorrosionDialog.h"
#include "widgets/reference/SeasonalCoefficientDialog.h"
#include "widgets/reference/ClimateRegionDialog.h"
#include "widgets/reference/ResistivityStepDialog.h"
#include "widgets/reference/SteelTableDialog.h"
#include "widgets/reference/SoilTableDialog.h"
#include "widgets/reference/TrestleTablesDialog.h"
#include "widgets/calculator/CalculatorWindow.h"
#include "store/DataModule.h"

namespace kz {

ReferenceWindows::ReferenceWindows(DataModule& data)
    : popr_(std::make_unique<SeasonalCoefficientDialog>(data[QStringLiteral("TableRaion")])),
      raion_(std::make_unique<ClimateRegionDialog>(data[QStringLiteral("TableRaion")])),
      ude_(std::make_unique<SoilTableDialog>(data[QStringLiteral("TableUde")])),
      stal_(std::make_unique<SteelTableDialog>(data)),
      roInc_(std::make_unique<ResistivityStepDialog>(data[QStringLiteral("RoIncTable")])),
      korGr_(std::make_unique<CorrosionDialog>(data)), ki_(std::make_unique<UtilisationTablesDialog>(data)),
      z05_(std::make_unique<TrestleTablesDialog>(data)) {
    ReferenceDialogs& hooks = referenceDialogs();
    hooks.correction = [this] { return popr_->choose(); };
    hooks.climateRegions = [this] { raion_->run(); };
    hooks.resistivitySteps = [this] { roInc_->run(); };
    hooks.soils = [this](QWidget*) { ude_->run(); };
    hooks.steels = [this](QWidget*) { stal_->run(); };
    hooks.corrosion = [this](QWidget*) { korGr_->run(); };
    hooks.locateSteel = [this](const QString& construction, const QString& size) {
        stal_->LocateSteelRow(construction, size);
    };
    hooks.tables = [this](QWidget*, const QString& dialog, const QString& at) {
        if (dialog == QLatin1String("TZ05Form"))
            z05_->runAt(at);
        else if (dialog == QLatin1String("TKIForm"))
            ki_->run();
    };
}

ReferenceWindows::~ReferenceWindows() {
    ReferenceDialogs& hooks = referenceDialogs();
    hooks.correction = nullptr;
    hooks.climateRegions = nullptr;
    hooks.resistivitySteps = nullptr;
    hooks.soils = nullptr;
    hooks.steels = nullptr;
    hooks.corrosion = nullptr;
    hooks.locateSteel = nullptr;
    hooks.tables = nullptr;
}

} // namespace kz
