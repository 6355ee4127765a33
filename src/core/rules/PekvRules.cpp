#include "core/rules/PekvRules.h"

#include "core/common/NumberText.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz::pekv {

Coefficients coefficients(Form form, long double rho1, long double rho2) {
    if (form == Form::Area)
        return rho1 > rho2 ? Coefficients{3.6L, 0.1L} : Coefficients{110, 0.003L};
    return rho1 > rho2 ? Coefficients{6.2L, 0.057L} : Coefficients{350, 0.001L};
}

std::optional<long double> equivalentResistivity(Form form, long double rho1, long double rho2, long double h,
                                                 long double size) {
    if (!(h > 0) || !(size > 0))
        return std::nullopt;
    const long double x = form == Form::Area ? std::sqrt(size) : 1000 * size;
    const Coefficients c = coefficients(form, rho1, rho2);
    return rho1 * (1 - std::exp(-c.alpha * h / x)) + rho2 * (1 - std::exp(-c.beta * x / h));
}

QString equivalentResistivityText(long double value) {
    return formatMask(value, QStringLiteral("0.00"));
}

bool layersDifferEnough(long double rho1, long double rho2) {
    if (!(rho1 > 0) || !(rho2 > 0))
        return false;
    return rho1 / rho2 >= 2 || rho2 / rho1 >= 2;
}

QString layersMessage() {
    return QString::fromUtf8("Ошибка. Расчетные удельные сопротивления нижнего и верхнего слоев грунта "
                             "должны отличаться не менее чем в 2 раза.");
}

QString fillAllMessage() {
    return u"Ошибка. Заполнение всех параметров обязательно."_s;
}

QString thicknessMessage() {
    return u"Ошибка. Толщина верхнего слоя земли и размер сооружения должны быть больше 0."_s;
}

} // namespace kz::pekv
