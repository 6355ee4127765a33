#pragma once

#include "calc/core/CalculatorWindow.h"

namespace kz {

// "Вертикальный заземлитель у поверхности земли.": a single vertical rod whose top lies at the
// ground surface; its length L is the only input of its own.
class TUVertFm : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TUVertFm(DataModule& data, QWidget* parent = nullptr);

    QLineEdit* EditDlina() const { return geometryEdit(QStringLiteral("EditDlina")); }

protected:
    bool CheckGeometry(bool show) override;
    std::optional<long double> ComputeResult() override;
    void ShowCalcOrder() override;

private:
    long double usedDiameter_ = 0;
};

} // namespace kz
