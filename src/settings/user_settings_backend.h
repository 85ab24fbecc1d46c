#pragma once

// The per-user settings store of a program: QSettings where the build has Qt, the
// registry backend on Windows builds without it (both keep the same key and values).
#ifdef VK_SETTINGS_REGISTRY
#include "settings/registry_backend.h"
namespace vk::settings {
using UserSettingsBackend = RegistryBackend;
}
#else
#include "settings/qsettings_backend.h"
namespace vk::settings {
using UserSettingsBackend = QSettingsBackend;
}
#endif
