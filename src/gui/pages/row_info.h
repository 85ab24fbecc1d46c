#pragma once

#include <string>

#include "core/protocol/control_table.h"

namespace vk::gui {

// The control-table row of a control id; null when it has none.
const ControlEntry* RowOfControl(int controlId);
std::string MnemonicOf(const ControlEntry& row);
// "10 to 8000000", or empty where the row gives no range.
std::string RangeText(const ControlEntry& row);

}  // namespace vk::gui
