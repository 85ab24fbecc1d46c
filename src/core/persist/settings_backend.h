#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace vk {

// A stored value is a number (DWORD) or a text, as the platform store keeps it.
using StoredValue = std::variant<std::uint32_t, std::string>;

// Where the tool's own settings live: the registry, a QSettings file, or memory in tests.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;
    virtual std::optional<StoredValue> Read(const std::string& name) = 0;
    virtual bool Write(const std::string& name, const StoredValue& value) = 0;
    // Why the store is not used (the defaults apply and nothing is written); empty when it is.
    virtual std::string Problem() const { return {}; }
};

class MemorySettingsBackend : public SettingsBackend {
public:
    std::optional<StoredValue> Read(const std::string& name) override {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    bool Write(const std::string& name, const StoredValue& value) override {
        values[name] = value;
        return true;
    }

    std::map<std::string, StoredValue> values;
};

}  // namespace vk
