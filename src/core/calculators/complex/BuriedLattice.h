#pragma once

#include "core/model/Calculator.h"

#include <QString>
#include <optional>

// A horizontal rectangular lattice of rods buried at depth To, one of five fixed types (1×1, 2×1,
// 2×2, 3×1, 3×3 cells). The cell's length and width give the lattice's length b, width a and the
// conductors' total length L: R = p/(2·π·L)·[ln(L²/(To·D)) + m], m from m.DB by type and b/a,
// for 1 <= b/a <= 4.
namespace kz::buriedlattice {

const Calculator& calculator();

constexpr int typeCount = 5;

struct Lattice {
    long double b = 0;     // lattice length
    long double a = 0;     // lattice width
    long double ratio = 0; // b/a to four decimals
    long double l = 0;     // conductors' total length to two decimals
};
// nullopt for a type that does not exist or a cell that is not positive.
std::optional<Lattice> lattice(int type, long double bc, long double ac);

// m for the type at the ratio x: interpolated between the type's rows with the largest ratio not
// above x and the smallest not below, to hundredths; nullopt when one of them is missing.
std::optional<long double> coefficientM(const CoefficientTables* tables, int type, long double x);
QString missingCoefficientMessage(int type, long double x);

// R to hundredths; p = p0·Kп to five decimals.
long double ComputeResistance(long double p0, long double kp, long double d, long double to, long double l,
                              long double m);

} // namespace kz::buriedlattice
