#include "ReferenceWindows.h"

#include "KIUnt.h"
#include "KorGrUnt.h"
#include "PoprUnt.h"
#include "RaionUnt.h"
#include "RoIncUnt.h"
#include "StalUnt.h"
#include "UdeUnt.h"
#include "Z05Unt.h"
#include "calc/core/CalculatorWindow.h"
#include "data/DataModule.h"

namespace kz {

ReferenceWindows::ReferenceWindows(DataModule& data)
    : popr_(std::make_unique<TPoprForm>(data[QStringLiteral("TableRaion")])),
      raion_(std::make_unique<TRaionFrm>(data[QStringLiteral("TableRaion")])),
      ude_(std::make_unique<TUdeForm>(data[QStringLiteral("TableUde")])),
      stal_(std::make_unique<TStalForm>(data)),
      roInc_(std::make_unique<TRoIncFrm>(data[QStringLiteral("RoIncTable")])),
      korGr_(std::make_unique<TKorGrFrm>(data)), ki_(std::make_unique<TKIForm>(data)),
      z05_(std::make_unique<TZ05Form>(data)) {
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
