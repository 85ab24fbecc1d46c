#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/persist/tool_settings.h"

namespace vk {
namespace {

// The defaults themselves are read in the settings store's own suite.
TEST(ToolSettings, AMachineWithoutValues) {
    MemorySettingsBackend backend;
    ToolSettings settings(backend);
    std::string path;
    std::uint32_t v = 5;
    EXPECT_FALSE(settings.ReadNumber(ToolSettings::kCount, v, 77));
    EXPECT_EQ(v, 77u);
    EXPECT_FALSE(settings.WriteNumber(ToolSettings::kCount, 1));
    EXPECT_FALSE(settings.ReadText(static_cast<int>(SettingIndex::ComPortName), path));
    EXPECT_EQ(path, "");  // no port named: the stored index is used
}

TEST(ToolSettings, NumbersStoredAsTextAndVanishedFolders) {
    MemorySettingsBackend backend;
    backend.values["Baudrate"] = std::string("19200");
    backend.values["Camera File Path"] = std::string("/no/such/folder/anywhere");
    backend.values["Command Log File Path"] = std::filesystem::temp_directory_path().string();
    ToolSettings settings(backend);
    EXPECT_EQ(settings.Number(SettingIndex::Baudrate), 19200u);
    std::string path;
    EXPECT_FALSE(settings.ReadText(static_cast<int>(SettingIndex::CameraFilePath), path));
    EXPECT_EQ(path, std::filesystem::current_path().string());
    EXPECT_TRUE(settings.ReadText(static_cast<int>(SettingIndex::CommandLogFilePath), path));
    EXPECT_EQ(path, std::filesystem::temp_directory_path().string());
}

// Such values were once used as they stood and written back at every end.
TEST(ToolSettings, StoredNumbersOutsideTheirRangeGiveTheDefaults) {
    const std::string tenMegabytesOfDigits(10 << 20, '7');
    const std::pair<SettingIndex, StoredValue> unusable[] = {
        {SettingIndex::Baudrate, std::string("-1")},
        {SettingIndex::Baudrate, std::string("-9600")},
        {SettingIndex::Baudrate, std::string("4294977296")},  // 9600 once cut to 32 bits
        {SettingIndex::Baudrate, tenMegabytesOfDigits},
        {SettingIndex::Baudrate, std::string("12345")},
        {SettingIndex::Baudrate, std::uint32_t{0}},
        {SettingIndex::Baudrate, std::uint32_t{0xFFFFFFFF}},
        {SettingIndex::CommunicationMode, std::uint32_t{4}},
        {SettingIndex::CommunicationMode, std::string("-1")},
        {SettingIndex::ComPortNo, std::uint32_t{256}},
        {SettingIndex::ComPortNo, std::uint32_t{0xFFFFFFFF}},
        {SettingIndex::ComPortNo, tenMegabytesOfDigits},
        {SettingIndex::ClSerialV11Index, std::string("+3")},
        {SettingIndex::ControlMode, std::uint32_t{2}},
    };
    for (const auto& [index, value] : unusable) {
        MemorySettingsBackend backend;
        const std::string name = ToolSettings::Definition(static_cast<int>(index)).name;
        backend.values[name] = value;
        ToolSettings settings(backend);
        std::uint32_t v = 0;
        EXPECT_FALSE(settings.ReadNumber(static_cast<int>(index), v, 42)) << name;
        EXPECT_EQ(v, 42u) << name;
        EXPECT_EQ(settings.Number(index),
                  ToolSettings::Definition(static_cast<int>(index)).defaultNumber)
            << name;
    }
    MemorySettingsBackend backend;
    backend.values["Previous Application Shutdown Status"] = std::uint32_t{7};
    EXPECT_FALSE(ToolSettings(backend).PreviousRunEndedNormally());  // not a normal end
    backend.values["Baudrate"] = std::string(" 921600");
    backend.values["Communication Mode"] = std::uint32_t{3};
    backend.values["Com Port No"] = std::string("255");
    backend.values["Control Mode"] = std::string("1");
    ToolSettings settings(backend);
    EXPECT_EQ(settings.Number(SettingIndex::Baudrate), 921600u);
    EXPECT_EQ(settings.Number(SettingIndex::CommunicationMode), 3u);
    EXPECT_EQ(settings.Number(SettingIndex::ComPortNo), 255u);
    EXPECT_EQ(settings.Number(SettingIndex::ControlMode), 1u);
    // What would read as the default is not stored either.
    EXPECT_FALSE(settings.WriteNumber(static_cast<int>(SettingIndex::Baudrate), 9601));
    EXPECT_FALSE(settings.WriteNumber(static_cast<int>(SettingIndex::ComPortNo), 256));
    EXPECT_FALSE(settings.WriteNumber(static_cast<int>(SettingIndex::CameraFilePath), 1));
    EXPECT_EQ(settings.Number(SettingIndex::Baudrate), 921600u);
    EXPECT_EQ(settings.Number(SettingIndex::ComPortNo), 255u);
}

// A port name is opened as a device: only what a port list could have given is taken.
TEST(ToolSettings, PortNamesAreKeptAsWrittenAndNothingElseIsTaken) {
    constexpr int kComName = static_cast<int>(SettingIndex::ComPortName);
    constexpr int kV11Name = static_cast<int>(SettingIndex::ClSerialV11Name);
    MemorySettingsBackend backend;
    ToolSettings settings(backend);
    // Unlike a folder, a device that is not there now is still the one chosen.
    EXPECT_TRUE(settings.WriteText(kComName, "/dev/serial/by-id/usb-unplugged"));
    EXPECT_TRUE(settings.WriteText(kV11Name, "Fakeworks - CL1"));
    std::string name;
    EXPECT_TRUE(settings.ReadText(kComName, name));
    EXPECT_EQ(name, "/dev/serial/by-id/usb-unplugged");
    EXPECT_TRUE(settings.ReadText(kV11Name, name));
    EXPECT_EQ(name, "Fakeworks - CL1");

    for (const std::string& bad :
         {std::string("/dev/ttyUSB0\nrm"), std::string("a\0b", 3), std::string(512, 'x')}) {
        EXPECT_FALSE(settings.WriteText(kComName, bad));
        backend.values["Com Port Name"] = bad;  // written by hand
        EXPECT_FALSE(settings.ReadText(kComName, name));
        EXPECT_EQ(name, "");
    }
    backend.values["Com Port Name"] = std::uint32_t{3};  // a number is no name
    EXPECT_FALSE(settings.ReadText(kComName, name));
    EXPECT_FALSE(settings.WriteText(static_cast<int>(SettingIndex::Baudrate), "9600"));
}

}  // namespace
}  // namespace vk
