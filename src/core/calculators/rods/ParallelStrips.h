#pragma once

#include "core/model/Calculator.h"

#include <QString>
#include <optional>

// N parallel horizontal strips of length L at depth T, a spacing S apart: one buried strip's
// resistance divided by N·k, with k interpolated in Kipp.DB over L, N and S. The electrode is
// always strip steel of width B from the window's own list; D = 0,5·B.
namespace kz::parallelstrips {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// k for (L, N, S): the bracketing rows of Kipp.DB (1, 2, 4 or 8 of them) interpolated pairwise,
// each stage to hundredths; a single row gives its value as stored. nullopt when the table does
// not enclose the point.
std::optional<long double> coefficient(const CoefficientTables* tables, long double l, long double n,
                                       long double s);

// R = [p / (2·π·L) · ln(L² / (T·D))] / (N·k), to hundredths; p = p0·Kп to five decimals.
long double ComputeResistance(long double p0, long double kp, long double l, long double t, long double d,
                              long double n, long double k);

// D = 0,5·B to thousandths.
long double diameterOfWidth(long double b);

QString missingWidthMessage();
QString missingCoefficientMessage(long double l, long double n, long double s);

void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::parallelstrips
