#include <gtest/gtest.h>

#include <string>

#include "sim/camera_model.h"
#include "sim/state_file.h"
#include "support/temp_dir.h"

namespace vk::sim {
namespace {

std::string Ask(CameraModel& camera, const std::string& line) {
    return camera.Handle(line).text;
}

TEST(CameraStateTest, AreasIdsAndLutsSurviveARestart) {
    CameraModel before;
    EXPECT_FALSE(before.StateChanged());
    ASSERT_EQ(Ask(before, "PE=1234"), "COMPLETE");
    EXPECT_FALSE(before.StateChanged());  // current settings are not kept by themselves
    ASSERT_EQ(Ask(before, "SA=3"), "COMPLETE");
    ASSERT_EQ(Ask(before, "PE=4321"), "COMPLETE");
    ASSERT_EQ(Ask(before, "SA=1"), "COMPLETE");
    ASSERT_EQ(Ask(before, "ULCK=5127038"), "COMPLETE");
    ASSERT_EQ(Ask(before, "ID=CAM0000042"), "COMPLETE");
    ASSERT_EQ(Ask(before, "UD=line 4"), "COMPLETE");
    ASSERT_EQ(Ask(before, "LUTB=17,99"), "COMPLETE");
    ASSERT_EQ(Ask(before, "LD=3"), "COMPLETE");
    EXPECT_TRUE(before.StateChanged());

    CameraModel after;
    std::string error;
    ASSERT_TRUE(after.LoadState(before.SaveState(), &error)) << error;
    EXPECT_FALSE(after.StateChanged());
    EXPECT_EQ(Ask(after, "EA?"), "EA=3");
    EXPECT_EQ(Ask(after, "PE?"), "PE=1234");  // the camera starts with its current area
    EXPECT_EQ(Ask(after, "LD=1"), "COMPLETE");
    EXPECT_EQ(Ask(after, "PE?"), "PE=4321");
    EXPECT_EQ(Ask(after, "ID?"), "ID=CAM0000042");
    EXPECT_EQ(Ask(after, "UD?"), "UD=line 4");
    EXPECT_EQ(Ask(after, "LUTB?17"), "LUTB=99");
    ASSERT_EQ(Ask(before, "LD=1"), "COMPLETE");
    EXPECT_EQ(after.SaveState(), before.SaveState());
}

TEST(CameraStateTest, ABadStateIsRefusedWithItsLineAndChangesNothing) {
    CameraModel good;
    ASSERT_EQ(Ask(good, "UD=kept"), "COMPLETE");
    const std::string header = "VK4100-SIM-STATE 1\n";
    std::string lut = "LUTG=0";
    for (int i = 1; i < 256; ++i)
        lut += "," + std::to_string(i * 16);
    const std::string needs256 = "line 2: LUTG needs 256 values from 0 to 4095";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "line 0: the file is empty"},
        {"something else\n", "line 1: not a simulator state file"},
        {header + "UD=new\nEA=4\n", "line 3: no flash area 4"},
        {header + "AREA7 PE=10\n", "line 2: no flash area AREA7"},
        {header + "AREA1 PE=5\n", "line 2: PE=5 is not a value the camera accepts"},
        {header + "AREA1 VN=5\n", "line 2: unknown setting VN"},
        {header + "PE=50\n", "line 2: unknown setting PE"},
        {header + "UD\n", "line 2: expected KEY=VALUE"},
        {header + "LUTR=1,2,3\n", "line 2: LUTR needs 256 values from 0 to 4095"},
        {header + lut + ",\n", needs256},   // a trailing comma
        {header + lut + ",0\n", needs256},  // 257 values
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(good.LoadState(c.text, &error)) << c.text;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(good.Value("UD"), "kept");
    }
}

TEST(StateFileTest, AMissingFileIsAFreshCameraAndAFolderIsNamed) {
    const test::TempDir dir;
    std::optional<std::string> text;
    std::string error;
    ASSERT_TRUE(ReadTextFile(dir / "state", text, &error)) << error;
    EXPECT_FALSE(text.has_value());  // not there yet: nothing to load
    EXPECT_FALSE(ReadTextFile(dir.Path().string(), text, &error));
    EXPECT_EQ(error, dir.Path().string() + ": is a folder, not a file");
}

}  // namespace
}  // namespace vk::sim
