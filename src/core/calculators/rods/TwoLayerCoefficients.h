#pragma once

#include "core/model/CoefficientTables.h"

#include <optional>

// The coefficient A of R = A·p2 for electrodes in two-layer soil, interpolated from the reference
// tables in the handbooks' staged way: every intermediate value is rounded to 0,001, a table point
// itself is returned as stored. No coefficient when the table has no complete cell around the
// inputs (a hole, an input outside the grid, a diameter without rows, an empty table).
namespace kz {

// vz2land.DB: a round rod of diameter d and length l, top at 0,5 m; h the upper layer thickness,
// ratio = p1/p2.
std::optional<double> rodCoefficient(const CoefficientTables& tables, double d, double l, double h,
                                     double ratio);

// gz2land.DB: a horizontal electrode of length l at depth to.
std::optional<double> stripCoefficient(const CoefficientTables& tables, double l, double h, double ratio,
                                       double to);

} // namespace kz
