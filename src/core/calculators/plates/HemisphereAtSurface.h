#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>

// A hemispherical electrode of diameter D at the ground surface.
namespace kz::hemisphereatsurface {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// R = p / (πD), p = p0·Kп to five decimals; R to two.
long double ComputeResistance(long double p0, long double kp, long double diameter);

QString calcOrderLine(const QString& ro, const QString& diameter, const QString& r);

void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::hemisphereatsurface
