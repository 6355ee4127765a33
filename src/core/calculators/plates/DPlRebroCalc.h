#pragma once

#include "core/model/Calculator.h"

// A rectangular plate set on its edge in uniform earth.
namespace kz::dplrebro {

const Calculator& calculator();

} // namespace kz::dplrebro
