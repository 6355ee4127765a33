#pragma once

#include <QFrame>
#include <functional>

class QProgressBar;
class QToolButton;

namespace kz {

// Toolbar of a calculator window, aligned to its top (object name ButtonFrame1 in the
// calculators). Buttons never take the focus, so a click does not run the exit check of the
// input being edited.
//
// Handled by the frame itself:
//   btnFormula / btnEU  show or hide the window's PanelRaschet (a QFrame) / frmEU1 (a InstallationFrame);
//                       the window grows or shrinks by exactly that panel's height (also a
//                       window of fixed size; a layout with QLayout::SetFixedSize would impose
//                       its own size hint instead, so calculators should not use it);
//   btnMemo             the calculation-order viewer set with setCalcOrderViewer;
//   btnKP               the climate-region dialog set with setClimateRegionDialog (disabled until set);
//   SpeedButton1        help at the help context of the frame's window;
//   btnBreak            asks the running selection to stop (breakRequested).
// Every other button is the calculator's to connect (clicked / toggled) and to enable.
// Toggles: btnAutoScore, btnLinkRo, btnLinkParam (up), btnFormula, btnEU, btnPicture (down).
// Gauge1 and btnBreak stay hidden until setSelectionRunning(true).
class CalculatorToolbar : public QFrame {
    Q_OBJECT
public:
    explicit CalculatorToolbar(QWidget* parent = nullptr);

    void toggleFormulaPanel();
    void toggleInstallationFrame();
    void showCalcOrder();
    void showClimateRegions();
    void showWindowHelp();
    void requestBreak();

    void setCalcOrderViewer(std::function<void()> show);
    void setClimateRegionDialog(std::function<void()> show);
    // Shows Gauge1 (at 0) and btnBreak for a selection run, hides them when it ends.
    void setSelectionRunning(bool running);

    // Every button by its object name, in order from left to right.
    QList<QToolButton*> buttons() const { return buttons_; }
    QToolButton* button(const QString& objectName) const;

    QToolButton* btnSave() const { return btnSave_; }
    QToolButton* btnLoad() const { return btnLoad_; }
    QToolButton* btnCopy() const { return btnCopy_; }
    QToolButton* btnPaste() const { return btnPaste_; }
    QToolButton* btnReport() const { return btnReport_; }
    QToolButton* btnPodbor() const { return btnPodbor_; }
    QToolButton* btnParPodbor() const { return btnParPodbor_; }
    // Brings back the inputs as they were before the last selection run.
    QToolButton* btnUndoPodbor() const { return btnUndoPodbor_; }
    QToolButton* btnAutoScore() const { return btnAutoScore_; }
    QToolButton* btnLinkRo() const { return btnLinkRo_; }
    QToolButton* btnLinkParam() const { return btnLinkParam_; }
    QToolButton* btnFormula() const { return btnFormula_; }
    QToolButton* btnEU() const { return btnEU_; }
    QToolButton* btnPicture() const { return btnPicture_; }
    QToolButton* btnMemo() const { return btnMemo_; }
    QToolButton* btnKI() const { return btnKI_; }
    QToolButton* btnGrunt() const { return btnGrunt_; }
    QToolButton* btnKP() const { return btnKP_; }
    QToolButton* btnMaterial() const { return btnMaterial_; }
    QToolButton* btnKorGrunt() const { return btnKorGrunt_; }
    QToolButton* SpeedButton1() const { return speedButton1_; }
    QProgressBar* Gauge1() const { return gauge1_; }
    QToolButton* btnBreak() const { return btnBreak_; }
    QToolButton* btnClose() const { return btnClose_; }

    // The stop button's request to the selection run of this window; the run clears it when it
    // starts and polls it between steps.
    bool breakRequested() const { return breakRequested_; }
    void clearBreakRequest() { breakRequested_ = false; }

private:
    bool breakRequested_ = false;
    QToolButton* addButton(const char* name, const char* icon, const char* hint, bool toggle = false);
    void togglePanel(QWidget* panel, bool show);

    QList<QToolButton*> buttons_;
    std::function<void()> calcOrderViewer_;
    std::function<void()> climateRegionDialog_;

    QToolButton* btnSave_;
    QToolButton* btnLoad_;
    QToolButton* btnCopy_;
    QToolButton* btnPaste_;
    QToolButton* btnReport_;
    QToolButton* btnPodbor_;
    QToolButton* btnParPodbor_;
    QToolButton* btnUndoPodbor_;
    QToolButton* btnAutoScore_;
    QToolButton* btnLinkRo_;
    QToolButton* btnLinkParam_;
    QToolButton* btnFormula_;
    QToolButton* btnEU_;
    QToolButton* btnPicture_;
    QToolButton* btnMemo_;
    QToolButton* btnKI_;
    QToolButton* btnGrunt_;
    QToolButton* btnKP_;
    QToolButton* btnMaterial_;
    QToolButton* btnKorGrunt_;
    QToolButton* speedButton1_;
    QProgressBar* gauge1_;
    QToolButton* btnBreak_;
    QToolButton* btnClose_;
};

} // namespace kz
