#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>
#include <optional>

// The ring electrode laid near the ground surface: a horizontal steel electrode bent into a circle
// of diameter D, its section of (equivalent) diameter d. Its values and formula, free of any window.
namespace kz::ringatsurface {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// The ring diameter as parameter selection varies it (1 … 5 m in steps of 1, not below 0,5).
SelectionParameter ringDiameterSelection();

struct Resistance {
    long double p = 0; // p0·Kп rounded to five decimals
    long double r = 0; // rounded to two decimals
};

// R = p / (π²·D) · ln(8·D / d).
Resistance ComputeResistance(long double p0, long double kp, long double ringD, long double d);

// The section must be thinner than the ring: d < D.
std::optional<QString> geometryError(long double d, long double ringD);
QString diameterMessage();

// The one-line calculation order from the texts on screen and the section's diameter.
QString calcOrderLine(const QString& roText, const QString& dText, long double d, const QString& rText);

// The report: title, picture, installation, soil, the ring, its section, the formula with the
// numbers on screen and the verdict.
void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::ringatsurface
