#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>

// A spherical electrode of diameter D with its centre buried at depth T.
namespace kz::buriedsphere {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// R = p / (2πD) · (1 + D / (4T)), p = p0·Kп to five decimals; R to two.
long double ComputeResistance(long double p0, long double kp, long double diameter, long double depth);

QString calcOrderLine(const QString& ro, const QString& diameter, const QString& depth, const QString& r);

void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::buriedsphere
