#include "gui/app/program_settings.h"

#ifdef VK_HAVE_VKSETTINGS
#include "settings/user_settings_backend.h"
#endif

namespace vk::gui {

std::unique_ptr<SettingsBackend> CreateProgramSettings() {
#ifdef VK_HAVE_VKSETTINGS
    return std::make_unique<settings::UserSettingsBackend>();
#else
    return std::make_unique<MemorySettingsBackend>();
#endif
}

}  // namespace vk::gui
