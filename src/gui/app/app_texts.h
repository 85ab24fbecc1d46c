#pragma once

namespace vk::gui {

// Texts of the main window that other windows share.
inline constexpr const char* kProductTitle = "VK-4100 Control Tool";
// The project's version, from CMake.
inline constexpr const char* kVersionText = VK_VERSION;

}  // namespace vk::gui
