#pragma once

#include <string>

#include "core/protocol/control_table.h"

namespace vk::gui {

// The control-table row of a control id as the program starts; null when it has none.
const ControlEntry* InitialRowOf(int controlId);
std::string MnemonicOf(const ControlEntry& row);
// "10 to 8000000", or empty where the row gives no range.
std::string RangeText(const ControlEntry& row);
// The spin box range of an edit row: one step wider on each side for range mode 1.
void SpinRange(const ControlEntry& row, int& minimum, int& maximum);

}  // namespace vk::gui
