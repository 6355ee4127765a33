#pragma once

#include "core/model/Calculator.h"

#include <QString>
#include <optional>

// The technological trestle (or cable gallery) as a grounding device: the spreading resistance of
// one support's foundation, the transitional resistance of the line of supports, and the input
// resistance read from the table of the structure's longitudinal resistance Zo.
namespace kz::trestle {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// Zo by type (0 trestle, 1 cable gallery) and the number of pipes laid on it.
QString longitudinalText(int type, int pipes);
// The table of a Zo text ("1,5" → "Z15.db"); empty for another text.
QString tableOf(const QString& zo);

// Ro = 0,3·ρэ/D when D ≥ T, otherwise ρэ/T; two decimals.
long double foundationResistance(long double pekv, long double d, long double t);
// Rп = (Ro·a + 1,5·ρэ)·0,001, two decimals.
long double transitionalResistance(long double ro, long double a, long double pekv);

// The input resistance for (L, Rп) from table rows (L, Rp, Zo) ordered by L then Rp: the row itself,
// or interpolated between 2 or 4 neighbouring rows and rounded to two decimals.
struct InputLookup {
    std::optional<long double> r;
    bool message = false; // "не определено" is said (out of range, or 0 or 1 neighbour)
};
InputLookup inputResistance(const CoefficientRows& rows, long double l, long double rp);

// "Ошибка. Значение Rвх для L = … км и Rп = … Ом км в таблице не определено."
QString undeterminedMessage(const QString& l, const QString& rp);

} // namespace kz::trestle
