#pragma once

#include <ostream>

namespace vk::gui {

// One tab-separated line per page control, in page order: page title, group caption,
// control id, widget kind, label.
void PrintControlList(std::ostream& out);

}  // namespace vk::gui
