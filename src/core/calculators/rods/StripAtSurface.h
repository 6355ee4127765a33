#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>

// The horizontal electrode lying on the ground surface, in uniform soil. Its checks, selection
// and report are those of the buried strip without the depth.
namespace kz::stripatsurface {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

struct Resistance {
    long double p = 0; // p0·Kп rounded to five decimals
    long double r = 0; // rounded to two decimals
};

// R = p / (π·L) · ln(2·L / D).
Resistance ComputeResistance(long double p0, long double kp, long double l, long double d);

QString calcOrderLine(const QString& roText, const QString& lText, long double d, const QString& rText);

void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::stripatsurface
