#pragma once

#include <optional>
#include <string>

#include "core/persist/settings_backend.h"

namespace vk::settings {

// The tool settings in the Windows registry, for programs built without Qt (the CLI):
// the values the desktop tool's QSettings keeps under
// HKEY_CURRENT_USER\Software\Ostra\VK-4100 Camera Control Tool, with the same names and
// types (numbers as REG_DWORD, texts as REG_SZ), so both programs share one selection.
// The key is created by the first write.
class RegistryBackend final : public SettingsBackend {
public:
    RegistryBackend();
    // Another key under HKEY_CURRENT_USER (tests).
    explicit RegistryBackend(std::string subKey);

    std::optional<StoredValue> Read(const std::string& name) override;
    bool Write(const std::string& name, const StoredValue& value) override;

    // "HKEY_CURRENT_USER\<sub key>".
    std::string Location() const;

    static constexpr const char* kDefaultSubKey = "Software\\Ostra\\VK-4100 Camera Control Tool";

private:
    std::string subKey_;
};

}  // namespace vk::settings
