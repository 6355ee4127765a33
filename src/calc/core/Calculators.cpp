#include "CalculatorRegistry.h"

#include "DVertUn.h"
#include "calc/complex/Set1_Unt.h"
#include "calc/plates/DKolUnt.h"
#include "calc/plates/KolUnit.h"
#include "calc/rods/UVertUn.h"
#include "calc/structures/GBFundUt.h"
#include "calc/structures/TruboUn.h"
#include "data/DataModule.h"

namespace kz {

namespace {
template <typename Window> void add(CalculatorRegistry& registry, const char* className) {
    registry.setFactory(
        QString::fromLatin1(className),
        [](CalculatorEnvironment& env, QWidget* parent) -> QDialog* { return new Window(env.data, parent); });
}
} // namespace

// Each calculator built so far adds its factory here; the others stay disabled in the menu.
void registerBuiltCalculators(CalculatorRegistry& registry) {
    add<TDVertFm>(registry, "TDVertFm");
    add<TUVertFm>(registry, "TUVertFm");
    add<TTruboFm>(registry, "TTruboFm");
    add<TGBFundFm>(registry, "TGBFundFm");
    add<TSet1_Frm>(registry, "TSet1_Frm");
    add<TDKolForm>(registry, "TDKolForm");
    add<TKolForm>(registry, "TKolForm");
}

} // namespace kz
