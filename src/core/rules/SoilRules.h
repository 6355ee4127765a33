#pragma once

#include <QString>

// Rules of the soil resistivity input: the admissible range of a soil, its label, the bounded
// stepping of the measured resistivity and the calculated resistivity.
namespace kz {

// The soil shown when nothing was remembered.
QString defaultSoilName();

// "(40 - 60)" from the texts of the soil's bounds.
QString soilRangeLabel(const QString& minText, const QString& maxText);

// "Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 60."
QString soilRangeMessage(long double min, long double max);
// Leaving the measured resistivity empty.
QString requiredValueMessage();

// Calculated resistivity p = p0 * Kп, rounded to five decimals.
long double calculatedResistivity(long double p0, long double k);

// Digit the stepped value is rounded to before the bound is checked: 0 for steps of 1 and more,
// otherwise 2 minus the length of the step in the general format (0,1 -> -1, 0,01 -> -2).
int soilStepDigits(double step);
// Whether a step up (down) from v keeps the measured resistivity within the soil's range.
// Both the value rounded to the step's digit and the value the input would show must stay in
// range, so that a half step rounded to even cannot carry it past the bound.
bool soilStepUpAllowed(long double v, double step, long double roMax);
bool soilStepDownAllowed(long double v, double step, long double roMin);

} // namespace kz
