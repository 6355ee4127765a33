#pragma once

#include "core/model/Calculator.h"

#include <QString>
#include <optional>

// The radial electrode: N horizontal rays of length l joined at one point at depth T. The layout
// (type 1 … 7, chosen by picture) fixes N and the utilisation coefficients in Kiluch.DB. Length and
// depth are linked as in the buried strip.
namespace kz::radialelectrode {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// Rays of a type; 0 for a type that does not exist.
int rays(int type);

// k for the type at ray length l: interpolated between the type's rows with the largest length
// not above l and the smallest not below, to hundredths. nullopt when the type has no row on one
// side of l.
std::optional<long double> coefficient(const CoefficientTables* tables, int type, long double l);

// R = [p / (2·π·l) · ln(l² / (T·D))] / (N·k), to hundredths; p = p0·Kп to five decimals.
long double ComputeResistance(long double p0, long double kp, long double l, long double t, long double d,
                              int n, long double k);

QString lengthRangeMessage();
QString missingCoefficientMessage(int type, long double l);

void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::radialelectrode
