#pragma once

#include <optional>
#include <string>

#include "core/persist/settings_backend.h"

namespace vk::settings {

// The tool settings of both programs on Windows, in the registry under
// HKEY_CURRENT_USER\Software\Ostra\VK-4100 Camera Control Tool: numbers as REG_DWORD,
// texts as REG_SZ, in the form QSettings would keep them, so both programs share one
// selection. The key is created by the first write.
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
