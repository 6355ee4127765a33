#include "core/calculators/CalculatorList.h"

#include "core/calculators/complex/SurfaceGrid.h"
#include "core/calculators/complex/SquareGridWithRods.h"
#include "core/calculators/complex/BuriedLattice.h"
#include "core/calculators/complex/StandardDevice.h"
#include "core/calculators/plates/BuriedRing.h"
#include "core/calculators/plates/BuriedDisc.h"
#include "core/calculators/plates/EdgePlateTwoLayer.h"
#include "core/calculators/plates/BuriedEdgePlate.h"
#include "core/calculators/plates/RingAtSurface.h"
#include "core/calculators/plates/HemisphereAtSurface.h"
#include "core/calculators/plates/RectangularPlateAtSurface.h"
#include "core/calculators/plates/BuriedSphere.h"
#include "core/calculators/plates/DiscAtSurface.h"
#include "core/calculators/plates/SquarePlateAtSurface.h"
#include "core/calculators/rods/BuriedRod.h"
#include "core/calculators/rods/TwoLayerStrip.h"
#include "core/calculators/rods/BuriedStrip.h"
#include "core/calculators/rods/RadialElectrode.h"
#include "core/calculators/rods/ParallelStrips.h"
#include "core/calculators/rods/StripAtSurface.h"
#include "core/calculators/rods/TwoLayerRodAtSurface.h"
#include "core/calculators/rods/RodAtSurface.h"
#include "core/calculators/rods/TwoLayerRoundRod.h"
#include "core/calculators/rods/TwoLayerRodSplit.h"
#include "core/calculators/structures/Trestle.h"
#include "core/calculators/structures/ConcreteFoundations.h"
#include "core/calculators/structures/BuildingFoundation.h"
#include "core/calculators/structures/AnchorBoltField.h"
#include "core/calculators/structures/Pipeline.h"
#include "core/model/Calculator.h"

namespace kz {

const QList<const Calculator*>& builtCalculators() {
    // In the order of their menu items.
    static const QList<const Calculator*> all = {
        &buriedring::calculator(),     &ringatsurface::calculator(),       &burieddisc::calculator(),   &discatsurface::calculator(),
        &buriededgeplate::calculator(), &edgeplatetwolayer::calculator(), &rectangularplateatsurface::calculator(), &squareplateatsurface::calculator(),
        &buriedsphere::calculator(),    &hemisphereatsurface::calculator(),    &buriedstrip::calculator(),   &twolayerstrip::calculator(),
        &stripatsurface::calculator(),   &buriedrod::calculator(),     &twolayerroundrod::calculator(),   &twolayerrodsplit::calculator(),
        &rodatsurface::calculator(),    &twolayerrodatsurface::calculator(),    &standarddevice::calculator(),   &surfacegrid::calculator(),
        &squaregridwithrods::calculator(),     &buriedlattice::calculator(),      &radialelectrode::calculator(),    &parallelstrips::calculator(),
        &concretefoundations::calculator(),     &buildingfoundation::calculator(),    &anchorboltfield::calculator(),  &pipeline::calculator(),
        &trestle::calculator(),
    };
    return all;
}

const Calculator* findCalculator(const QString& className) {
    for (const Calculator* c : builtCalculators())
        if (c->description().className == className)
            return c;
    return nullptr;
}

} // namespace kz
