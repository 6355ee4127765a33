#pragma once

#include "core/session/FrameStates.h"

#include <QFrame>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kz {

class DataModule;
class SpinButton;
class StoredFrameData;

// Soil frame: the soil (or water) type, its measured resistivity p0 within the soil's range,
// the seasonal correction coefficient Kп and the calculated resistivity p = p0*Kп that every
// resistance formula uses. It shows a SoilState, whose rules the calculator session shares, over
// the soils (P_udel.DB) and step sizes (ro_inc.db) as the tables stand.
//
// The frame is passive. It keeps its own texts consistent and then tells the calculator:
//   soilChanged()           after a soil was chosen and its range, default p0 and steps applied;
//   measuredRoChanged()     after EditRo0 changed and EditRo was recomputed;
//   coefficientChanged()    after EditPKV changed and EditRo was recomputed.
// Programmatic changes of the inputs fire these as typing does (InitSoil included).
//
// Object names: ComboGrunt, btnParamShag, EditRo0, btnShag1..3, lblRMinMax, EditPKV,
// btnPKV1, btnPKV01, btnPKV001, SpeedButton2, EditRo.
class SoilFrame : public QFrame {
    Q_OBJECT
public:
    explicit SoilFrame(DataModule& data, QWidget* parent = nullptr);
    ~SoilFrame() override;

    // From the calculator's activation: refills the soil list and restores the remembered soil,
    // p0 and Kп, or selects "суглинок" with its default p0.
    void InitSoil();
    // From the calculator's deactivation and before the soil dictionary opens.
    void SaveSoilState();
    // The handlers, for calculators that run them themselves.
    void applySoilType();
    void UpdateCalculatedRo();

    // The number in EditRo0; nullopt (and the conversion error shown) when it is not a number.
    std::optional<double> MeasuredRo(bool report = true) const;
    // Bounds read back from lblRMinMax, 0 when it shows none.
    double GetRangeMin() const;
    double GetRangeMax() const;
    // PMin and PMax of the chosen soil, 0 when none.
    double RoMin() const { return state_.min; }
    double RoMax() const { return state_.max; }
    double Step(int i) const { return steps_[i - 1]; } // 1..3

    QString SavedGrunt() const { return savedGrunt_; }
    QString SavedRo0() const { return savedRo0_; }
    QString SavedPKV() const { return savedPKV_; }

    // Attached, the frame shows the state it is given and hands the user's edits on (edited)
    // instead of applying its own rules: the calculator session keeps them.
    void attach() { attached_ = true; }
    void showState(const SoilState& state, const QStringList& soils);

    // The coefficient input keeps its key filter and exit check unless a calculator drops them.
    void setCoefficientChecks(bool keyFilter, bool exitCheck);

    // Dialogs of the reference-data windows. While a hook is not set its button stays disabled.
    // The correction-coefficient dialog returns the coefficient text on OK, nullopt on Cancel.
    void setCorrectionDialog(std::function<std::optional<QString>()> open);
    void setStepSettingsDialog(std::function<void()> open);

    QComboBox* ComboGrunt() const { return comboGrunt_; }
    QLineEdit* EditRo0() const { return editRo0_; }
    QLineEdit* EditPKV() const { return editPKV_; }
    QLineEdit* EditRo() const { return editRo_; }
    QLabel* lblRMinMax() const { return lblRMinMax_; }
    SpinButton* btnShag(int i) const { return shag_[i - 1]; } // 1..3
    SpinButton* btnPKV(int i) const { return pkv_[i - 1]; }   // 1, 0,1, 0,01
    QToolButton* btnParamShag() const { return btnParamShag_; }
    QToolButton* SpeedButton2() const { return speedButton2_; }

signals:
    void soilChanged();
    void measuredRoChanged();
    void coefficientChanged();
    // Attached: the user chose a soil (ComboGrunt) or edited p0 (EditRo0) or Kп (EditPKV).
    void edited(const QString& field, const QString& text);

private:
    void checkMeasuredOnLeave();
    void stepUp(int i);
    void stepDown(int i);
    void applySteps(double maxValue);
    void showCalculated();

    std::unique_ptr<StoredFrameData> reference_;
    SoilState state_;
    bool attached_ = false;
    double steps_[3] = {0, 0, 0};
    QString savedGrunt_;
    QString savedRo0_;
    QString savedPKV_;
    QObject* pkvChecks_ = nullptr;
    std::function<std::optional<QString>()> correctionDialog_;
    std::function<void()> stepSettingsDialog_;

    QComboBox* comboGrunt_;
    QToolButton* btnParamShag_;
    QLineEdit* editRo0_;
    SpinButton* shag_[3];
    QLabel* lblRMinMax_;
    QLineEdit* editPKV_;
    SpinButton* pkv_[3];
    QToolButton* speedButton2_;
    QLineEdit* editRo_;
};

} // namespace kz
