#include "DKolUnt.h"

#include "DKolCalc.h"
#include "frames/NumberText.h"
#include "frames/Procedur.h"
#include "frames/pFrame.h"

#include <QLabel>
#include <QLineEdit>

namespace kz {

namespace {
// The number in an input that passes the positive check, silently; nullopt otherwise.
std::optional<long double> positive(QLineEdit* edit) {
    if (!CheckPositive(edit, {}, false))
        return std::nullopt;
    return parseNumber(edit->text());
}
} // namespace

TDKolForm::TDKolForm(DataModule& data, QWidget* parent)
    : CalculatorWindow(dkol::descriptor(), data, parent) {}

bool TDKolForm::CheckGeometry(bool show) {
    const auto d = diameter();
    if (!d || *d <= 0)
        return fail(QString::fromUtf8("Введите значение диаметра заземлителя."), show);
    const auto error =
        dkol::geometryError(*d, *number(QStringLiteral("EditDiam")), *number(QStringLiteral("EditGlub")));
    return error ? fail(*error, show) : true;
}

std::optional<long double> TDKolForm::ComputeResult() {
    const auto p0 = number(QStringLiteral("EditRo0"));
    const auto kp = number(QStringLiteral("EditPKV"));
    const auto ringD = number(QStringLiteral("EditDiam"));
    const auto t = number(QStringLiteral("EditGlub"));
    const auto d = diameter();
    if (!p0 || !kp || !ringD || !t || !d)
        return std::nullopt;
    usedDiameter_ = *d;
    const dkol::Resistance r = dkol::ComputeResistance(*p0, *kp, *ringD, *d, *t);
    p_ = r.p;
    return r.r;
}

void TDKolForm::ShowCalcOrder() {
    // The resistivity the formula used is shown beside the soil.
    pFrame()->EditRo()->setText(formatGeneral(p_));
    setCalcOrderLines({dkol::calcOrderLine(pFrame()->EditRo()->text(), EditDiam()->text(), usedDiameter_,
                                           EditGlub()->text(), EditVS1()->text())});
}

void TDKolForm::LinkParameters(QWidget* changed) {
    const auto ringD = positive(EditDiam());
    const auto t = positive(EditGlub());
    if (!ringD || !t)
        return;
    if (changed == EditDiam()) {
        if (const auto moved = dkol::linkedDepth(*ringD, *t))
            setLinkedInput(QStringLiteral("EditGlub"), formatGeneral(*moved));
    } else if (changed == EditGlub()) {
        if (const auto moved = dkol::linkedDiameter(*ringD, *t))
            setLinkedInput(QStringLiteral("EditDiam"), formatGeneral(*moved));
    }
}

QString TDKolForm::RangeLabelText(const QString& label) {
    if (label == QLatin1String("lblRangeD"))
        return dkol::diameterRangeText(positive(EditGlub()), diameter().value_or(0));
    if (label == QLatin1String("lblRangeT"))
        return dkol::depthRangeText(positive(EditDiam()));
    return CalculatorWindow::RangeLabelText(label);
}

bool TDKolForm::SelectionAdmissible() {
    const auto ringD = number(QStringLiteral("EditDiam"));
    const auto t = number(QStringLiteral("EditGlub"));
    const auto d = diameter();
    return ringD && t && d && dkol::selectionAdmissible(*ringD, *t, *d, singleParameterRun());
}

void TDKolForm::SelectionValueApplied(const QString& input, QMap<QString, long double>& values) {
    // Only the single-parameter run moves the depth with the diameter; the nested run keeps it.
    const QString ringD = QStringLiteral("EditDiam");
    const QString t = QStringLiteral("EditGlub");
    if (!singleParameterRun() || input != ringD || !linkingOn() || !values.contains(t))
        return;
    if (const auto moved = dkol::selectionLinkedDepth(values.value(ringD), values.value(t)))
        values.insert(t, *moved);
}

} // namespace kz
