#pragma once

#include "core/model/Calculator.h"

// A rectangular plate set on its edge in two-layer earth: the part of its width in each layer
// gives the equivalent resistivity pэ = a / (a1/p1 + a2/p2).
namespace kz::edgeplatetwolayer {

const Calculator& calculator();

struct LayerSplit {
    long double upper = 0; // a1
    long double lower = 0; // a2
};
// The layer boundary at depth H splits the width a of a plate whose top edge lies at To.
LayerSplit splitWidth(long double thickness, long double depth, long double width);
// pэ to two decimals.
long double equivalentResistivity(long double width, const LayerSplit& split, long double p1, long double p2);

} // namespace kz::edgeplatetwolayer
