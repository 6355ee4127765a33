#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>
#include <optional>

// The ring electrode buried at depth T: a horizontal steel electrode bent into a circle of
// diameter D, its section of (equivalent) diameter d. Its values and formula, free of any window.
namespace kz::buriedring {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

struct Resistance {
    long double p = 0; // p0·Kп rounded to five decimals
    long double r = 0; // rounded to two decimals
};

// R = p / (2·π²·D) · ln(4·π·D² / (d·T)).
Resistance ComputeResistance(long double p0, long double kp, long double ringD, long double d, long double t);

// The geometric conditions after the input checks: d < D first, then D > 2T (the ring's radius
// exceeds its depth).
std::optional<QString> geometryError(long double d, long double ringD, long double t);
QString depthMessage();

// The range labels: D above the larger of 2T and d; T below D/2. Empty without a number above 0
// in the input they follow.
QString diameterRangeText(std::optional<long double> t, long double d);
QString depthRangeText(std::optional<long double> ringD);

// Linking, after the user changed D (or T) so that 2T >= D: the depth D/2 − 0,1, or the diameter
// 2T + 0,1, to five decimals; nullopt when nothing moves (the rule holds, or the depth would not
// stay above 0).
std::optional<long double> linkedDepth(long double ringD, long double t);
std::optional<long double> linkedDiameter(long double ringD, long double t);
// The same move of the depth in a single-parameter run over D, to hundredths.
std::optional<long double> selectionLinkedDepth(long double ringD, long double t);

// Whether a selection run may compute the combination: D/T above 2 (above 2,00001 in the
// single-parameter run) and d < D.
bool selectionAdmissible(long double ringD, long double t, long double d, bool singleParameterRun);

// The one-line calculation order from the texts on screen and the section's diameter.
QString calcOrderLine(const QString& roText, const QString& dText, long double d, const QString& tText,
                      const QString& rText);

// The report: title, picture, installation, soil, the ring, its section, its depth, the formula
// with the numbers on screen and the verdict.
void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::buriedring
