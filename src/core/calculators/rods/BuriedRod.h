#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>
#include <optional>

// The vertical rod in the ground: a single rod in uniform soil whose top lies To below the
// surface. Its values and formula, free of any window.
namespace kz::buriedrod {

const Calculator& calculator();
// The window's values: texts, inputs, checks, history and copy mappings.
const CalculatorDescriptor& descriptor();

// The rod length as parameter selection varies it (1 … 5 m in steps of 1, not below 0,5).
SelectionParameter rodLengthSelection();

struct Resistance {
    long double p = 0; // p0·Kп rounded to five decimals
    long double r = 0; // rounded to two decimals
};

// R = p / (2·π·L) · [ln(2·L/D) + 0,5·ln((4·T + L) / (4·T − L))], T the depth of the rod's middle.
Resistance ComputeResistance(long double p0, long double kp, long double l, long double d, long double t);

// The depth of the rod's middle, T = L/2 + To (not rounded).
long double middleDepth(long double l, long double to);
// What EditT shows: T with two decimals.
QString middleDepthText(long double l, long double to);

// The geometric conditions after the input checks: D < L, then To >= 0,5.
std::optional<QString> geometryError(long double d, long double l, long double to);
QString diameterMessage();
QString depthMessage();
// To may be stepped down only while the result stays at 0,5 or more.
bool canStepDownDepth(long double to, double step);

// The one-line calculation order from the texts on screen and the diameter used.
QString calcOrderLine(const QString& roText, const QString& lText, long double d, const QString& tText,
                      const QString& rText);

// The report: title, picture, installation, soil, length, construction, depths, the formula
// with the numbers on screen and the verdict.
void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::buriedrod
