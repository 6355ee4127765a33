#pragma once

#include "core/calculators/complex/SurfaceGrid.h"
#include "widgets/calculator/CalculatorWindow.h"
#include "core/calculators/rods/BuriedRod.h"
#include "core/calculators/plates/BuriedRing.h"
#include "core/calculators/plates/BuriedDisc.h"
#include "core/calculators/plates/RingAtSurface.h"
#include "core/calculators/plates/HemisphereAtSurface.h"
#include "core/calculators/plates/RectangularPlateAtSurface.h"
#include "core/calculators/plates/BuriedSphere.h"
#include "core/calculators/plates/DiscAtSurface.h"
#include "core/calculators/plates/SquarePlateAtSurface.h"
#include "core/calculators/rods/BuriedStrip.h"
#include "core/calculators/rods/RadialElectrode.h"
#include "core/calculators/rods/ParallelStrips.h"
#include "core/calculators/rods/StripAtSurface.h"
#include "core/calculators/rods/RodAtSurface.h"
#include "core/calculators/structures/Trestle.h"
#include "core/calculators/structures/BuildingFoundation.h"
#include "core/calculators/structures/Pipeline.h"

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

using TDVertFm = CalculatorWindowOf<&buriedrod::calculator>;
using TLuchForm = CalculatorWindowOf<&radialelectrode::calculator>;
using TParalFm = CalculatorWindowOf<&parallelstrips::calculator>;
using TUVertFm = CalculatorWindowOf<&rodatsurface::calculator>;
using TKolForm = CalculatorWindowOf<&ringatsurface::calculator>;
using TDKolForm = CalculatorWindowOf<&buriedring::calculator>;
using TTruboFm = CalculatorWindowOf<&pipeline::calculator>;
using TSet1_Frm = CalculatorWindowOf<&surfacegrid::calculator>;
using TGBFundFm = CalculatorWindowOf<&buildingfoundation::calculator>;
using TDKrugFrm = CalculatorWindowOf<&burieddisc::calculator>;
using TUKrugFrm = CalculatorWindowOf<&discatsurface::calculator>;
using TSferaFrm = CalculatorWindowOf<&buriedsphere::calculator>;
using TPSferaFm = CalculatorWindowOf<&hemisphereatsurface::calculator>;
using TPrPlastF = CalculatorWindowOf<&rectangularplateatsurface::calculator>;
using TUKvadFrm = CalculatorWindowOf<&squareplateatsurface::calculator>;
using TGorizFm = CalculatorWindowOf<&buriedstrip::calculator>;
using TUGorizFm = CalculatorWindowOf<&stripatsurface::calculator>;
using TEstakFm = CalculatorWindowOf<&trestle::calculator>;

} // namespace kz
