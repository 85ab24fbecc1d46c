#include <gtest/gtest.h>

#include <filesystem>

#include "persist/tool_settings.h"

namespace vk {
namespace {

TEST(ToolSettings, DefaultsOnAMachineWithoutValues) {
    MemorySettingsBackend backend;
    ToolSettings settings(backend);
    EXPECT_EQ(settings.Number(SettingIndex::CommunicationMode), 0u);
    EXPECT_EQ(settings.Number(SettingIndex::Baudrate), 9600u);
    EXPECT_EQ(settings.Number(SettingIndex::ComPortNo), 0u);
    EXPECT_EQ(settings.Number(SettingIndex::ControlMode), 0u);
    std::string path;
    EXPECT_FALSE(settings.ReadText(static_cast<int>(SettingIndex::CameraFilePath), path));
    EXPECT_EQ(path, std::filesystem::current_path().string());
    std::uint32_t v = 5;
    EXPECT_FALSE(settings.ReadNumber(10, v, 77));
    EXPECT_EQ(v, 77u);
    EXPECT_FALSE(settings.WriteNumber(10, 1));
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

TEST(ToolSettings, ShutdownStatusTellsWhetherThePreviousRunEndedNormally) {
    MemorySettingsBackend backend;
    {
        ToolSettings first(backend);
        EXPECT_EQ(first.PreviousShutdownStatus(), 0u);
        EXPECT_EQ(
            std::get<std::uint32_t>(backend.values.at("Previous Application Shutdown Status")), 0u);
    }
    {
        ToolSettings second(backend);
        EXPECT_EQ(second.PreviousShutdownStatus(), 1u);
        EXPECT_TRUE(second.WriteNumber(1, 3));  // the first write of a run is kept
    }
    EXPECT_EQ(std::get<std::uint32_t>(backend.values.at("Communication Mode")), 3u);
}

}  // namespace
}  // namespace vk
