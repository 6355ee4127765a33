#pragma once

#include <QString>
#include <QStringList>

// Rules of the seasonal correction coefficient of the soil resistivity: which climate-region
// coefficient applies to an electrode kind, length and soil moisture, and the coefficient from
// the soil temperature at the time of measurement.
namespace kz {

enum class ElectrodeKind { Vertical = 0, Horizontal = 1 };
enum class SoilMoisture { High = 0, Medium = 1, Low = 2 };

// Field of raion.db with the coefficient: kind letter, length, moisture letter ("V3s", "G50m").
// longer selects the second length of the kind (5 m vertical, 50 m horizontal).
QString seasonalFieldName(ElectrodeKind kind, bool longer, SoilMoisture moisture);
// The two length choices of a kind: "3 метра"/"5 метров" or "10 метров"/"50 метров".
QStringList electrodeLengthItems(ElectrodeKind kind);

// exp(-0,022 * (t - 20)): 1 at 20 degrees, greater below, smaller above.
double temperatureCoefficient(int celsius);
// The same written as the dialog shows it, "0.00": 0 degrees gives "1,55".
QString temperatureCoefficientText(int celsius);

// The region the coefficient dialog opens on.
QString defaultClimateRegion();

} // namespace kz
