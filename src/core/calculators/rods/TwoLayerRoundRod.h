#pragma once

#include "core/model/Calculator.h"

// A round rod of 0,02 or 0,04 m, 5 … 20 m long, top at 0,5 m, in two-layer earth: R = A·p2 with A
// from vz2land.DB.
namespace kz::twolayerroundrod {

const Calculator& calculator();

} // namespace kz::twolayerroundrod
