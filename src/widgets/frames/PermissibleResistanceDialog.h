#pragma once

#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kz {

class SpinButton;

// "Предельно допустимые сопротивления заземляющих устройств.": derives the permissible
// resistance from the installation type, the soil resistivity and the fault current, line
// voltage or power, and writes a short justification. Help context 9. OK is enabled only when
// a value has been derived. The installation frame loads it before every use (see
// InstallationFrame::choosePermissibleResistance) and reads the results on OK.
//
// Object names: RadioGroup1 (its buttons RadioType0..6), EditPekv, btnP100, btnP10, btnP1,
// stI, EditI, btnIzo10, btnIzo1, btnIzo01, stUlin, ComboUlin, stS, ComboS, btnS100, btnS10,
// btnS1, lblRmax, lblSR, lblSRValue, MemoScore, chkAuto, Button1, btnOK, Button2, Button5.
class PermissibleResistanceDialog : public QDialog {
    Q_OBJECT
public:
    explicit PermissibleResistanceDialog(QWidget* parent = nullptr);

    // Selected type, -1 when none; selecting runs the type handler (applyInstallationType).
    int typeIndex() const;
    void setTypeIndex(int index);
    QString typeText() const;

    // Loads the values of an installation frame: selects the type of that text (running the
    // type handler), then enables Iзо, Uлин and S exactly where the frame has them and
    // selects the Uлин and S items equal to them (none when not listed).
    void loadInstallation(const QString& typeText, const QString& izo, const QString& ulin, const QString& s,
                          const QString& p);
    // Results for the frame on OK: R, and Iзо, Uлин, S where enabled (empty otherwise), р.
    QString derivedResistance() const;
    QString usedCurrent() const;
    QString usedVoltage() const;
    QString usedPower() const;
    QString resistivity() const;

    // What opening the dialog does: clears the results, justifies and updates the buttons.
    void activate();
    // "Обоснование": checks the inputs (silently with chkAuto) and derives R and the lines.
    void Justify();
    void applyInstallationType();
    void UpdateRButtons();

    QButtonGroup* RadioGroup1() const { return types_; }
    QAbstractButton* typeButton(int index) const;
    QLineEdit* EditPekv() const { return editPekv_; }
    QLineEdit* EditI() const { return editI_; }
    QComboBox* ComboUlin() const { return comboUlin_; }
    QComboBox* ComboS() const { return comboS_; }
    QLabel* lblRmax() const { return lblRmax_; }
    QLabel* lblSRValue() const { return lblSRValue_; }
    QPlainTextEdit* MemoScore() const { return memoScore_; }
    QCheckBox* chkAuto() const { return chkAuto_; }
    QPushButton* Button1() const { return button1_; }
    QPushButton* btnOK() const { return btnOK_; }

private:
    void parameterChanged();
    void clearResults();
    bool CheckRParam(QWidget* control, const QString& name);

    QButtonGroup* types_;
    QGroupBox* typeBox_;
    QLineEdit* editPekv_;
    QLabel* stI_;
    QLineEdit* editI_;
    SpinButton* izoSteps_[3];
    QLabel* stUlin_;
    QComboBox* comboUlin_;
    QLabel* stS_;
    QComboBox* comboS_;
    SpinButton* sSteps_[3];
    QLabel* lblRmax_;
    QLabel* lblSR_;
    QLabel* lblSRValue_;
    QPlainTextEdit* memoScore_;
    QCheckBox* chkAuto_;
    QPushButton* button1_;
    QPushButton* btnOK_;
    QPushButton* button2_;
    QPushButton* button5_;
    bool loading_ = false;
};

} // namespace kz
