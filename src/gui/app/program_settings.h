#pragma once

#include <memory>

#include "core/persist/settings_backend.h"

namespace vk::gui {

// Where the desktop tool keeps its own settings between runs.
std::unique_ptr<SettingsBackend> CreateProgramSettings();

}  // namespace vk::gui
