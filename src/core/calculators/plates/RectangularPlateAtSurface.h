#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>

// A rectangular metal plate of width a and length b lying on the ground surface; the formula
// holds for a < b < 4a.
namespace kz::rectangularplateatsurface {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// R = ln(4b/a) · p / (πb), p = p0·Kп to five decimals; R to two.
long double ComputeResistance(long double p0, long double kp, long double width, long double length);

QString calcOrderLine(const QString& ro, const QString& width, const QString& length, const QString& r);

void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::rectangularplateatsurface
