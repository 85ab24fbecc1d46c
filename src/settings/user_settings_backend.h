#pragma once

// The per-user settings store of a program: the registry backend on Windows, QSettings
// elsewhere.
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
