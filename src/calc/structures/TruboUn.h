#pragma once

#include "calc/core/CalculatorWindow.h"

class QComboBox;
class QLabel;

namespace kz {

// "Трубопровод в земле.": a buried steel pipeline as a grounding device. Its length L, the pipe's
// outer diameter D chosen from truboprov.DB and the depth T; no construction frame. With the
// linked-parameter toggle down a diameter at or above L moves L to D + 0,1.
class TTruboFm : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TTruboFm(DataModule& data, QWidget* parent = nullptr);

    QLineEdit* EditDlina() const { return geometryEdit(QStringLiteral("EditDlina")); }
    QLineEdit* EditGlub() const { return geometryEdit(QStringLiteral("EditGlub")); }
    QComboBox* cmbDiam() const { return geometryChoice(QStringLiteral("cmbDiam")); }
    QLabel* lblRangeL() const;

protected:
    bool CheckGeometry(bool show) override;
    std::optional<long double> ComputeResult() override;
    void ShowCalcOrder() override;
    void GeometryChanged(QWidget* input) override;
    void LinkParametersPressed() override;

private:
    // cmbDiamChange before the tail: the linked length, then the range label.
    void applyLinkedLength();
    void UpdateRangeLabel();
};

} // namespace kz
