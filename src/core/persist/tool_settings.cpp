#include "persist/tool_settings.h"

#include <array>
#include <cstdlib>
#include <filesystem>

namespace vk {
namespace {

constexpr std::array<SettingDefinition, ToolSettings::kCount> kDefinitions = {{
    {"Previous Application Shutdown Status", false, 0},
    {"Communication Mode", false, 0},
    {"Baudrate", false, 9600},
    {"Com Port No", false, 0},
    {"Cameralink 2000 Dll Index", false, 0},
    {"Cameralink 2001 Dll Index", false, 0},
    {"Cameralink Ver11 Dll Index", false, 0},
    {"Control Mode", false, 0},
    {"Camera File Path", true, 0},
    {"Command Log File Path", true, 0},
}};

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

ToolSettings::~ToolSettings() {
    WriteNumber(static_cast<int>(SettingIndex::ShutdownStatus), 1);
}

const SettingDefinition& ToolSettings::Definition(int index) {
    return kDefinitions.at(index);
}

bool ToolSettings::ReadNumber(int index, std::uint32_t& value, std::uint32_t defaultValue) {
    value = defaultValue;
    if (!InRange(index)) return false;
    auto stored = backend_.Read(kDefinitions[index].name);
    if (!stored) return false;
    if (auto* n = std::get_if<std::uint32_t>(&*stored)) {
        value = *n;
        return true;
    }
    // A number kept as text reads as the C library's decimal conversion does, except that
    // a text without digits is no number at all and keeps the default.
    const char* text = std::get<std::string>(*stored).c_str();
    char* end = nullptr;
    const unsigned long number = std::strtoul(text, &end, 10);
    if (end == text) return false;
    value = static_cast<std::uint32_t>(number);
    return true;
}

bool ToolSettings::WriteNumber(int index, std::uint32_t value) {
    if (!InRange(index)) return false;
    return backend_.Write(kDefinitions[index].name, value);
}

bool ToolSettings::ReadText(int index, std::string& text) {
    text = WorkingDirectory();
    if (!InRange(index)) return false;
    auto stored = backend_.Read(kDefinitions[index].name);
    if (!stored) return false;
    const auto* s = std::get_if<std::string>(&*stored);
    std::error_code ec;
    if (!s || s->empty() || !std::filesystem::exists(*s, ec)) return false;
    text = *s;
    return true;
}

bool ToolSettings::WriteText(int index, const std::string& text) {
    if (!InRange(index)) return false;
    return backend_.Write(kDefinitions[index].name, text);
}

std::uint32_t ToolSettings::Number(SettingIndex index) {
    const int i = static_cast<int>(index);
    std::uint32_t v = 0;
    ReadNumber(i, v, kDefinitions[i].defaultNumber);
    return v;
}

}  // namespace vk
