#pragma once

#include "core/model/Calculator.h"

#include <QString>

// The standard grounding device: N vertical rods in a row or on a contour a spacing S apart, their
// tops at the depth To, joined by a strip at the same depth. The rods stand in the deep soil
// (FramePV, frmSechV), the strip in the surface soil (FramePG, frmSechG); their utilisation
// coefficients come from Kivz.DB and KIGZ.DB.
namespace kz::standarddevice {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

inline const QString rodTable = QStringLiteral("Kivz.DB");
inline const QString stripTable = QStringLiteral("KIGZ.DB");

// The utilisation coefficient of a placement ("ряд", "контур") for n electrodes and the ratio
// S/L: one row as stored, two or four rows interpolated, to hundredths; 0 when the table has no
// rows to take it from.
double lookupKI(const CoefficientTables* tables, const QString& table, const QString& placement, double n,
                double ratio);

// Limits of the rod count for a placement: the N range of its Kivz.DB rows, 2..20 without rows.
std::pair<int, int> countLimits(const CoefficientTables* tables, const QString& placement);

// Lг = (N − 1)·S in a row, N·S on a contour.
long double stripLength(const QString& placement, long double n, long double s);

struct Result {
    long double tv = 0, rv1 = 0, kiv = 0, rv = 0, lg = 0, rg1 = 0, kig = 0, rg = 0, r = 0;
};
// Every value of the device; nullopt when a coefficient is not found.
struct Inputs {
    long double pv0, kpv, l, dv, to, s, n;
    QString placement;
    long double pg0, kpg, dg;
};
std::optional<Result> compute(const CoefficientTables* tables, const Inputs& v, bool* rodsFound = nullptr);

void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::standarddevice
