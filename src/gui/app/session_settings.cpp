#include "gui/app/session_settings.h"

#include "core/persist/tool_settings.h"

namespace vk::gui {

SessionChannelSettings::SessionChannelSettings(SettingsBackend& stored) : stored_(stored) {
    for (int i = 0; i < ToolSettings::kCount; ++i) {
        if (ToolSettings::IsChannelSetting(i))
            channelNames_.insert(ToolSettings::Definition(i).name);
    }
}

std::optional<StoredValue> SessionChannelSettings::Read(const std::string& name) {
    const auto it = session_.find(name);
    if (it != session_.end()) return it->second;
    return stored_.Read(name);
}

bool SessionChannelSettings::Write(const std::string& name, const StoredValue& value) {
    if (channelNames_.contains(name)) {
        session_[name] = value;
        return true;
    }
    return stored_.Write(name, value);
}

}  // namespace vk::gui
