#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli_app.h"
#include "sim/simulated_camera.h"
#include "support/cli_camera_fixture.h"

namespace vk::cli {
namespace {

// Setting files through vk4100ctl against a simulated camera the test keeps, so that what
// one run changes the next one sees.
class CliFileTest : public test::CliCameraFixture {};

TEST_F(CliFileTest, SaveChangeLoadGivesTheSameCameraBack) {
    camera.SetValue("PE", "4321");
    camera.SetValue("LS2", "1");
    ASSERT_EQ(Run({"dump"}), kExitOk) << err;
    const std::string before = out;
    ASSERT_EQ(Run({"file", "save", File("a.cam")}), kExitOk) << err;
    EXPECT_EQ(Run({"file", "diff", File("a.cam")}), kExitOk) << out << err;
    EXPECT_TRUE(out.empty());

    camera.SetValue("PE", "99");
    camera.SetValue("FGA", "800");
    camera.SetValue("LS2", "0");
    EXPECT_EQ(Run({"file", "diff", File("a.cam")}), kExitFailed);
    EXPECT_NE(out.find("\tPE\tfile=4321\tcamera=99\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\tLS2\tfile=1\tcamera=0\n"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out;

    camera.ClearReceivedLines();
    ASSERT_EQ(Run({"file", "load", "--changed-only", File("a.cam")}), kExitOk) << err;
    const auto lines = camera.ReceivedLines();
    const auto sets = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find('=') != std::string::npos;
    });
    EXPECT_EQ(sets, 3);  // only what differed
    ASSERT_EQ(Run({"dump"}), kExitOk) << err;
    EXPECT_EQ(out, before);
    EXPECT_EQ(camera.Value("LS2"), "1");
}

TEST_F(CliFileTest, AWholeLoadSendsEveryLineAndReportsRefusals) {
    ASSERT_EQ(Run({"file", "save", "--shipping", File("s.cam")}), kExitOk) << err;
    {
        std::ofstream append(File("s.cam"), std::ios::app | std::ios::binary);
        append << "BOF=99999\r\nNOSUCH=1\r\n";
    }
    camera.ClearReceivedLines();
    EXPECT_EQ(Run({"file", "load", File("s.cam")}), kExitFailed);
    EXPECT_NE(err.find("Refused by the camera:\n  line"), std::string::npos) << err;
    EXPECT_NE(err.find("BOF=99999 (ERROR)"), std::string::npos) << err;
    EXPECT_NE(err.find("NOSUCH=1 (unknown command)"), std::string::npos) << err;
    EXPECT_EQ(camera.ReceivedLines().back(), "BOF=99999");
}

TEST_F(CliFileTest, BadArgumentsAndFilesChangeNothing) {
    EXPECT_EQ(Run({"file", "open", File("x.cam")}), kExitUsage);
    EXPECT_EQ(Run({"file", "save", "--nope", File("x.cam")}), kExitUsage);
    EXPECT_EQ(Run({"file", "diff", File("a.cam"), File("b.cam")}), kExitUsage);
    camera.ClearReceivedLines();
    EXPECT_EQ(Run({"file", "load", File("missing.cam")}), kExitUsage);
    EXPECT_NE(err.find("Couldn't open this file"), std::string::npos) << err;
    std::ofstream(File("notes.cam")) << "buy milk\n";
    EXPECT_EQ(Run({"file", "load", File("notes.cam")}), kExitUsage);
    EXPECT_NE(err.find("This is not a camera setting file."), std::string::npos) << err;
    EXPECT_TRUE(camera.ReceivedLines().empty());
}

}  // namespace
}  // namespace vk::cli
