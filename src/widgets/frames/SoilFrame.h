#pragma once

#include "core/session/FrameStates.h"

#include <QFrame>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kz {

class SpinButton;

// Soil frame: the soil (or water) type, its measured resistivity p0 within the soil's range,
// the seasonal correction coefficient Kп and the calculated resistivity p = p0*Kп that every
// resistance formula uses. It shows a SoilState and hands the user's edits on (edited); whoever
// holds the state (the calculator session, the two-layer soil dialog) applies the soil rules.
//
// Object names: ComboGrunt, btnParamShag, EditRo0, btnShag1..3, lblRMinMax, EditPKV,
// btnPKV1, btnPKV01, btnPKV001, SpeedButton2, EditRo.
class SoilFrame : public QFrame {
    Q_OBJECT
public:
    explicit SoilFrame(QWidget* parent = nullptr);
    ~SoilFrame() override;

    // The state to show, over the soils the list offers.
    void showState(const SoilState& state, const QStringList& soils);

    // PMin and PMax of the soil shown, 0 when none.
    double RoMin() const { return state_.min; }
    double RoMax() const { return state_.max; }
    double Step(int i) const { return state_.steps[i - 1]; } // 1..3

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
    // The user chose a soil (ComboGrunt) or edited p0 (EditRo0) or Kп (EditPKV).
    void edited(const QString& field, const QString& text);

private:
    void checkMeasuredOnLeave();
    void stepUp(int i);
    void stepDown(int i);

    SoilState state_;
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
