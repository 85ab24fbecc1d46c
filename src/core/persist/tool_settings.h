#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "persist/settings_backend.h"

namespace vk {

// Index of each stored value; every access names the index, never the text.
enum class SettingIndex : int {
    ShutdownStatus = 0,
    CommunicationMode = 1,
    Baudrate = 2,
    ComPortNo = 3,
    ClSerial2000Index = 4,
    ClSerial2001Index = 5,
    ClSerialV11Index = 6,
    ControlMode = 7,
    CameraFilePath = 8,
    CommandLogFilePath = 9,
};

struct SettingDefinition {
    const char* name;
    bool isText;
    std::uint32_t defaultNumber;
    // Whether a stored number is one the tool can use; any other reads as the default.
    bool (*valid)(std::uint32_t);
};

// The tool's own persistent settings (not camera settings).
class ToolSettings {
public:
    static constexpr int kCount = 10;

    // Reads the previous shutdown status and marks this run as not yet ended normally.
    explicit ToolSettings(SettingsBackend& backend);
    // Marks a normal end.
    ~ToolSettings();
    ToolSettings(const ToolSettings&) = delete;
    ToolSettings& operator=(const ToolSettings&) = delete;

    static const SettingDefinition& Definition(int index);
    // The name of a stored value of this table: everything else in a store is left behind.
    static bool IsSettingName(std::string_view name);

    // A missing value, or one outside the setting's valid range, reads as the default.
    bool ReadNumber(int index, std::uint32_t& value, std::uint32_t defaultValue);
    // A value outside the valid range is not stored (false).
    bool WriteNumber(int index, std::uint32_t value);
    // A missing value, or a path that no longer exists, reads as the working directory.
    bool ReadText(int index, std::string& text);
    bool WriteText(int index, const std::string& text);

    std::uint32_t Number(SettingIndex index);
    void SetNumber(SettingIndex index, std::uint32_t value) {
        WriteNumber(static_cast<int>(index), value);
    }

    // 1 when the previous run reached its normal end.
    std::uint32_t PreviousShutdownStatus() const { return previousShutdownStatus_; }

private:
    SettingsBackend& backend_;
    std::uint32_t previousShutdownStatus_ = 0;
};

}  // namespace vk
