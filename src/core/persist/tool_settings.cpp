#include "core/persist/tool_settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <filesystem>

namespace vk {
namespace {

// The rates of every channel mode's list: the COM port's and the Camera Link libraries'.
constexpr std::array<std::uint32_t, 8> kRates = {9600,   19200,  38400,  57600,
                                                 115200, 230400, 460800, 921600};

// More ports than any list has (a Camera Link library reports at most 256).
constexpr std::uint32_t kMaxPortIndex = 255;

bool IsFlag(std::uint32_t v) {
    return v <= 1;
}
bool IsMode(std::uint32_t v) {
    return v <= 3;
}
bool IsRate(std::uint32_t v) {
    return std::find(kRates.begin(), kRates.end(), v) != kRates.end();
}
bool IsPortIndex(std::uint32_t v) {
    return v <= kMaxPortIndex;
}
bool IsNone(std::uint32_t) {
    return false;
}

constexpr std::array<SettingDefinition, ToolSettings::kCount> kDefinitions = {{
    {"Previous Application Shutdown Status", false, 0, IsFlag},
    {"Communication Mode", false, 0, IsMode},
    {"Baudrate", false, 9600, IsRate},
    {"Com Port No", false, 0, IsPortIndex},
    {"Cameralink 2000 Dll Index", false, 0, IsPortIndex},
    {"Cameralink 2001 Dll Index", false, 0, IsPortIndex},
    {"Cameralink Ver11 Dll Index", false, 0, IsPortIndex},
    {"Control Mode", false, 0, IsFlag},
    {"Camera File Path", true, 0, IsNone, SettingKind::Folder},
    {"Command Log File Path", true, 0, IsNone, SettingKind::Folder},
    {"Com Port Name", true, 0, IsNone, SettingKind::Name},
    {"Cameralink 2000 Dll Name", true, 0, IsNone, SettingKind::Name},
    {"Cameralink 2001 Port Name", true, 0, IsNone, SettingKind::Name},
    {"Cameralink Ver11 Port Name", true, 0, IsNone, SettingKind::Name},
}};

// Longer than any device path or library port name; the design's own text limit.
constexpr std::size_t kMaxNameLength = 511;

// A name is used to open a device: nothing that could not have come from a port list.
bool IsUsableName(const std::string& text) {
    return !text.empty() && text.size() <= kMaxNameLength &&
           std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

bool InRange(int index) {
    return index >= 0 && index < ToolSettings::kCount;
}

std::string WorkingDirectory() {
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    return ec ? std::string(".") : cwd.string();
}

}  // namespace

ToolSettings::ToolSettings(SettingsBackend& backend) : backend_(backend) {
    ReadNumber(static_cast<int>(SettingIndex::ShutdownStatus), previousShutdownStatus_, 0);
    WriteNumber(static_cast<int>(SettingIndex::ShutdownStatus), 0);
}

void ToolSettings::MarkNormalEnd() {
    WriteNumber(static_cast<int>(SettingIndex::ShutdownStatus), 1);
}

const SettingDefinition& ToolSettings::Definition(int index) {
    return kDefinitions.at(index);
}

bool ToolSettings::IsSettingName(std::string_view name) {
    // The desktop tool's window places (gui/app/window_geometry) are its values too: dropped
    // at the store's opening, they would never be put back at the next start.
    static constexpr std::string_view kWindowPlaces[] = {"Window Main", "Window Communication"};
    if (std::find(std::begin(kWindowPlaces), std::end(kWindowPlaces), name) !=
        std::end(kWindowPlaces)) {
        return true;
    }
    return std::any_of(kDefinitions.begin(), kDefinitions.end(),
                       [name](const SettingDefinition& d) { return name == d.name; });
}

bool ToolSettings::ReadNumber(int index, std::uint32_t& value, std::uint32_t defaultValue) {
    value = defaultValue;
    if (!InRange(index)) return false;
    auto stored = backend_.Read(kDefinitions[index].name);
    if (!stored) return false;
    std::uint32_t number = 0;
    if (auto* n = std::get_if<std::uint32_t>(&*stored)) {
        number = *n;
    } else {
        // A number kept as text reads as the C library's decimal conversion does, except
        // that a text without digits, a sign or a number beyond 32 bits is no number here.
        const std::string& text = std::get<std::string>(*stored);
        const char* begin = text.data();
        while (begin < text.data() + text.size() &&
               std::isspace(static_cast<unsigned char>(*begin)))
            ++begin;
        const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), number);
        if (ec != std::errc() || end == begin) return false;
    }
    if (!kDefinitions[index].valid(number)) return false;
    value = number;
    return true;
}

bool ToolSettings::WriteNumber(int index, std::uint32_t value) {
    if (!InRange(index) || !kDefinitions[index].valid(value)) return false;
    return backend_.Write(kDefinitions[index].name, value);
}

bool ToolSettings::IsChannelSetting(int index) {
    const auto in = [index](SettingIndex first, SettingIndex last) {
        return index >= static_cast<int>(first) && index <= static_cast<int>(last);
    };
    return in(SettingIndex::CommunicationMode, SettingIndex::ClSerialV11Index) ||
           in(SettingIndex::ComPortName, SettingIndex::ClSerialV11Name);
}

bool ToolSettings::ReadText(int index, std::string& text) {
    const bool name = InRange(index) && kDefinitions[index].kind == SettingKind::Name;
    text = name ? std::string() : WorkingDirectory();
    if (!InRange(index)) return false;
    auto stored = backend_.Read(kDefinitions[index].name);
    if (!stored) return false;
    const auto* s = std::get_if<std::string>(&*stored);
    if (!s) return false;
    if (name) {
        if (!IsUsableName(*s)) return false;
    } else {
        std::error_code ec;
        if (s->empty() || !std::filesystem::exists(*s, ec)) return false;
    }
    text = *s;
    return true;
}

bool ToolSettings::WriteText(int index, const std::string& text) {
    if (!InRange(index) || !kDefinitions[index].isText) return false;
    if (kDefinitions[index].kind == SettingKind::Name && !text.empty() && !IsUsableName(text)) {
        return false;
    }
    return backend_.Write(kDefinitions[index].name, text);
}

std::uint32_t ToolSettings::Number(SettingIndex index) {
    const int i = static_cast<int>(index);
    std::uint32_t v = 0;
    ReadNumber(i, v, kDefinitions[i].defaultNumber);
    return v;
}

}  // namespace vk
