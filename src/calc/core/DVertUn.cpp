#include "DVertUn.h"

#include "CalcCommon.h"
#include "DVertCalc.h"
#include "frames/NumberText.h"
#include "frames/Procedur.h"
#include "frames/pFrame.h"

#include <QLineEdit>

namespace kz {

TDVertFm::TDVertFm(DataModule& data, QWidget* parent) : CalculatorWindow(dvert::descriptor(), data, parent) {}

bool TDVertFm::CheckGeometry(bool show) {
    const auto d = diameter();
    if (!d || *d <= 0)
        return fail(QString::fromUtf8("Введите значение диаметра заземлителя."), show);
    const auto error =
        dvert::geometryError(*d, *number(QStringLiteral("EditDlina")), *number(QStringLiteral("EditGlub")));
    return error ? fail(*error, show) : true;
}

std::optional<long double> TDVertFm::ComputeResult() {
    const auto p0 = number(QStringLiteral("EditRo0"));
    const auto kp = number(QStringLiteral("EditPKV"));
    const auto l = number(QStringLiteral("EditDlina"));
    const auto to = number(QStringLiteral("EditGlub"));
    const auto d = diameter();
    if (!p0 || !kp || !l || !to || !d)
        return std::nullopt;
    if (!isShowableResult(dvert::middleDepth(*l, *to)))
        return std::nullopt;
    usedDiameter_ = *d;
    // A selection run works with T as it writes it back, rounded to hundredths.
    const auto t = selectionRunning() ? number(QStringLiteral("EditT")) : dvert::middleDepth(*l, *to);
    return dvert::ComputeResistance(*p0, *kp, *l, *d, *t).r;
}

void TDVertFm::ShowCalcOrder() {
    setCalcOrderLines({dvert::calcOrderLine(pFrame()->EditRo()->text(), EditDlina()->text(), usedDiameter_,
                                            EditT()->text(), EditVS1()->text())});
}

void TDVertFm::GeometryChanged(QWidget* input) {
    if (input != EditDlina() && input != EditGlub())
        return;
    if (!CheckPositive(EditDlina(), {}, false) || !CheckPositive(EditGlub(), {}, false)) {
        EditT()->clear();
        return;
    }
    const long double l = *parseNumber(EditDlina()->text());
    const long double to = *parseNumber(EditGlub()->text());
    // A depth beyond any shown number stays empty; the calculation says why.
    if (isShowableResult(dvert::middleDepth(l, to)))
        EditT()->setText(dvert::middleDepthText(l, to));
    else
        EditT()->clear();
}

void TDVertFm::DeriveSelectionValues(QMap<QString, long double>& values) {
    const QString l = QStringLiteral("EditDlina");
    const QString to = QStringLiteral("EditGlub");
    if (values.contains(l) && values.contains(to))
        values.insert(QStringLiteral("EditT"),
                      roundTo(dvert::middleDepth(values.value(l), values.value(to)), 2));
}

bool TDVertFm::AllowStepDown(QWidget* input, double step) {
    if (input != EditGlub())
        return true;
    const QString text = EditGlub()->text();
    const auto to = parseNumber(text);
    // A text that is no number is left to the stepping, which reports it; an empty one stays empty.
    if (!to)
        return !text.isEmpty();
    return dvert::canStepDownDepth(*to, step);
}

} // namespace kz
