#include "CalculatorRegistry.h"

namespace kz {

// Each calculator built so far adds its factory here; the others stay disabled in the menu.
void registerBuiltCalculators(CalculatorRegistry& registry) {
    (void)registry;
}

} // namespace kz
