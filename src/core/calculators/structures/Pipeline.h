#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>
#include <optional>

// A buried steel pipeline used as a grounding device: a horizontal pipe of length L and outer
// diameter D at depth T. Its values and formula, free of any window.
namespace kz::pipeline {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

struct Resistance {
    long double p = 0; // p0·Kп rounded to five decimals
    long double r = 0; // rounded to two decimals
};

// R = p / (2π·L) · ln(L² / (T·D)), as the buried horizontal electrode.
Resistance ComputeResistance(long double p0, long double kp, long double l, long double d, long double t);

// The geometric conditions after the input checks: D < L, then L > 4T (nearer L² = T·D the
// logarithm, and with it the resistance, falls to 0).
std::optional<QString> geometryError(long double d, long double l, long double t);
QString diameterMessage();
QString shortPipeMessage();

// The linked-parameter rule of a diameter change: the length that keeps L above D, or nullopt
// when L already is.
std::optional<long double> linkedLength(long double d, long double l);

// lblRangeL for the diameter and depth texts: "( L > max(D, 4T) )", empty when D is no positive number.
QString rangeText(const QString& diameterText, const QString& depthText);

// The one-line calculation order from the texts on screen.
QString calcOrderLine(const QString& roText, const QString& lText, const QString& dText, const QString& tText,
                      const QString& rText);

// The report: title, picture, installation, the pipeline, soil, depth, the formula with the
// numbers on screen and the verdict.
void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::pipeline
