// Computes the input resistance tables of a technological trestle, Z15.db, Z075.db and Z05.db.
//
// The trestle is a ladder line: its steel structure (with the pipes laid on it) has the longitudinal
// resistance Zo, Ohm/km, and every support leaks to earth through its foundation, which over the
// length gives the transitional resistance Rp, Ohm*km. In the continuous limit the input resistance
// of a line of length L km, open at the far end, is
//   Zin = sqrt(Zo * Rp) * cth(L * sqrt(Zo / Rp)).
// The tables hold that value; `--check` compares it with the discrete ladder of supports a apart.
// Run by hand: kelvorzu2-mkztables <data/tables>  (or --check).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr double kLengths[] = {0.05, 0.07, 0.1, 0.2, 0.3, 0.5, 0.7, 1, 1.5, 2, 3, 5};
constexpr double kTransitional[] = {0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10};

struct ZTable {
    const char* file;
    double zo;
    const char* caption;
};

constexpr ZTable kTables[] = {
    {"Z15.db.tsv", 1.5, "1,5 Ohm/km (one or two steel pipes)"},
    {"Z075.db.tsv", 0.75, "0,75 Ohm/km (three or four steel pipes)"},
    {"Z05.db.tsv", 0.5, "0,5 Ohm/km (five or more steel pipes, cable gallery)"},
};

double continuousInput(double zo, double rp, double l) {
    return std::sqrt(zo * rp) / std::tanh(l * std::sqrt(zo / rp));
}

// Supports a km apart, each standing for the length a around it, so each leaks through Rp / a Ohm;
// n = L / a supports (at least one), fed at the first, spans of Zo * a Ohm between them.
double ladderInput(double zo, double rp, double l, double a) {
    const int n = std::max(1, static_cast<int>(std::lround(l / a)));
    const double shunt = rp / a;
    const double span = zo * a;
    double z = shunt;
    for (int i = 1; i < n; ++i) {
        const double series = span + z;
        z = shunt * series / (shunt + series);
    }
    return z;
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

// Largest relative difference between the ladder and the continuous line over the grid, with the
// point where it occurs, for a support spacing a in metres.
void checkSpacing(double aMetres) {
    const double a = aMetres / 1000;
    for (const ZTable& t : kTables) {
        double worst = 0, worstL = 0, worstRp = 0, worstLong = 0;
        for (double l : kLengths)
            for (double rp : kTransitional) {
                const double c = continuousInput(t.zo, rp, l);
                const double d = std::fabs(ladderInput(t.zo, rp, l, a) - c) / c;
                if (d > worst) {
                    worst = d;
                    worstL = l;
                    worstRp = rp;
                }
                if (rp >= 0.1)
                    worstLong = std::max(worstLong, d);
            }
        std::cout << "a " << aMetres << " m, Zo " << t.zo << ": largest difference " << worst * 100
                  << " % at L " << worstL << " km, Rp " << worstRp << "; for Rp >= 0,1 " << worstLong * 100
                  << " %\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--check") {
        for (double a : {24.0, 12.0, 6.0})
            checkSpacing(a);
        return 0;
    }
    if (argc != 2) {
        std::cerr << "usage: kelvorzu2-mkztables DATA_TABLES_DIR  (or --check)\n";
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;
    for (const ZTable& t : kTables) {
        std::ofstream out(dir + "/" + t.file, std::ios::binary);
        out << "# Computed by kelvorzu2-mkztables: input resistance of a trestle of length L, km, with the\n"
               "# longitudinal resistance Zo = "
            << t.caption
            << "\n"
               "# and the transitional resistance Rp, Ohm km, as a continuous ladder line open at the far "
               "end:\n"
               "# Zo(L, Rp) = sqrt(Zo * Rp) * cth(L * sqrt(Zo / Rp)), four decimals.\n"
               "L\tRp\tZo\n";
        for (double l : kLengths)
            for (double rp : kTransitional)
                out << number(l, 2) << '\t' << number(rp, 3) << '\t'
                    << number(continuousInput(t.zo, rp, l), 4) << '\n';
        ok = ok && static_cast<bool>(out);
    }
    return ok ? 0 : 1;
}
