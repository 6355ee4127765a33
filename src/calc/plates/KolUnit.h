#pragma once

#include "calc/core/CalculatorWindow.h"

namespace kz {

// "Кольцевой заземлитель у поверхности земли.": a ring of diameter D laid near the surface, the
// section of diameter d from the construction frame; D is its only input of its own.
class TKolForm : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TKolForm(DataModule& data, QWidget* parent = nullptr);

    QLineEdit* EditDiam() const { return geometryEdit(QStringLiteral("EditDiam")); }

protected:
    bool CheckGeometry(bool show) override;
    std::optional<long double> ComputeResult() override;
    void ShowCalcOrder() override;

private:
    long double usedDiameter_ = 0;
};

} // namespace kz
