#pragma once

#include "core/model/Calculator.h"
#include "core/model/RowGridText.h"

#include <QString>
#include <QStringList>
#include <optional>

// The foundation field of a building whose metal columns stand on N reinforced-concrete
// foundations, the grounding electrodes being the columns' anchor bolts (not joined to the
// reinforcement): one bolt in its concrete, nб bolts of one foundation with their mutual influence
// Kп, then the whole field over the building's area and the equivalent resistivity.
namespace kz::anchorboltfield {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// The bolt grid: one row per bolt 2 … nб with the distances to the first bolt Xi, Yi, Zi (the
// typed cells) and its coefficient Ki.
inline constexpr int distanceColumns = 3;
enum Column { X = 0, Y = 1, Z = 2, K = 3 };
QString gridName();

// The grid test: every filled cell a number; each row with a distance; only Xi (or only Yi) moves
// into Zi, Xi and Yi together empty Zi. The rows as the test leaves them, also when it fails.
struct GridTest {
    GridRows rows;
    std::optional<CheckFailure> failure;
};
GridTest testGrid(GridRows rows);
// "Ошибок не найдено."
QString gridPassedMessage();

// Kп over rows that passed the test, for the bolt length: Zi from Xi and Yi ("0.00"), each
// Ki = (Lб + s)/(s − Lб) with s = √(Lб² + Zi²) ("0.00"), Kп the product of the Ki as shown ("0.00").
struct Coefficient {
    GridRows rows; // with the Zi computed and the Ki column
    QString kpText;
    std::optional<CheckFailure> failure; // a distance that leaves no Ki
};
Coefficient mutualInfluence(const GridRows& tested, long double boltLength);

struct Values {
    long double p1 = 0, pb = 0, length = 0, boltDiameter = 0, concreteDiameter = 0;
    long double bolts = 0, foundations = 0, area = 0, pekv = 0, kp = 0;
};
struct Results {
    long double rb = 0, dk = 0, sumRb = 0, de = 0, c = 0, r = 0;
};
// One bolt's resistance rб and the apparent diameter Dк, the first two steps.
long double boltResistance(const Values& v);
long double apparentDiameter(const Values& v, long double rb);
// All six steps; nullopt when a diameter rounds to 0 or a value leaves the formulas.
std::optional<Results> ComputeResistance(const Values& v);

// "Ошибка. Для данного набора параметров кажущийся диаметр электрода в земле Dк равен 0. Расчет невозможен."
QString apparentDiameterMessage();
QString equivalentDiameterMessage();

} // namespace kz::anchorboltfield
