#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/persist/settings_backend.h"

class QSettings;

namespace vk::settings {

inline constexpr const char* kOrganization = "Ostra";
inline constexpr const char* kApplication = "VK-4100 Camera Control Tool";

// The tool settings of the programs, kept per user so that no administrator rights are
// needed: "Ostra/VK-4100 Camera Control Tool.conf" in the user's configuration folder
// ($XDG_CONFIG_HOME, by default ~/.config). Windows builds use RegistryBackend instead.
// A file that cannot be parsed reads as empty and is rewritten cleanly by the next write;
// one that cannot be read gives the defaults. Every write goes to the store at once, so
// a run that ends abnormally leaves what it wrote. Only the tool's own values are kept.
// A file that is a symbolic link is written through the link: the link stays and its
// target is replaced atomically. A path that leads to something other than a regular file
// (a device, a pipe, a folder, a loop of links), or a file over 1 MB (the tool writes a
// few hundred bytes), is left alone: defaults, no writes, and Problem() says why.
class QSettingsBackend final : public SettingsBackend {
public:
    QSettingsBackend();
    // An INI file at `iniPath` instead of the per-user store.
    explicit QSettingsBackend(const std::string& iniPath);
    ~QSettingsBackend() override;

    std::optional<StoredValue> Read(const std::string& name) override;
    bool Write(const std::string& name, const StoredValue& value) override;

    // The file or registry key the values live in (a link's target).
    std::string Location() const;
    std::string Problem() const override { return problem_; }

private:
    // Also sets location_; null when the path is unusable.
    std::unique_ptr<QSettings> Open();
    void Reopen();
    void ForgetOtherValues();

    std::string iniPath_;  // empty: the per-user store
    std::string location_;
    std::string problem_;
    std::unique_ptr<QSettings> settings_;  // null when the path is unusable
};

}  // namespace vk::settings
