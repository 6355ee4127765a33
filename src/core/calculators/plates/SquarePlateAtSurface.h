#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>

// A square metal plate of side b lying on the ground surface.
namespace kz::squareplateatsurface {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// R = 0,444 · p / b, p = p0·Kп to five decimals; R to two.
long double ComputeResistance(long double p0, long double kp, long double side);

QString calcOrderLine(const QString& ro, const QString& side, const QString& r);

void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::squareplateatsurface
