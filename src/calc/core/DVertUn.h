#pragma once

#include "CalculatorWindow.h"

namespace kz {

// "Вертикальный заземлитель в земле.": a single vertical rod in uniform soil whose top lies To
// below the surface. The rod's length L, the depth To (never stepped below 0,5) and the derived
// depth of its middle T = L/2 + To; the construction frame gives the diameter D.
class TDVertFm : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TDVertFm(DataModule& data, QWidget* parent = nullptr);

    QLineEdit* EditDlina() const { return geometryEdit(QStringLiteral("EditDlina")); }
    QLineEdit* EditGlub() const { return geometryEdit(QStringLiteral("EditGlub")); }
    QLineEdit* EditT() const { return geometryEdit(QStringLiteral("EditT")); }

protected:
    bool CheckGeometry(bool show) override;
    std::optional<long double> ComputeResult() override;
    void ShowCalcOrder() override;
    void GeometryChanged(QWidget* input) override;
    bool AllowStepDown(QWidget* input, double step) override;
    void DeriveSelectionValues(QMap<QString, long double>& values) override;

private:
    long double usedDiameter_ = 0;
};

} // namespace kz
