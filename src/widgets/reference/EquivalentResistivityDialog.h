#pragma once

#include "core/rules/PekvRules.h"
#include "core/session/FrameStates.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace kz {

class DataModule;
class SoilFrame;
class StoredFrameData;

// What a calculator keeps of its last confirmed two-layer soil: upper soil, its p0 and Kп, lower
// soil, its p0 and Kп, the upper layer's thickness H (texts, in this order; empty until the
// dialog was first confirmed from that calculator).
using PekvTexts = QStringList;

// "Эквивалентное удельное сопротивление грунта.": the upper and the lower soil layer, each on a
// soil frame of its own, and the thickness of the upper layer. The dialog holds both layers' states
// and its frames show them. OK is refused until both layers are filled, within their soils'
// ranges and differ by a factor of 2 at least.
class EquivalentResistivityDialog : public QDialog {
    Q_OBJECT
public:
    explicit EquivalentResistivityDialog(DataModule& data, QWidget* parent = nullptr);
    ~EquivalentResistivityDialog() override;

    // The calling calculator's saved texts to restore on activation; nullopt for a first use.
    void setHandOver(const std::optional<PekvTexts>& restore) { restore_ = restore; }
    // Both layers over the soils listed now: each keeps the soil, p0 and Kп last confirmed while that
    // soil is still listed, or takes the default soil; then the calculator's saved texts are
    // restored, or, for a first use, both coefficients set to 1.
    void activate();
    PekvTexts currentTexts() const;
    // The upper (0) or the lower (1) layer as it stands.
    const SoilState& layer(int i) const { return layers_[i]; }

    SoilFrame* pFrame1() const { return upper_; }
    SoilFrame* pFrame2() const { return lower_; }
    QLineEdit* EditH() const { return editH_; }
    QTabWidget* PageControl1() const { return pages_; }

    void done(int result) override;

private:
    bool checkBeforeClosing();
    SoilFrame* frame(int i) const { return i == 0 ? upper_ : lower_; }
    void showLayers();

    std::unique_ptr<StoredFrameData> reference_;
    QStringList soilNames_;
    std::array<SoilState, 2> layers_;
    std::array<SoilState, 2> confirmed_;
    std::optional<PekvTexts> restore_;
    QTabWidget* pages_;
    SoilFrame* upper_;
    SoilFrame* lower_;
    QLineEdit* editH_;
};

// The dialog every calculator shares, created on first use.
EquivalentResistivityDialog& sharedEquivalentResistivityDialog(DataModule& data, QWidget* calculator);

// A calculator's equivalent-resistivity command: remembers the calculator's last layers, runs the
// dialog and writes ρэ (two decimals) into the calculator's input.
class EquivalentResistivityLink {
public:
    EquivalentResistivityLink(DataModule& data, pekv::Form form) : data_(data), form_(form) {}

    // The structure's area in m² or length in km, read when the dialog is confirmed.
    using Size = std::function<std::optional<long double>()>;
    // False when the dialog was cancelled or the values could not give a resistivity; the layers
    // of a confirmed dialog are kept either way.
    bool run(QWidget* calculator, const Size& size);
    const PekvTexts& saved() const { return saved_; }
    // The layers of the last confirmed dialog as they stood on screen: ρ1, ρ2 (calculated
    // resistivities) and H; empty until then.
    const QStringList& lastLayers() const { return layers_; }
    // The equivalent resistivity of the last confirmed dialog, as it is shown; empty when none.
    const QString& lastResistivity() const { return resistivity_; }

private:
    DataModule& data_;
    pekv::Form form_;
    PekvTexts saved_;
    QStringList layers_;
    QString resistivity_;
};

} // namespace kz
