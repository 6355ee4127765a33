#include "core/calculators/rods/TwoLayerCoefficients.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

// Position of v between a and b as a fraction (0 at a, 1 at b).
double fraction(double v, double a, double b) {
    return (v - a) / (b - a);
}

bool differ(const CoefficientRow& a, const CoefficientRow& b, int column) {
    return !sameTableValue(a[column], b[column]);
}

// A value the staged interpolation produced, or none: a broken table (rows that do not differ where
// the stage expects them to, an empty A) must not turn into a number.
std::optional<double> finite(double v) {
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// Interpolation of two neighbouring rows: of the coordinates in which they differ, the last in the
// order of `keys` gives the fraction.
double pair(const CoefficientRow& a, const CoefficientRow& b, const QList<LookupKey>& keys, int value) {
    double t = 1;
    for (const LookupKey& k : keys)
        if (differ(a, b, k.column))
            t = fraction(k.value, a[k.column], b[k.column]);
    return interpolateStep(a[value], b[value], t);
}

} // namespace

std::optional<double> rodCoefficient(const CoefficientTables& tables, double d, double l, double h,
                                     double ratio) {
    enum { D, L, H, P, A };
    const QList<LookupKey> keys{{L, l}, {H, h}, {P, ratio}};
    const CoefficientRows r = bracketingRows(
        tables.rows(u"vz2land.DB"_s, {u"D"_s, u"L"_s, u"H1"_s, u"P1_P2"_s, u"A"_s}), keys, {{D, d}});
    auto p = [&](int i, int j) { return pair(r[i], r[j], keys, A); };
    switch (r.size()) {
    case 1:
        return finite(r[0][A]);
    case 2:
        return finite(p(0, 1));
    case 4: {
        const double t =
            differ(r[0], r[2], L) ? fraction(l, r[0][L], r[2][L]) : fraction(h, r[0][H], r[2][H]);
        return finite(interpolateStep(p(0, 1), p(2, 3), t));
    }
    case 8: {
        const double tH = fraction(h, r[0][H], r[2][H]);
        const double u1 = interpolateStep(p(0, 1), p(2, 3), tH);
        const double u2 = interpolateStep(p(4, 5), p(6, 7), tH);
        return finite(interpolateStep(u1, u2, fraction(l, r[0][L], r[7][L])));
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> stripCoefficient(const CoefficientTables& tables, double l, double h, double ratio,
                                       double to) {
    enum { L, H, P, T, A };
    const QList<LookupKey> keys{{L, l}, {H, h}, {P, ratio}, {T, to}};
    const CoefficientRows r =
        bracketingRows(tables.rows(u"gz2land.DB"_s, {u"L"_s, u"H1"_s, u"P1_P2"_s, u"T"_s, u"A"_s}), keys);
    auto p = [&](int i, int j) { return pair(r[i], r[j], keys, A); };
    // Fraction of coordinate c (its key sits at the same index) between rows i and j.
    auto f = [&](int c, int i, int j) { return fraction(keys[c].value, r[i][c], r[j][c]); };
    // Two pairs of rows combined across the ratio when rows i and i + 2 differ in it, else across H.
    auto block = [&](int i) {
        const double t = differ(r[i], r[i + 2], P) ? f(P, i, i + 2) : f(H, i, i + 2);
        return interpolateStep(p(i, i + 1), p(i + 2, i + 3), t);
    };
    switch (r.size()) {
    case 1:
        return finite(r[0][A]);
    case 2:
        return finite(p(0, 1));
    case 4: {
        double t = 1;
        for (int c : {L, H, P})
            if (differ(r[0], r[2], c))
                t = f(c, 0, 2);
        return finite(interpolateStep(p(0, 1), p(2, 3), t));
    }
    case 8: {
        const double t = differ(r[0], r[4], H) ? f(H, 0, 4) : f(L, 0, 4);
        return finite(interpolateStep(block(0), block(4), t));
    }
    case 16: {
        const double tP = f(P, 0, 2);
        auto b = [&](int i) { return interpolateStep(p(i, i + 1), p(i + 2, i + 3), tP); };
        const double c1 = interpolateStep(b(0), b(4), f(H, 0, 7));
        const double c2 = interpolateStep(b(8), b(12), f(H, 0, 15));
        return finite(interpolateStep(c1, c2, f(L, 0, 8)));
    }
    default:
        return std::nullopt;
    }
}

} // namespace kz
