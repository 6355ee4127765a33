#pragma once

#include <QString>
#include <optional>

// The equivalent resistivity of a two-layer soil for the building-structure calculators: the
// upper layer's calculated resistivity ρ1, its thickness H and the lower layer's ρ2, weighed by
// the size of the structure.
namespace kz::pekv {

enum class Form {
    Area,  // building foundation, foundation field: the structure's area S in m²
    Length // technological trestle: its length L in km
};

struct Coefficients {
    long double alpha = 0;
    long double beta = 0;
};
Coefficients coefficients(Form form, long double rho1, long double rho2);

// ρэ = ρ1·(1 − exp(−α·H/x)) + ρ2·(1 − exp(−β·x/H)), x = √S (area) or 1000·L (length in metres);
// nullopt when H or the size is not above 0.
std::optional<long double> equivalentResistivity(Form form, long double rho1, long double rho2, long double h,
                                                 long double size);
// What the calculator's input shows: two decimals.
QString equivalentResistivityText(long double value);

// The dialog's OK check once both layers are filled and in range: the layers must differ by a
// factor of 2 at least.
bool layersDifferEnough(long double rho1, long double rho2);
QString layersMessage();
QString fillAllMessage();
// Refusal of a thickness or structure size that is not above 0.
QString thicknessMessage();

} // namespace kz::pekv
