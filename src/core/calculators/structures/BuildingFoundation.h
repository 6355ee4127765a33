#pragma once

#include "core/model/CalcOrder.h"
#include "core/model/Calculator.h"

#include <QString>
#include <QStringList>
#include <optional>

// The reinforced-concrete foundation of a production building: R = 0,52·ρэ/√S from the area S
// inside the building's perimeter and the equivalent resistivity of the soil.
namespace kz::buildingfoundation {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

// Rounded to two decimals; nullopt for an area that is not above 0.
std::optional<long double> ComputeResistance(long double pekv, long double s);
// The area a·b as EditS shows it: rounded to two decimals, general format.
QString areaText(long double a, long double b);
// "Ошибка. Площадь здания должна быть больше 0."
QString areaMessage();

// The two-layer soil of the last confirmed equivalent-resistivity dialog, as it stood on screen.
struct Layers {
    QString p1; // upper layer's calculated resistivity
    QString p2; // lower layer's
    QString h;  // thickness of the upper layer
};

struct OrderTexts {
    QString s;    // EditS
    QString pekv; // EditPekv
    QString r;    // EditVS1
    double rValue = 0;
    // With "Включить порядок расчета р эквивалентного" checked: the layers the resistivity came from.
    std::optional<Layers> layers;
};
// The lines of the resistivity computed from the layers over the area, and its text (0.00) as
// recomputed; nothing written without layers.
std::optional<QString> equivalentResistivityLines(CalcOrderText& o, const QString& area,
                                                  const std::optional<Layers>& layers);
// The calculation order; with layers, ρэ is recomputed and its text (0.00) returned in pekvShown.
QStringList calcOrder(const InstallationValues& eu, const OrderTexts& t, QString* pekvShown = nullptr);

} // namespace kz::buildingfoundation
