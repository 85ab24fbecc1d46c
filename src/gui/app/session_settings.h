#pragma once

#include <map>
#include <set>
#include <string>

#include "core/persist/settings_backend.h"

namespace vk::gui {

// The program's store, except that the channel selection (mode, baud rate, port indices)
// is kept for this session only: a session on a device named on the command line or on the
// simulated camera must not replace the selection the user made for real cameras.
class SessionChannelSettings : public SettingsBackend {
public:
    explicit SessionChannelSettings(SettingsBackend& stored);

    std::optional<StoredValue> Read(const std::string& name) override;
    bool Write(const std::string& name, const StoredValue& value) override;
    std::string Problem() const override { return stored_.Problem(); }

private:
    SettingsBackend& stored_;
    std::set<std::string> channelNames_;
    std::map<std::string, StoredValue> session_;
};

}  // namespace vk::gui
