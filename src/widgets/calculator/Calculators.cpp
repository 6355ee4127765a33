#include "widgets/calculator/CalculatorRegistry.h"

#include "core/model/Calculator.h"
#include "core/calculators/CalculatorList.h"
#include "widgets/calculator/CalculatorWindow.h"

namespace kz {

// Every calculator built has a menu item that opens the one calculator window on it; the others
// stay disabled.
void registerBuiltCalculators(CalculatorRegistry& registry) {
    for (const Calculator* c : builtCalculators())
        registry.setFactory(c->description().className,
                            [c](CalculatorEnvironment& env, QWidget* parent) -> QDialog* {
                                return new CalculatorWindow(*c, env.data, parent);
                            });
}

} // namespace kz
