#pragma once

namespace vk::gui {

// Texts of the main window that other windows share.
inline constexpr const char* kProductTitle = "VK-4100 Control Tool";
inline constexpr const char* kVersionText = "0.53";

}  // namespace vk::gui
