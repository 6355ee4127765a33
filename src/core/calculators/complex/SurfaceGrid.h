#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>

// A grid of horizontal electrodes laid on the ground surface: Nг × Nв equal cells of length A
// and width B, no vertical electrodes. Its values and formula, free of any window.
namespace kz::surfacegrid {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// The grid's area S = A·B·Nг·Nв and the total length of its electrodes
// L = A·Nг·(Nв + 1) + B·Nв·(Nг + 1), each rounded to two decimals as the window shows them.
struct GridGeometry {
    long double s = 0;
    long double l = 0;
};
GridGeometry gridGeometry(long double a, long double b, long double ng, long double nv);

struct Resistance {
    long double p = 0; // p0·Kп rounded to five decimals
    long double r = 0; // rounded to two decimals
};

// R = 0,444·p/√S + p/L, with S and L as shown.
Resistance ComputeResistance(long double p0, long double kp, long double s, long double l);

// The one-line calculation order from the texts on screen.
QString calcOrderLine(const QString& roText, const QString& sText, const QString& lText,
                      const QString& rText);

// The report: title, picture, installation, soil, the grid, its area and electrode length, the
// formula with the numbers on screen and the verdict.
void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::surfacegrid
