#pragma once

#include <optional>

#include "core/lut/lut_table.h"

namespace vk::lut {

// Entry i = 4095 · (i / 255)^gamma, rounded: gamma below 1 lifts the dark levels, 1 is the
// straight line from 0 to 4095. Nothing for a gamma that is not a positive number.
std::optional<Table> GammaTable(double gamma);
Table LinearTable();

}  // namespace vk::lut
