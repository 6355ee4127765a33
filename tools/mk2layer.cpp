// Computes the two-layer soil coefficient tables vz2land.DB and gz2land.DB: A = R / p2 of a vertical
// rod and of a horizontal wire in an upper layer of thickness H over an unbounded lower layer.
//
// Point-source potentials are the image series of two-layer earth with k = (p2 - p1) / (p2 + p1),
// ground surface included; the electrode is cut into segments of uniform leakage current and the
// potential of each segment's line current is integrated analytically with the thin-wire kernel
// 1 / sqrt(r^2 + a^2) (a the conductor radius), then averaged over the receiving segment by 6-point
// Gauss quadrature. All segments are held at one potential; R is that potential over the total
// current. Run by hand: kelvorzu2-mk2layer <data/tables>.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr double kTermTolerance = 1e-6; // image terms are summed until one is below this share
constexpr int kMaxImages = 100000;

constexpr double kGaussX[6] = {-0.9324695142031521, -0.6612093864662645, -0.2386191861131714,
                               0.2386191861131714,  0.6612093864662645,  0.9324695142031521};
constexpr double kGaussW[6] = {0.1713244923791704, 0.3607615730481386, 0.4679139345726910,
                               0.4679139345726910, 0.3607615730481386, 0.1713244923791704};

struct Soil {
    double h;    // upper layer thickness
    double rho1; // upper layer resistivity, the lower one being 1
    double k;    // reflection coefficient at the boundary
};

Soil makeSoil(double h, double ratio) {
    return {h, ratio, (1 - ratio) / (1 + ratio)};
}

// Sums c_n for n = first, first + 1, ... until a term falls below the tolerance of the running sum.
template <class Term> double imageSeries(int first, Term term) {
    double sum = 0;
    for (int n = first; n < kMaxImages; ++n) {
        const double t = term(n);
        sum += t;
        if (std::fabs(t) < kTermTolerance * std::fabs(sum) || t == 0)
            break;
    }
    return sum;
}

// Linear system with partial pivoting; the matrix is dense and small.
std::vector<double> solve(std::vector<std::vector<double>> m, std::vector<double> b) {
    const size_t n = b.size();
    for (size_t c = 0; c < n; ++c) {
        size_t p = c;
        for (size_t r = c + 1; r < n; ++r)
            if (std::fabs(m[r][c]) > std::fabs(m[p][c]))
                p = r;
        std::swap(m[p], m[c]);
        std::swap(b[p], b[c]);
        for (size_t r = c + 1; r < n; ++r) {
            const double f = m[r][c] / m[c][c];
            for (size_t j = c; j < n; ++j)
                m[r][j] -= f * m[c][j];
            b[r] -= f * b[c];
        }
    }
    std::vector<double> x(n);
    for (size_t i = n; i-- > 0;) {
        double s = b[i];
        for (size_t j = i + 1; j < n; ++j)
            s -= m[i][j] * x[j];
        x[i] = s / m[i][i];
    }
    return x;
}

// Resistance of segments held at one potential, given the mean potential on segment i of a unit
// current leaving segment j.
double resistance(const std::vector<std::vector<double>>& potential) {
    const std::vector<double> current = solve(potential, std::vector<double>(potential.size(), 1.0));
    double total = 0;
    for (double c : current)
        total += c;
    return 1 / total;
}

// Cuts [from, to] into equal pieces of at most `step`.
void cut(std::vector<double>& nodes, double from, double to, double step) {
    const int n = std::max(1, int(std::ceil((to - from) / step - 1e-9)));
    for (int i = 1; i <= n; ++i)
        nodes.push_back(from + (to - from) * i / n);
}

// ---- vertical rod: every image of a segment lies on the rod's axis, at distance a from its surface.

// Integral over s in [s1, s2] of 1 / sqrt(a^2 + (p + sigma s)^2), sigma = +-1.
double axial(double p, double sigma, double s1, double s2, double a) {
    return sigma * (std::asinh((p + sigma * s2) / a) - std::asinh((p + sigma * s1) / a));
}

// Potential times 4 pi at depth z of a unit line current spread over [s1, s2].
double rodKernel(const Soil& soil, double z, double s1, double s2, double a) {
    const double h = soil.h, k = soil.k;
    const bool receiverUp = z < h, sourceUp = s2 <= h + 1e-12;
    auto I = [&](double p, double sigma) { return axial(p, sigma, s1, s2, a); };
    double v;
    if (sourceUp && receiverUp) {
        v = soil.rho1 * (I(z, -1) + I(z, 1) + imageSeries(1, [&](int n) {
                             const double kn = std::pow(k, n), c = 2 * n * h;
                             return kn * (I(c + z, -1) + I(c - z, 1) + I(c + z, 1) + I(c - z, -1));
                         }));
    } else if (sourceUp) {
        v = soil.rho1 * (1 + k) * imageSeries(0, [&](int n) {
                const double c = 2 * n * h;
                return std::pow(k, n) * (I(c + z, -1) + I(c + z, 1));
            });
    } else if (receiverUp) {
        v = soil.rho1 * (1 + k) * imageSeries(0, [&](int n) {
                const double c = 2 * n * h;
                return std::pow(k, n) * (I(c - z, 1) + I(c + z, 1));
            });
    } else {
        v = I(z, -1) - k * I(z - 2 * h, 1) +
            (1 - k * k) * imageSeries(0, [&](int n) { return std::pow(k, n) * I(z + 2 * n * h, 1); });
    }
    return v / (s2 - s1);
}

// A of a rod of diameter d from depth top to top + l; segments end on the layer boundary.
double rodCoefficient(double d, double l, double h, double ratio, double top, double step) {
    const Soil soil = makeSoil(h, ratio);
    std::vector<double> nodes{top};
    if (h > top && h < top + l) {
        cut(nodes, top, h, step);
        cut(nodes, h, top + l, step);
    } else {
        cut(nodes, top, top + l, step);
    }
    const size_t n = nodes.size() - 1;
    std::vector<std::vector<double>> m(n, std::vector<double>(n));
    for (size_t i = 0; i < n; ++i) {
        const double mid = (nodes[i] + nodes[i + 1]) / 2, half = (nodes[i + 1] - nodes[i]) / 2;
        for (size_t j = 0; j < n; ++j) {
            double avg = 0;
            for (int g = 0; g < 6; ++g)
                avg +=
                    kGaussW[g] / 2 * rodKernel(soil, mid + half * kGaussX[g], nodes[j], nodes[j + 1], d / 2);
            m[i][j] = avg / (4 * std::numbers::pi);
        }
    }
    return resistance(m);
}

// ---- horizontal wire at depth t in the upper layer: images are parallel wires above and below.

// Integral over x' in [x1, x2] of 1 / sqrt((x - x')^2 + dist^2).
double along(double x, double x1, double x2, double dist) {
    return std::asinh((x - x1) / dist) - std::asinh((x - x2) / dist);
}

// A of a wire of diameter d and length l at depth t (t < h). Equal segments at one depth make the
// potential matrix depend on |i - j| only, so one row of it is computed.
double stripCoefficient(double d, double l, double h, double ratio, double t, double step) {
    const Soil soil = makeSoil(h, ratio);
    const double a = d / 2, k = soil.k;
    const int n = std::max(1, int(std::ceil(l / step - 1e-9)));
    const double seg = l / n;
    std::vector<double> row(n);
    for (int off = 0; off < n; ++off) {
        const double x1 = off * seg, x2 = x1 + seg;
        double avg = 0;
        for (int g = 0; g < 6; ++g) {
            const double x = seg / 2 * (1 + kGaussX[g]);
            auto J = [&](double vertical) { return along(x, x1, x2, std::hypot(vertical, a)); };
            const double v = J(0) + J(2 * t) + imageSeries(1, [&](int m) {
                                 const double c = 2 * m * h;
                                 return std::pow(k, m) * (2 * J(c) + J(c + 2 * t) + J(c - 2 * t));
                             });
            avg += kGaussW[g] / 2 * soil.rho1 * v / seg;
        }
        row[off] = avg / (4 * std::numbers::pi);
    }
    std::vector<std::vector<double>> m(n, std::vector<double>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m[i][j] = row[std::abs(i - j)];
    return resistance(m);
}

// Table numbers: decimal comma, no trailing zeros.
std::string number(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    for (char& c : s)
        if (c == '.')
            c = ',';
    return s;
}

// The uniform-earth formulas the single-layer calculators use. The tables carry the model's
// two-layer factor A(p1/p2) / A(1) on top of them, so that a two-layer window in uniform earth gives
// the single-layer window's result.
double handbookRod(double d, double l, double top) {
    const double t = l / 2 + top;
    return (std::log(2 * l / d) + 0.5 * std::log((4 * t + l) / (4 * t - l))) / (2 * std::numbers::pi * l);
}

double handbookStrip(double d, double l, double t) {
    return std::log(l * l / (d * t)) / (2 * std::numbers::pi * l);
}

constexpr double kRodTop = 0.5;
constexpr double kRodStep = 0.25;
constexpr double kStripDiameter = 0.02;
constexpr double kStripStep = 0.5;

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--check") {
        // Segment-size convergence of a few corners, for the notes in data/README.md.
        for (double ratio : {0.5, 1.0, 10.0}) {
            std::cout << "rod D 0,02 L 20 H 1 p1/p2 " << ratio << ": "
                      << rodCoefficient(0.02, 20, 1, ratio, kRodTop, kRodStep) << " / "
                      << rodCoefficient(0.02, 20, 1, ratio, kRodTop, kRodStep / 2) << '\n';
            std::cout << "strip L 100 H 1 T 0,5 p1/p2 " << ratio << ": "
                      << stripCoefficient(kStripDiameter, 100, 1, ratio, 0.5, kStripStep) << " / "
                      << stripCoefficient(kStripDiameter, 100, 1, ratio, 0.5, kStripStep / 2) << '\n';
        }
        return 0;
    }
    if (argc != 2) {
        std::cerr << "usage: kelvorzu2-mk2layer DATA_TABLES_DIR  (or --check)\n";
        return 2;
    }
    const std::string dir = argv[1];

    std::ofstream vz(dir + "/vz2land.DB.tsv", std::ios::binary);
    vz << "# Computed by kelvorzu2-mk2layer: A = R / p2 of a round rod, top at 0,5 m, in two-layer earth:\n"
          "# the uniform-earth rod formula times the model's factor A(p1/p2) / A(1)\n"
          "# (image series of the layers, average potentials over segments of at most 0,25 m).\n"
          "D\tL\tH1\tP1_P2\tA\n";
    for (double d : {0.02, 0.04})
        for (double l : {5.0, 10.0, 20.0})
            for (double h : {1.0, 3.0, 5.0})
                for (double ratio : {0.5, 1.0, 5.0, 10.0})
                    vz << number(d, 2) << '\t' << number(l, 0) << '\t' << number(h, 0) << '\t'
                       << number(ratio, 1) << '\t'
                       << number(handbookRod(d, l, kRodTop) * rodCoefficient(d, l, h, ratio, kRodTop, kRodStep) /
                                     rodCoefficient(d, l, h, 1, kRodTop, kRodStep),
                                 4)
                       << '\n';

    std::ofstream gz(dir + "/gz2land.DB.tsv", std::ios::binary);
    gz << "# Computed by kelvorzu2-mk2layer: the uniform-earth strip formula times the model's factor\n"
          "# A(p1/p2) / A(1); A = R / p2 of a round wire 0,02 m in diameter at depth T in "
          "the\n"
          "# upper layer of two-layer earth (image series, average potentials over segments of at most 0,5 "
          "m).\n"
          "L\tH1\tP1_P2\tT\tA\n";
    for (double l : {5.0, 10.0, 20.0, 30.0, 40.0, 50.0, 60.0, 70.0, 80.0, 90.0, 100.0})
        for (double h : {1.0, 3.0, 5.0})
            for (double ratio : {0.5, 1.0, 2.0, 5.0, 10.0})
                for (double t : {0.5, 0.8})
                    gz << number(l, 0) << '\t' << number(h, 0) << '\t' << number(ratio, 1) << '\t'
                       << number(t, 1) << '\t'
                       << number(handbookStrip(kStripDiameter, l, t) *
                                     stripCoefficient(kStripDiameter, l, h, ratio, t, kStripStep) /
                                     stripCoefficient(kStripDiameter, l, h, 1, t, kStripStep),
                                 4)
                       << '\n';
    return vz && gz ? 0 : 1;
}
