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

class DataModule;
class StoredFrameData;

// Construction frame: it shows a SectionState, whose rules the calculator session shares. The
// steel construction of an electrode and its standard size, and the
// diameter the formulas use. Works in one of three modes (SizeSetMode): all sizes of the steel
// tables, or the constructions and sizes the soil-corrosion tables recommend or permit for the
// soil's calculated resistivity and the kind of electrode.
//
// The calculator reads the diameter as the number in cmbDiam for round, tubular and square
// steel and the number in EditDiam for angle and strip steel (see diameterText()).
//
// Signals, raised only for changes the user makes (or a calculator makes by assigning the
// lists' selection); the operations below that a calculator calls itself raise nothing:
//   constructionChanged()  after cmbSech changed and the size list was refilled;
//   sizeChanged()          after cmbDiam changed and the diameters were derived;
//   modeChanged()          after a mode button was pressed and the lists were refilled.
//
// Object names: cmbSech, cmbDiam, lblD, EditDiam0, lblRD, EditDiam, btnAllMat, btnRecMat, btnDopMat.
class SectionFrame : public QFrame {
    Q_OBJECT
public:
    explicit SectionFrame(DataModule& data, QWidget* parent = nullptr);
    ~SectionFrame() override;

    // From the calculator's activation, after the soil frame's InitSoil. letterD is "D" or "d",
    // letterB "B"; roInput holds the resistivity for the corrosion queries (the soil frame's
    // EditRo); kindWord is "вертикальный" or "горизонтальный". Refills the lists and selects
    // the first construction and size.
    void InitSection(const QString& letterD, const QString& letterB, QWidget* roInput,
                     const QString& kindWord);
    // Refills the constructions for the current mode and resistivity. A resistivity that is not
    // a number is reported and leaves the lists as they were.
    void refreshConstructions();
    void applyConstructionChoice();
    void applySizeChoice();
    // The mode buttons' handler: refills the lists.
    void applySizeMode();
    int GetSizeMode() const;
    // 0 all, 1 recommended, 2 permitted; any other value presses nothing. Then refills.
    void SetSizeMode(int mode);
    // Attached, the frame shows the state it is given and hands the user's choices on (edited,
    // modePressed) instead of applying its own rules: the calculator session keeps them. The
    // letters and the electrode's kind are as for InitSection.
    void attach(const QString& letterD, const QString& letterB, QWidget* roInput, const QString& kindWord);
    void showState(const SectionState& state);

    // Positions korgrunt0..4 on the current soil class, kind, status, construction and size
    // (only outside the all mode), before the corrosion dictionary is shown.
    void LocateCorrosionRow();

    // The diameter the formulas use: EditDiam for angle and strip, cmbDiam otherwise.
    QString diameterText() const;
    QString LetterD() const { return letterD_; }
    QString LetterB() const { return letterB_; }
    QString ElectrodeKind() const { return kind_; }
    QWidget* RoInput() const { return roInput_; }

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
    void constructionChanged();
    void sizeChanged();
    void modeChanged();
    // Attached: the user chose a construction (cmbSech) or a size (cmbDiam), or pressed a mode
    // button (by its object name).
    void edited(const QString& field, const QString& text);
    void modePressed(const QString& button);

private:
    // The soil frame's resistivity the lists follow; none without a soil frame.
    std::optional<QString> resistivity() const;
    // What the state holds, shown; what it said, said.
    void showOwnState(const QStringList& said);
    void showLabels();
    void setUp(const QString& letterD, const QString& letterB, QWidget* roInput, const QString& kindWord);
    void say(const QStringList& said) const;

    DataModule& data_;
    std::unique_ptr<StoredFrameData> reference_;
    SectionState state_;
    bool attached_ = false;
    QString letterD_ = QStringLiteral("D");
    QString letterB_ = QStringLiteral("B");
    QWidget* roInput_ = nullptr;
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
