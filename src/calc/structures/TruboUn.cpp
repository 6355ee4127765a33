#include "TruboUn.h"

#include "TruboCalc.h"
#include "frames/NumberText.h"
#include "frames/btnFrame.h"
#include "frames/pFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace kz {

TTruboFm::TTruboFm(DataModule& data, QWidget* parent) : CalculatorWindow(trubo::descriptor(), data, parent) {}

QLabel* TTruboFm::lblRangeL() const {
    return findChild<QLabel*>(QStringLiteral("lblRangeL"));
}

bool TTruboFm::CheckGeometry(bool show) {
    const auto d = number(QStringLiteral("cmbDiam"));
    const auto l = number(QStringLiteral("EditDlina"));
    const auto t = number(QStringLiteral("EditGlub"));
    // The input checks have reported any of them missing.
    if (!d || !l || !t)
        return false;
    const auto error = trubo::geometryError(*d, *l, *t);
    return error ? fail(*error, show) : true;
}

std::optional<long double> TTruboFm::ComputeResult() {
    const auto p0 = number(QStringLiteral("EditRo0"));
    const auto kp = number(QStringLiteral("EditPKV"));
    const auto l = number(QStringLiteral("EditDlina"));
    const auto d = number(QStringLiteral("cmbDiam"));
    const auto t = number(QStringLiteral("EditGlub"));
    if (!p0 || !kp || !l || !d || !t)
        return std::nullopt;
    return trubo::ComputeResistance(*p0, *kp, *l, *d, *t).r;
}

void TTruboFm::ShowCalcOrder() {
    setCalcOrderLines(
        {trubo::calcOrderLine(pFrame()->EditRo()->text(), EditDlina()->text(), cmbDiam()->currentText(),
                              EditGlub()->text(), EditVS1()->text())});
}

void TTruboFm::GeometryChanged(QWidget* input) {
    if (input == cmbDiam())
        applyLinkedLength();
    // Activation runs this too: the label follows the diameter chosen there.
    UpdateRangeLabel();
}

void TTruboFm::LinkParametersPressed() {
    // As if the diameter had just been chosen.
    GeometryChanged(cmbDiam());
    ChangeTail();
}

void TTruboFm::applyLinkedLength() {
    if (!ButtonFrame1()->btnLinkParam()->isChecked())
        return;
    const auto d = parseNumber(cmbDiam()->currentText());
    const auto l = parseNumber(EditDlina()->text());
    if (!d || !l)
        return;
    if (const auto linked = trubo::linkedLength(*d, *l))
        assignWithoutTail(EditDlina(), formatGeneral(*linked));
}

void TTruboFm::UpdateRangeLabel() {
    if (QLabel* label = lblRangeL())
        label->setText(trubo::rangeText(cmbDiam()->currentText()));
}

} // namespace kz
