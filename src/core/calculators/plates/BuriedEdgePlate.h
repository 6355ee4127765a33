#pragma once

#include "core/model/Calculator.h"

// A rectangular plate set on its edge in uniform earth.
namespace kz::buriededgeplate {

const Calculator& calculator();

} // namespace kz::buriededgeplate
