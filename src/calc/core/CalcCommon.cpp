#include "CalcCommon.h"

#include "frames/NumberText.h"

#include <cfloat>
#include <cmath>

namespace kz {

long double roundResistance(long double r) {
    return roundTo(r, 2);
}

bool isShowableResult(long double r) {
    return std::isfinite(r) && std::fabs(r) <= DBL_MAX;
}

std::optional<QString> soilRangeError(long double p0, double pMin, double pMax) {
    if (p0 >= pMin && p0 <= pMax)
        return std::nullopt;
    return soilRangeMessage(pMin, pMax);
}

QString resultOutOfRangeMessage() {
    return QString::fromUtf8(
        "Ошибка. Результат расчета выходит за пределы представимых чисел. Проверьте исходные данные.");
}

bool isUsable(long double rPermissible, long double r) {
    return rPermissible >= r;
}

} // namespace kz
