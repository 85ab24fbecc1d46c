#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/persist/settings_backend.h"

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
    // The port of each channel mode by name: a list position changes when a device or a
    // library comes or goes. Without a name the index above is used.
    ComPortName = 10,
    ClSerial2000Name = 11,
    ClSerial2001Name = 12,
    ClSerialV11Name = 13,
};

enum class SettingKind { Number, Folder, Name };

struct SettingDefinition {
    const char* name;
    bool isText;
    std::uint32_t defaultNumber;
    // Whether a stored number is one the tool can use; any other reads as the default.
    bool (*valid)(std::uint32_t);
    // A folder that must still exist, or a name kept as it was written.
    SettingKind kind = SettingKind::Number;
};

// The tool's own persistent settings (not camera settings).
class ToolSettings {
public:
    static constexpr int kCount = 14;

    // Reads the previous shutdown status and marks this run as not yet ended normally.
    explicit ToolSettings(SettingsBackend& backend);
    // Called by the program at its orderly end; a run that never calls it counts as one
    // that did not end normally.
    void MarkNormalEnd();
    ToolSettings(const ToolSettings&) = delete;
    ToolSettings& operator=(const ToolSettings&) = delete;

    static const SettingDefinition& Definition(int index);
    // The name of a stored value of this table: everything else in a store is left behind.
    static bool IsSettingName(std::string_view name);
    // The channel selection: mode, rate and the port of each mode.
    static bool IsChannelSetting(int index);

    // A missing value, or one outside the setting's valid range, reads as the default.
    bool ReadNumber(int index, std::uint32_t& value, std::uint32_t defaultValue);
    // A value outside the valid range is not stored (false).
    bool WriteNumber(int index, std::uint32_t value);
    // A folder that is missing or no longer exists reads as the working directory; a name
    // that is missing, too long or holds control characters reads as empty.
    bool ReadText(int index, std::string& text);
    // A name that could not be read back is not stored (false).
    bool WriteText(int index, const std::string& text);

    std::uint32_t Number(SettingIndex index);
    void SetNumber(SettingIndex index, std::uint32_t value) {
        WriteNumber(static_cast<int>(index), value);
    }

    // The previous run reached its normal end (its stored status is 1).
    bool PreviousRunEndedNormally() const { return previousShutdownStatus_ == 1; }

private:
    SettingsBackend& backend_;
    std::uint32_t previousShutdownStatus_ = 0;
};

}  // namespace vk
