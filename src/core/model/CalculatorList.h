#pragma once

#include <QList>

namespace kz {

class Calculator;

// Every calculator built so far, in no particular order.
const QList<const Calculator*>& builtCalculators();
// The calculator of a window class; nullptr when it is not built.
const Calculator* findCalculator(const QString& className);

} // namespace kz
