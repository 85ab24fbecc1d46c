#include "gui/app/program_settings.h"

#ifdef VK_HAVE_VKSETTINGS
#include "settings/qsettings_backend.h"
#endif

namespace vk::gui {

std::unique_ptr<SettingsBackend> CreateProgramSettings() {
#ifdef VK_HAVE_VKSETTINGS
    return std::make_unique<settings::QSettingsBackend>();
#else
    return std::make_unique<MemorySettingsBackend>();
#endif
}

}  // namespace vk::gui
