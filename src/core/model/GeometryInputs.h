#pragma once

#include "core/model/CalculatorDescriptor.h"

// The inputs many calculators describe the same way: sizes in metres and their steps.
namespace kz {

// 1, 0,1 and 0,01 m: the steps of most sizes.
QList<double> metreSteps();
// A size in metres with those steps; spinPrefix names its step buttons where it has a prefix.
GeometryInput metreInput(const QString& name, const QString& label, const QString& defaultText,
                         const QString& historyField, const QString& spinPrefix = {});
// An electrode's length L: 5 m, history field L.
GeometryInput electrodeLengthInput(const QString& name, const QString& label, const QString& spinPrefix);
// An electrode's depth T: 0,7 m, history field T, step buttons SpinButtonT.
GeometryInput electrodeDepthInput(const QString& name, const QString& label);

} // namespace kz
