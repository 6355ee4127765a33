#include "CalculatorList.h"

#include "Calculator.h"
#include "DVertCalc.h"
#include "calc/complex/Set1Calc.h"
#include "calc/complex/Set2Calc.h"
#include "calc/plates/DKolCalc.h"
#include "calc/plates/DKrugCalc.h"
#include "calc/plates/DPlRebro2Calc.h"
#include "calc/plates/DPlRebroCalc.h"
#include "calc/plates/KolCalc.h"
#include "calc/plates/PSferaCalc.h"
#include "calc/plates/PrPlastCalc.h"
#include "calc/plates/SferaCalc.h"
#include "calc/plates/UKrugCalc.h"
#include "calc/plates/UKvadCalc.h"
#include "calc/rods/Goriz2Calc.h"
#include "calc/rods/GorizCalc.h"
#include "calc/rods/LuchCalc.h"
#include "calc/rods/ParalCalc.h"
#include "calc/rods/UGorizCalc.h"
#include "calc/rods/UVert2Calc.h"
#include "calc/rods/UVertCalc.h"
#include "calc/rods/Vert2Calc.h"
#include "calc/rods/Vert2_1Calc.h"
#include "calc/structures/EstakCalc.h"
#include "calc/structures/GBFundCalc.h"
#include "calc/structures/MKFundCalc.h"
#include "calc/structures/TruboCalc.h"

namespace kz {

const QList<const Calculator*>& builtCalculators() {
    static const QList<const Calculator*> all = {
        &dvert::calculator(), &uvert::calculator(), &kol::calculator(),    &dkol::calculator(),
        &trubo::calculator(), &set1::calculator(),  &gbfund::calculator(), &dkrug::calculator(),
        &ukrug::calculator(), &sfera::calculator(), &psfera::calculator(), &prplast::calculator(),
        &ukvad::calculator(),
        &goriz::calculator(), &ugoriz::calculator(), &dplrebro::calculator(), &dplrebro2::calculator(),
        &set2::calculator(),
        &luch::calculator(), &paral::calculator(),
        &vert2::calculator(), &vert2_1::calculator(), &uvert2::calculator(), &goriz2::calculator(),
        &estak::calculator(), &mkfund::calculator(),
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
