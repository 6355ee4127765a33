#include "Set1_Unt.h"

#include "Set1Calc.h"
#include "frames/NumberText.h"
#include "frames/Procedur.h"
#include "frames/pFrame.h"

#include <QLineEdit>
#include <QSpinBox>

namespace kz {

TSet1_Frm::TSet1_Frm(DataModule& data, QWidget* parent)
    : CalculatorWindow(set1::descriptor(), data, parent) {}

void TSet1_Frm::UpdateGridGeometry() {
    if (!CheckPositive(EditDlina(), {}, false) || !CheckPositive(EditShir(), {}, false)) {
        EditS()->clear();
        EditL()->clear();
        return;
    }
    const auto g = set1::gridGeometry(*parseNumber(EditDlina()->text()), *parseNumber(EditShir()->text()),
                                      SpinKolGor()->value(), SpinKolVert()->value());
    EditS()->setText(formatGeneral(g.s));
    EditL()->setText(formatGeneral(g.l));
}

bool TSet1_Frm::CheckGeometry(bool) {
    // The counts' own limits keep them above 0; a run's values are checked the same way.
    const auto ng = number(QStringLiteral("SpinKolGor"));
    const auto nv = number(QStringLiteral("SpinKolVert"));
    return ng && nv && *ng > 0 && *nv > 0;
}

std::optional<long double> TSet1_Frm::ComputeResult() {
    if (!selectionRunning())
        UpdateGridGeometry();
    const auto p0 = number(QStringLiteral("EditRo0"));
    const auto kp = number(QStringLiteral("EditPKV"));
    const auto s = number(QStringLiteral("EditS"));
    const auto l = number(QStringLiteral("EditL"));
    if (!p0 || !kp || !s || !l)
        return std::nullopt;
    // A grid too small for two decimals has S = 0: no number to show, the window says so.
    return set1::ComputeResistance(*p0, *kp, *s, *l).r;
}

void TSet1_Frm::ShowCalcOrder() {
    setCalcOrderLines({set1::calcOrderLine(pFrame()->EditRo()->text(), EditS()->text(), EditL()->text(),
                                           EditVS1()->text())});
}

void TSet1_Frm::GeometryChanged(QWidget* input) {
    if (input == EditDlina() || input == EditShir() || input == SpinKolGor() || input == SpinKolVert())
        UpdateGridGeometry();
}

void TSet1_Frm::DeriveSelectionValues(QMap<QString, long double>& values) {
    const QString a = QStringLiteral("EditDlina");
    const QString b = QStringLiteral("EditShir");
    const QString ng = QStringLiteral("SpinKolGor");
    const QString nv = QStringLiteral("SpinKolVert");
    if (!values.contains(a) || !values.contains(b) || !values.contains(ng) || !values.contains(nv))
        return;
    const auto g = set1::gridGeometry(values.value(a), values.value(b), values.value(ng), values.value(nv));
    values.insert(QStringLiteral("EditS"), g.s);
    values.insert(QStringLiteral("EditL"), g.l);
}

} // namespace kz
