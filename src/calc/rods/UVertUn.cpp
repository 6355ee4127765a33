#include "UVertUn.h"

#include "UVertCalc.h"
#include "frames/pFrame.h"

#include <QLineEdit>

namespace kz {

TUVertFm::TUVertFm(DataModule& data, QWidget* parent) : CalculatorWindow(uvert::descriptor(), data, parent) {}

bool TUVertFm::CheckGeometry(bool show) {
    const auto d = diameter();
    if (!d || *d <= 0)
        return fail(QString::fromUtf8("Введите значение диаметра заземлителя."), show);
    const auto error = uvert::geometryError(*d, *number(QStringLiteral("EditDlina")));
    return error ? fail(*error, show) : true;
}

std::optional<long double> TUVertFm::ComputeResult() {
    const auto p0 = number(QStringLiteral("EditRo0"));
    const auto kp = number(QStringLiteral("EditPKV"));
    const auto l = number(QStringLiteral("EditDlina"));
    const auto d = diameter();
    if (!p0 || !kp || !l || !d)
        return std::nullopt;
    usedDiameter_ = *d;
    return uvert::ComputeResistance(*p0, *kp, *l, *d).r;
}

void TUVertFm::ShowCalcOrder() {
    setCalcOrderLines({uvert::calcOrderLine(pFrame()->EditRo()->text(), EditDlina()->text(), usedDiameter_,
                                            EditVS1()->text())});
}

} // namespace kz
