#include "CalculatorRegistry.h"

#include "DVertUn.h"
#include "data/DataModule.h"

namespace kz {

// Each calculator built so far adds its factory here; the others stay disabled in the menu.
void registerBuiltCalculators(CalculatorRegistry& registry) {
    registry.setFactory(QStringLiteral("TDVertFm"),
                        [](CalculatorEnvironment& env, QWidget* parent) -> QDialog* {
                            return new TDVertFm(env.data, parent);
                        });
}

} // namespace kz
