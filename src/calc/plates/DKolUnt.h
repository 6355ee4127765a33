#pragma once

#include "calc/core/CalculatorWindow.h"

class QLabel;

namespace kz {

// "Кольцевой заземлитель в земле.": a ring of diameter D buried at depth T, the section of
// diameter d from the construction frame. D and T bound each other (D > 2T): range labels show
// each one's admissible values for the other, and with linking on a typed value moves the other.
class TDKolForm : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TDKolForm(DataModule& data, QWidget* parent = nullptr);

    QLineEdit* EditDiam() const { return geometryEdit(QStringLiteral("EditDiam")); }
    QLineEdit* EditGlub() const { return geometryEdit(QStringLiteral("EditGlub")); }
    QLabel* lblRangeD() const { return rangeLabel(QStringLiteral("lblRangeD")); }
    QLabel* lblRangeT() const { return rangeLabel(QStringLiteral("lblRangeT")); }

protected:
    bool CheckGeometry(bool show) override;
    std::optional<long double> ComputeResult() override;
    void ShowCalcOrder() override;
    void LinkParameters(QWidget* changed) override;
    QString RangeLabelText(const QString& label) override;
    bool SelectionAdmissible() override;
    void SelectionValueApplied(const QString& input, QMap<QString, long double>& values) override;

private:
    long double usedDiameter_ = 0;
    long double p_ = 0;
};

} // namespace kz
