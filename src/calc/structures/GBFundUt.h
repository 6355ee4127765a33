#pragma once

#include "calc/core/CalculatorWindow.h"
#include "reference/PekvUnit.h"

class QCheckBox;

namespace kz {

// "Железобетонный фундамент здания.": the reinforced-concrete foundation of a production building
// from its area inside the perimeter (typed, or the product of its length and width) and the
// equivalent resistivity of the soil, typed or computed from two soil layers.
class TGBFundFm : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TGBFundFm(DataModule& data, QWidget* parent = nullptr);

    QLineEdit* EditPekv() const { return geometryEdit(QStringLiteral("EditPekv")); }
    QLineEdit* EditA() const { return geometryEdit(QStringLiteral("EditA")); }
    QLineEdit* EditB() const { return geometryEdit(QStringLiteral("EditB")); }
    QLineEdit* EditS() const { return geometryEdit(QStringLiteral("EditS")); }
    QToolButton* btnPekv() const { return geometryButton(QStringLiteral("btnPekv")); }
    QCheckBox* chkPekv() const { return chkPekv_; }

    // btnPekv: the two-layer soil dialog, its resistivity for the area S.
    void runEquivalentResistivity();

protected:
    bool CheckGeometry(bool show) override;
    std::optional<long double> ComputeResult() override;
    void ShowCalcOrder() override;
    void GeometryChanged(QWidget* input) override;
    void DeriveSelectionValues(QMap<QString, long double>& values) override;
    QList<SelectionParameter> SelectionOffer() const override;
    bool PrepareSingleSelection(const SelectionParameter& parameter) override;

private:
    void forgetEquivalentComputation();

    QCheckBox* chkPekv_;
    EquivalentResistivityLink pekvLink_;
};

} // namespace kz
