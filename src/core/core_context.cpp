#include "core/core_context.h"

namespace vk {
namespace {

SerialChannel::Libraries OrOwn(SerialChannel::Libraries given, SerialChannel::Libraries own) {
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (!given[i]) given[i] = own[i];
    }
    return given;
}

}  // namespace

CoreContext::CoreContext(UserInterface& uiPort, SettingsBackend& settingsBackend,
                         SerialChannel::Libraries libraries)
    : ui(uiPort),
      store(settingsBackend),
      settings(settingsBackend),
      channel(settings, port, OrOwn(libraries, {&clSerial2000, &clSerial2001, &clSerialV11})),
      exchange(channel, uiPort, notifier, logs),
      runner(exchange, uiPort),
      modelCheck(exchange, notifier) {
    runner.AddNoticeSource([this] { return modelCheck.TakeNotice(); });
}

void CoreContext::SaveAtNormalEnd() {
    channel.SaveChannelSettings();
    settings.MarkNormalEnd();
}

}  // namespace vk
