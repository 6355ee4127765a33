#pragma once

#include "calc/complex/Set1Calc.h"
#include "calc/core/CalculatorWindow.h"
#include "calc/core/DVertCalc.h"
#include "calc/plates/DKolCalc.h"
#include "calc/plates/DKrugCalc.h"
#include "calc/plates/KolCalc.h"
#include "calc/plates/PSferaCalc.h"
#include "calc/plates/PrPlastCalc.h"
#include "calc/plates/SferaCalc.h"
#include "calc/plates/UKrugCalc.h"
#include "calc/plates/UKvadCalc.h"
#include "calc/rods/GorizCalc.h"
#include "calc/rods/LuchCalc.h"
#include "calc/rods/ParalCalc.h"
#include "calc/rods/UGorizCalc.h"
#include "calc/rods/UVertCalc.h"
#include "calc/structures/EstakCalc.h"
#include "calc/structures/GBFundCalc.h"
#include "calc/structures/TruboCalc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

namespace kz {

// The calculator window on one calculator, made the way a test makes a window of a class, with
// its controls reached by their object names.
template <const Calculator& (*Of)()> class CalculatorWindowOf : public CalculatorWindow {
public:
    explicit CalculatorWindowOf(DataModule& data, QWidget* parent = nullptr) : CalculatorWindow(Of(), data, parent) {}

    QLineEdit* EditDlina() const { return edit("EditDlina"); }
    QLineEdit* EditGlub() const { return edit("EditGlub"); }
    QLineEdit* EditT() const { return edit("EditT"); }
    QLineEdit* EditDiam() const { return edit("EditDiam"); }
    QLineEdit* EditShir() const { return edit("EditShir"); }
    QLineEdit* EditS() const { return edit("EditS"); }
    QLineEdit* EditL() const { return edit("EditL"); }
    QLineEdit* EditA() const { return edit("EditA"); }
    QLineEdit* EditB() const { return edit("EditB"); }
    QLineEdit* EditPekv() const { return edit("EditPekv"); }
    QComboBox* cmbDiam() const { return geometryChoice(QStringLiteral("cmbDiam")); }
    QSpinBox* SpinKolGor() const { return geometrySpin(QStringLiteral("SpinKolGor")); }
    QSpinBox* SpinKolVert() const { return geometrySpin(QStringLiteral("SpinKolVert")); }
    QLabel* lblRangeD() const { return rangeLabel(QStringLiteral("lblRangeD")); }
    QLabel* lblRangeT() const { return rangeLabel(QStringLiteral("lblRangeT")); }
    QLabel* lblRangeL() const { return rangeLabel(QStringLiteral("lblRangeL")); }
    QLabel* lblRangeA() const { return rangeLabel(QStringLiteral("lblRangeA")); }
    QLabel* lblRangeB() const { return rangeLabel(QStringLiteral("lblRangeB")); }
    QCheckBox* chkPekv() const { return findChild<QCheckBox*>(QStringLiteral("chkPekv")); }
    QToolButton* btnPekv() const { return geometryButton(QStringLiteral("btnPekv")); }

private:
    QLineEdit* edit(const char* name) const { return geometryEdit(QString::fromLatin1(name)); }
};

using TDVertFm = CalculatorWindowOf<&dvert::calculator>;
using TLuchForm = CalculatorWindowOf<&luch::calculator>;
using TParalFm = CalculatorWindowOf<&paral::calculator>;
using TUVertFm = CalculatorWindowOf<&uvert::calculator>;
using TKolForm = CalculatorWindowOf<&kol::calculator>;
using TDKolForm = CalculatorWindowOf<&dkol::calculator>;
using TTruboFm = CalculatorWindowOf<&trubo::calculator>;
using TSet1_Frm = CalculatorWindowOf<&set1::calculator>;
using TGBFundFm = CalculatorWindowOf<&gbfund::calculator>;
using TDKrugFrm = CalculatorWindowOf<&dkrug::calculator>;
using TUKrugFrm = CalculatorWindowOf<&ukrug::calculator>;
using TSferaFrm = CalculatorWindowOf<&sfera::calculator>;
using TPSferaFm = CalculatorWindowOf<&psfera::calculator>;
using TPrPlastF = CalculatorWindowOf<&prplast::calculator>;
using TUKvadFrm = CalculatorWindowOf<&ukvad::calculator>;
using TGorizFm = CalculatorWindowOf<&goriz::calculator>;
using TUGorizFm = CalculatorWindowOf<&ugoriz::calculator>;
using TEstakFm = CalculatorWindowOf<&estak::calculator>;

} // namespace kz
