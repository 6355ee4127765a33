#pragma once

#include <QGroupBox>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kz {

class SpinButton;
class PermissibleResistanceDialog;

// Installation frame: the permissible resistance Rдоп the calculators compare their result
// with, and the characteristics of the electrical installation it was derived from (type, Iзо,
// Uлин, S, р). An empty Iзо, Uлин or S means the type does not use it. Rдоп is typed in or
// derived in the permissible-resistance dialog (PermissibleResistanceDialog) through "Изменить...".
// Calculators embed it under the object name frmEU1.
//
// Signals:
//   rmaxChanged()          EditRmax changed (typed, stepped or derived);
//   installationChanged()  the dialog was confirmed and the frame took its values.
//
// Object names: EditTip, EditRmax, btnR1, btnR01, EditIzo, EditUlin, EditS, EditP, chkInclude, Button4.
class InstallationFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit InstallationFrame(QWidget* parent = nullptr);

    // Hands the frame's values to the dialog, shows it and on OK takes the results back.
    void choosePermissibleResistance();

    QLineEdit* EditTip() const { return editTip_; }
    QLineEdit* EditRmax() const { return editRmax_; }
    QLineEdit* EditIzo() const { return editIzo_; }
    QLineEdit* EditUlin() const { return editUlin_; }
    QLineEdit* EditS() const { return editS_; }
    QLineEdit* EditP() const { return editP_; }
    QCheckBox* chkInclude() const { return chkInclude_; }
    QPushButton* Button4() const { return button4_; }
    SpinButton* btnR1() const { return btnR1_; }
    SpinButton* btnR01() const { return btnR01_; }

signals:
    void rmaxChanged();
    void installationChanged();

private:
    PermissibleResistanceDialog* dialog_ = nullptr; // created on first use, kept so that its settings persist
    QLineEdit* editTip_;
    QLineEdit* editRmax_;
    SpinButton* btnR1_;
    SpinButton* btnR01_;
    QLineEdit* editIzo_;
    QLineEdit* editUlin_;
    QLineEdit* editS_;
    QLineEdit* editP_;
    QCheckBox* chkInclude_;
    QPushButton* button4_;
};

} // namespace kz
