#pragma once

#include <QList>

namespace kz {

class Calculator;

// Every calculator, in the order of their menu items.
const QList<const Calculator*>& builtCalculators();
// The calculator of a window class; nullptr when it is not built.
const Calculator* findCalculator(const QString& className);

} // namespace kz
