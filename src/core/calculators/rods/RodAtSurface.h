#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>
#include <optional>

// The vertical rod whose top lies at the ground surface, in uniform soil. Its values and
// formula, free of any window.
namespace kz::rodatsurface {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

struct Resistance {
    long double p = 0; // p0·Kп rounded to five decimals
    long double r = 0; // rounded to two decimals
};

// R = p / (2·π·L) · ln(4·L / D).
Resistance ComputeResistance(long double p0, long double kp, long double l, long double d);

// The geometric condition after the input checks: D < L.
std::optional<QString> geometryError(long double d, long double l);

// The report: title, picture, installation, soil, length, construction, the formula with numbers
// and the verdict.
void report(ReportBuilder& w, const ReportSource& s);

QString calcOrderLine(const QString& roText, const QString& lText, long double d, const QString& rText);

} // namespace kz::rodatsurface
