#include "core_context.h"

namespace vk {

CoreContext::CoreContext(UiPort& uiPort, SettingsBackend& settingsBackend,
                         SerialChannel::Libraries libraries)
    : ui(uiPort),
      settings(settingsBackend),
      port(uiPort),
      channel(settings, port, libraries, logs),
      command(channel, uiPort, notifier, logs),
      modelCheck(command, uiPort) {}

}  // namespace vk
