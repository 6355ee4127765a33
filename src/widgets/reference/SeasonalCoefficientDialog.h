#pragma once

#include <QDialog>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kz {

class DataTable;
class RadioGroup;
class SpinButton;

// "Выбор коэффициента поправки к р.": the seasonal correction coefficient from the climate
// region (by electrode kind, length and soil moisture) or from the soil temperature. Created
// once; its choices stay from one use to the next.
//
// Object names: rdgKrit, ComboRaion, SpinTemp, rdgVid, rdgVlaga, rdgDlina, EditPKV,
// SpinButton1, SpinButton2, SpinButton001, Button1 (ОК), Button2 (Отмена), Button5 (help).
class SeasonalCoefficientDialog : public QDialog {
    Q_OBJECT
public:
    explicit SeasonalCoefficientDialog(DataTable& raion, QWidget* parent = nullptr);

    // Refills the regions, chooses "III" and picks the coefficient (what opening the dialog does).
    void activate();
    // Shows the dialog modally; the coefficient text on OK, nullopt on Cancel.
    std::optional<QString> choose();

    // Takes the coefficient from raion.db for the chosen region, kind, length and moisture
    // (only with the region criterion chosen).
    void pickFromTable();
    void pickFromTemperature();

    RadioGroup* rdgKrit() const { return rdgKrit_; }
    QComboBox* ComboRaion() const { return comboRaion_; }
    QSpinBox* SpinTemp() const { return spinTemp_; }
    RadioGroup* rdgVid() const { return rdgVid_; }
    RadioGroup* rdgVlaga() const { return rdgVlaga_; }
    RadioGroup* rdgDlina() const { return rdgDlina_; }
    QLineEdit* EditPKV() const { return editPKV_; }

private:
    void criterionChanged();
    void kindChanged();

    DataTable& raion_;
    RadioGroup* rdgKrit_;
    QComboBox* comboRaion_;
    QSpinBox* spinTemp_;
    RadioGroup* rdgVid_;
    RadioGroup* rdgVlaga_;
    RadioGroup* rdgDlina_;
    QLineEdit* editPKV_;
    SpinButton* steps_[3];
    QPushButton* button1_;
    QPushButton* button2_;
    QPushButton* button5_;
};

} // namespace kz
