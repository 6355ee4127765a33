#pragma once

#include "core/model/Calculator.h"

// A rod of any construction, top at To, in two-layer earth: the equivalent resistivity of the
// layers along the rod, pэ = L / (L1/p1 + L2/p2), in the in-ground rod formula.
namespace kz::twolayerrodsplit {

const Calculator& calculator();

} // namespace kz::twolayerrodsplit
