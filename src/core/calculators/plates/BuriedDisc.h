#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>

// A round metal plate of diameter D buried at depth To. The plate itself is the electrode: no
// section.
namespace kz::burieddisc {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

struct Resistance {
    long double p = 0; // p0·Kп rounded to five decimals
    long double r = 0; // rounded to two decimals
};

// R = p / (4D) · [1 + 2/π · arcsin(D / √(16To² + D²))].
Resistance ComputeResistance(long double p0, long double kp, long double diameter, long double depth);

// The one-line calculation order from the texts on screen.
QString calcOrderLine(const QString& ro, const QString& diameter, const QString& depth, const QString& r);

void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::burieddisc
