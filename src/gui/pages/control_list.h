#pragma once

#include <ostream>

namespace vk::gui {

// One tab-separated line per page control, in page order: page title, group caption,
// control id, widget kind, label.
void PrintControlList(std::ostream& out);

// One tab-separated line per item of every drop-down list and radio group, in page order:
// control id, camera value, item text.
void PrintItemList(std::ostream& out);

}  // namespace vk::gui
