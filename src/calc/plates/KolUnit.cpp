#include "KolUnit.h"

#include "KolCalc.h"
#include "frames/pFrame.h"

#include <QLineEdit>

namespace kz {

TKolForm::TKolForm(DataModule& data, QWidget* parent) : CalculatorWindow(kol::descriptor(), data, parent) {}

bool TKolForm::CheckGeometry(bool show) {
    const auto d = diameter();
    if (!d || *d <= 0)
        return fail(QString::fromUtf8("Введите значение диаметра заземлителя."), show);
    const auto error = kol::geometryError(*d, *number(QStringLiteral("EditDiam")));
    return error ? fail(*error, show) : true;
}

std::optional<long double> TKolForm::ComputeResult() {
    const auto p0 = number(QStringLiteral("EditRo0"));
    const auto kp = number(QStringLiteral("EditPKV"));
    const auto ringD = number(QStringLiteral("EditDiam"));
    const auto d = diameter();
    if (!p0 || !kp || !ringD || !d)
        return std::nullopt;
    usedDiameter_ = *d;
    return kol::ComputeResistance(*p0, *kp, *ringD, *d).r;
}

void TKolForm::ShowCalcOrder() {
    setCalcOrderLines({kol::calcOrderLine(pFrame()->EditRo()->text(), EditDiam()->text(), usedDiameter_,
                                          EditVS1()->text())});
}

} // namespace kz
