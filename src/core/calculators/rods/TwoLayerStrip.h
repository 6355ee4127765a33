#pragma once

#include "core/model/Calculator.h"

// A horizontal electrode 5 … 100 m long at depth 0,5 … 0,8 m in two-layer earth: R = A·p2 with A
// from gz2land.DB.
namespace kz::twolayerstrip {

const Calculator& calculator();

} // namespace kz::twolayerstrip
