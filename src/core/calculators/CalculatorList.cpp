#include "core/calculators/CalculatorList.h"

#include "core/calculators/complex/Set1Calc.h"
#include "core/calculators/complex/Set2Calc.h"
#include "core/calculators/complex/Set3Calc.h"
#include "core/calculators/complex/StandCalc.h"
#include "core/calculators/plates/DKolCalc.h"
#include "core/calculators/plates/DKrugCalc.h"
#include "core/calculators/plates/DPlRebro2Calc.h"
#include "core/calculators/plates/DPlRebroCalc.h"
#include "core/calculators/plates/KolCalc.h"
#include "core/calculators/plates/PSferaCalc.h"
#include "core/calculators/plates/PrPlastCalc.h"
#include "core/calculators/plates/SferaCalc.h"
#include "core/calculators/plates/UKrugCalc.h"
#include "core/calculators/plates/UKvadCalc.h"
#include "core/calculators/rods/DVertCalc.h"
#include "core/calculators/rods/Goriz2Calc.h"
#include "core/calculators/rods/GorizCalc.h"
#include "core/calculators/rods/LuchCalc.h"
#include "core/calculators/rods/ParalCalc.h"
#include "core/calculators/rods/UGorizCalc.h"
#include "core/calculators/rods/UVert2Calc.h"
#include "core/calculators/rods/UVertCalc.h"
#include "core/calculators/rods/Vert2Calc.h"
#include "core/calculators/rods/Vert2_1Calc.h"
#include "core/calculators/structures/EstakCalc.h"
#include "core/calculators/structures/FundCalc.h"
#include "core/calculators/structures/GBFundCalc.h"
#include "core/calculators/structures/MKFundCalc.h"
#include "core/calculators/structures/TruboCalc.h"
#include "core/model/Calculator.h"

namespace kz {

const QList<const Calculator*>& builtCalculators() {
    // In the order of their menu items.
    static const QList<const Calculator*> all = {
        &dkol::calculator(),     &kol::calculator(),       &dkrug::calculator(),   &ukrug::calculator(),
        &dplrebro::calculator(), &dplrebro2::calculator(), &prplast::calculator(), &ukvad::calculator(),
        &sfera::calculator(),    &psfera::calculator(),    &goriz::calculator(),   &goriz2::calculator(),
        &ugoriz::calculator(),   &dvert::calculator(),     &vert2::calculator(),   &vert2_1::calculator(),
        &uvert::calculator(),    &uvert2::calculator(),    &stand::calculator(),   &set1::calculator(),
        &set2::calculator(),     &set3::calculator(),      &luch::calculator(),    &paral::calculator(),
        &fund::calculator(),     &gbfund::calculator(),    &mkfund::calculator(),  &trubo::calculator(),
        &estak::calculator(),
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
