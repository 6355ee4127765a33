#pragma once

#include "core/session/FrameStates.h"

#include <QFrame>
#include <memory>
#include <optional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kz {

// Construction frame: the steel construction of an electrode and its standard size, and the
// diameter the formulas use, in one of three modes (SizeSetMode): all sizes of the steel tables, or
// the constructions and sizes the soil-corrosion tables recommend or permit for the soil's
// calculated resistivity and the kind of electrode. It shows a SectionState, which the calculator
// session keeps and changes by its rules, and hands the user's choices on:
//   edited(field, text)   a construction (cmbSech) or a size (cmbDiam) chosen;
//   modePressed(button)   a mode button pressed (btnAllMat, btnRecMat, btnDopMat).
//
// The calculator reads the diameter as the number in cmbDiam for round, tubular and square
// steel and the number in EditDiam for angle and strip steel (see diameterText()).
//
// Object names: cmbSech, cmbDiam, lblD, EditDiam0, lblRD, EditDiam, btnAllMat, btnRecMat, btnDopMat.
class SectionFrame : public QFrame {
    Q_OBJECT
public:
    explicit SectionFrame(QWidget* parent = nullptr);
    ~SectionFrame() override;

    // letterD is "D" or "d", letterB "B"; kindWord is "вертикальный" or "горизонтальный".
    void attach(const QString& letterD, const QString& letterB, const QString& kindWord);
    void showState(const SectionState& state);
    // 0 all, 1 recommended, 2 permitted, as the buttons show it.
    int GetSizeMode() const;

    // The diameter the formulas use: EditDiam for angle and strip, cmbDiam otherwise.
    QString diameterText() const;
    QString LetterD() const { return letterD_; }
    QString LetterB() const { return letterB_; }
    QString ElectrodeKind() const { return kind_; }

    QComboBox* cmbSech() const { return cmbSech_; }
    QComboBox* cmbDiam() const { return cmbDiam_; }
    QLabel* lblD() const { return lblD_; }
    QLineEdit* EditDiam0() const { return editDiam0_; }
    QLabel* lblRD() const { return lblRD_; }
    QLineEdit* EditDiam() const { return editDiam_; }
    QToolButton* btnAllMat() const { return btnAllMat_; }
    QToolButton* btnRecMat() const { return btnRecMat_; }
    QToolButton* btnDopMat() const { return btnDopMat_; }

signals:
    // The user chose a construction (cmbSech) or a size (cmbDiam), or pressed a mode
    // button (by its object name).
    void edited(const QString& field, const QString& text);
    void modePressed(const QString& button);

private:
    void showLabels();

    SectionState state_;
    QString letterD_ = QStringLiteral("D");
    QString letterB_ = QStringLiteral("B");
    QString kind_;

    QComboBox* cmbSech_;
    QComboBox* cmbDiam_;
    QLabel* lblD_;
    QLineEdit* editDiam0_;
    QLabel* lblRD_;
    QLineEdit* editDiam_;
    QToolButton* btnAllMat_;
    QToolButton* btnRecMat_;
    QToolButton* btnDopMat_;
    QButtonGroup* modes_;
};

} // namespace kz
