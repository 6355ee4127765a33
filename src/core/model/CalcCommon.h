#pragma once

#include "core/rules/SoilRules.h"

#include <QString>
#include <optional>

// Rules every calculator applies around its own formula.
namespace kz {

// Resistances are shown rounded to two decimals; a positive value below 0,01 to two significant digits.
long double roundResistance(long double r);
// A result that cannot be shown as a number (overflow, NaN) is no result.
bool isShowableResult(long double r);

// The range message when p0 lies outside [pMin, pMax] of the chosen soil, both bounds included.
std::optional<QString> soilRangeError(long double p0, double pMin, double pMax);
// Said when a computation overflows for inputs that passed every check.
QString resultOutOfRangeMessage();

// A rod's or strip's ln(2L/D) falls below 1 for L < e·D/2: R would rise as the electrode grows, so
// the formula means nothing there. The message names the electrode in the genitive.
std::optional<QString> stubbyElectrodeError(long double l, long double d, const QString& electrode);

// R equal to Rдоп still counts as usable.
bool isUsable(long double rPermissible, long double r);

} // namespace kz
