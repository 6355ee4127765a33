#pragma once

#include "core/model/Calculator.h"

// A rod of any construction whose top is at the surface of two-layer earth: the equivalent
// resistivity pэ = L / (L1/p1 + L2/p2) in the surface rod formula.
namespace kz::twolayerrodatsurface {

const Calculator& calculator();

} // namespace kz::twolayerrodatsurface
