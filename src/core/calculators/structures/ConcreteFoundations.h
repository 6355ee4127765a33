#pragma once

#include "core/model/Calculator.h"

#include <optional>

// A group of N identical reinforced-concrete foundations used as a natural grounding device: a
// column-and-slab foundation (a stem of diameter c on a slab a × b × d) or a pile (a stem of
// diameter c), its grade chosen in the table of its type; N and the utilisation coefficient follow
// the arrangement scheme.
namespace kz::concretefoundations {

const Calculator& calculator();

constexpr int schemeCount = 5;
// N of a scheme; 0 for a scheme that does not exist.
int foundations(int scheme);
// KI of the scheme's first row in kifund.db.
std::optional<long double> utilisation(const CoefficientTables* tables, int scheme);

struct Results {
    long double rStem = 0; // Rст (column-and-slab)
    long double dSlab = 0; // Dпл
    long double rSlab = 0; // Rпл
    long double rOne = 0;  // Rф
    long double r = 0;     // R of the whole group
};
// Every intermediate to hundredths before it is used further; p = p0·Kп to five decimals.
Results columnAndSlab(long double p0, long double kp, long double l, long double c, long double a,
                      long double b, long double n, long double ki);
Results pile(long double p0, long double kp, long double l, long double c, long double n, long double ki);

} // namespace kz::concretefoundations
