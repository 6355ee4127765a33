#pragma once

#include "core/calculators/complex/Set1Calc.h"
#include "widgets/calculator/CalculatorWindow.h"
#include "core/calculators/rods/DVertCalc.h"
#include "core/calculators/plates/DKolCalc.h"
#include "core/calculators/plates/DKrugCalc.h"
#include "core/calculators/plates/KolCalc.h"
#include "core/calculators/plates/PSferaCalc.h"
#include "core/calculators/plates/PrPlastCalc.h"
#include "core/calculators/plates/SferaCalc.h"
#include "core/calculators/plates/UKrugCalc.h"
#include "core/calculators/plates/UKvadCalc.h"
#include "core/calculators/rods/GorizCalc.h"
#include "core/calculators/rods/LuchCalc.h"
#include "core/calculators/rods/ParalCalc.h"
#include "core/calculators/rods/UGorizCalc.h"
#include "core/calculators/rods/UVertCalc.h"
#include "core/calculators/structures/EstakCalc.h"
#include "core/calculators/structures/GBFundCalc.h"
#include "core/calculators/structures/TruboCalc.h"

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
