#pragma once

#include "calc/core/CalculatorWindow.h"

class QSpinBox;

namespace kz {

// "Сетка из горизонтальных электродов на поверхности земли.": Nг × Nв cells of length A and
// width B laid on the surface. The grid's area S and electrode length L are shown as derived
// values and enter the formula as shown; there is no construction frame and no geometric
// condition.
class TSet1_Frm : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TSet1_Frm(DataModule& data, QWidget* parent = nullptr);

    QLineEdit* EditDlina() const { return geometryEdit(QStringLiteral("EditDlina")); }
    QLineEdit* EditShir() const { return geometryEdit(QStringLiteral("EditShir")); }
    QSpinBox* SpinKolGor() const { return geometrySpin(QStringLiteral("SpinKolGor")); }
    QSpinBox* SpinKolVert() const { return geometrySpin(QStringLiteral("SpinKolVert")); }
    QLineEdit* EditS() const { return geometryEdit(QStringLiteral("EditS")); }
    QLineEdit* EditL() const { return geometryEdit(QStringLiteral("EditL")); }

    // EditS and EditL from A, B, Nг and Nв; emptied while A or B is no positive number.
    void UpdateGridGeometry();

protected:
    bool CheckGeometry(bool show) override;
    std::optional<long double> ComputeResult() override;
    void ShowCalcOrder() override;
    void GeometryChanged(QWidget* input) override;
    void DeriveSelectionValues(QMap<QString, long double>& values) override;
};

} // namespace kz
