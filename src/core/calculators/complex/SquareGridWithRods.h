#pragma once

#include "core/model/Calculator.h"

// A horizontal square grid of N × N square cells of side a with Nв vertical electrodes of length
// Lв along its perimeter, their tops at depth To: R = K·p/√S + p/(Lг + Nв·Lв), K by the relative
// depth Tотн = (Lв + To)/√S, for 0 <= Tотн <= 0,5.
namespace kz::squaregridwithrods {

const Calculator& calculator();

struct Geometry {
    long double s = 0;    // a²·N², to two decimals
    long double l = 0;    // Lг = 2·a·N·(N + 1), to two decimals
    long double tRel = 0; // (Lв + To)/√S, to four decimals
};
Geometry geometry(long double a, long double n, long double lv, long double to);
// K = 0,444 − 0,84·Tотн up to 0,1, else 0,385 − 0,25·Tотн.
long double coefficient(long double tRel);
// R to two decimals from p = p0·Kп and the geometry as shown.
long double resistance(long double p0, long double kp, const Geometry& g, long double nv, long double lv);

} // namespace kz::squaregridwithrods
