#pragma once

#include <memory>

namespace kz {

class DataModule;
class TKIForm;
class TKorGrFrm;
class TPoprForm;
class TRaionFrm;
class TRoIncFrm;
class TStalForm;
class TUdeForm;
class TZ05Form;

// The reference dialogs of the program, created once over the data module; while they exist the
// calculator windows open them (referenceDialogs()).
class ReferenceWindows {
public:
    explicit ReferenceWindows(DataModule& data);
    ~ReferenceWindows();

    TPoprForm& correction() const { return *popr_; }
    TRaionFrm& climateRegions() const { return *raion_; }
    TUdeForm& soils() const { return *ude_; }
    TStalForm& steels() const { return *stal_; }
    TRoIncFrm& resistivitySteps() const { return *roInc_; }
    TKorGrFrm& corrosion() const { return *korGr_; }
    TKIForm& coefficients() const { return *ki_; }
    TZ05Form& trestleTables() const { return *z05_; }

private:
    std::unique_ptr<TPoprForm> popr_;
    std::unique_ptr<TRaionFrm> raion_;
    std::unique_ptr<TUdeForm> ude_;
    std::unique_ptr<TStalForm> stal_;
    std::unique_ptr<TRoIncFrm> roInc_;
    std::unique_ptr<TKorGrFrm> korGr_;
    std::unique_ptr<TKIForm> ki_;
    std::unique_ptr<TZ05Form> z05_;
};

} // namespace kz
