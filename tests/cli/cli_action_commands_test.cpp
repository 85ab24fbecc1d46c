#include <gtest/gtest.h>

#include "cli/cli_app.h"
#include "sim/simulated_camera.h"
#include "support/cli_camera_fixture.h"

namespace vk::cli {
namespace {

using Lines = std::vector<std::string>;

// action and area against a simulated camera the test keeps.
class CliActionTest : public test::CliCameraFixture {
protected:
    CliActionTest() : CliCameraFixture(Options()) {}

    static sim::SimOptions Options() {
        sim::SimOptions options;
        options.calibrationMs = 20;
        return options;
    }
};

TEST(CliActionList, ListsTheActionsWithoutACamera) {
    const test::CliRun r = test::RunCliCaptured({"--port", "/nonexistent", "action", "list"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    for (const std::string& line : test::SplitLines(r.out)) {
        EXPECT_NE(line.find("\tuser\t") == std::string::npos,
                  line.find("\tfactory\t") == std::string::npos)
            << line;
    }
    // A table action is listed once per table, under the table's command.
    EXPECT_NE(r.out.find("recalibrate-shading\t\tRS, SDRS?\tuser\t"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("table-write BMPXW\tINDEX VALUE\tBMPXW\tuser\t"), std::string::npos);
}

TEST_F(CliActionTest, TheExitStatusFollowsTheResult) {
    struct {
        Lines args;
        std::string cameraResult;  // WBRS's outcome
        int code;
        std::string out;
    } cases[] = {
        {{"action", "gain-tap-balance-once"}, "0", kExitOk, "Complete\n"},
        {{"action", "gain-tap-balance-once"}, "1", kExitFailed, "Too Bright\n"},
        {{"action", "gain-tap-balance-once"}, "9", kExitFailed, "Unknown Result\n"},
        {{"action", "read-temperature"}, "0", kExitOk, "38\n"},
        {{"action", "table-write", "lutb", "4", "99"}, "0", kExitOk, ""},
        {{"action", "table-read", "LUTB", "4"}, "0", kExitOk, "4\t99\n"},
        {{"--factory", "action", "write-xml-version", "3", "1", "4"},
         "0",
         kExitOk,
         "Writing the XML Version has been completed.\n"},
        {{"--factory", "action", "read-xml-version"}, "0", kExitOk, "3.1.4\n"},
        {{"--factory", "area", "store-all"},
         "0",
         kExitOk,
         "Completed to store current setting data!\n"},
        {{"area", "store", "2"}, "0", kExitOk, "Completed saving current setting data !\n"},
        {{"area", "load", "1"}, "0", kExitOk, ""},
        {{"area", "current"}, "0", kExitOk, "1\tUser 1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[1]);
        camera.SetValue("WBRS", c.cameraResult);
        EXPECT_EQ(Run(c.args), c.code) << err;
        EXPECT_EQ(out, c.out);
    }
}

TEST_F(CliActionTest, FactoryActionsAndBadArgumentsAreRefusedBeforeAnythingIsSent) {
    const Lines refused[] = {
        {"action", "gain-reset"},
        {"action", "camera-reset"},
        {"area", "store-all"},
        {"action", "no-such-action"},
        {"action", "table-write", "BMPXW", "1"},
        {"action", "table-write", "NOPE", "1", "2"},
        {"action", "table-read", "BMPXW", "0"},
        {"action", "soft-trigger", "extra"},
        {"--factory", "action", "write-xml-version", "1", "2", "x"},
        {"--factory", "action", "write-model-id", "VK 4100"},
        {"--factory", "action", "write-model-id", "EVIL"},                 // no model of the combo
        {"--factory", "action", "write-model-id", "--any-model", "EVIL"},  // nor of the table
        {"area", "load", "4"},
        {"area", "erase", "1"},
    };
    for (const Lines& args : refused) {
        SCOPED_TRACE(args[1]);
        EXPECT_EQ(Run(args), kExitUsage);
        EXPECT_FALSE(err.empty());
        EXPECT_TRUE(camera.ReceivedLines().empty());
    }
}

TEST_F(CliActionTest, ACameraThatRefusesGivesTheFailureStatus) {
    camera.SetFault({sim::Fault::ErrorOnSet, 0, 1, "ERROR"});
    EXPECT_EQ(Run({"--factory", "action", "camera-reset"}), kExitFailed);
    EXPECT_NE(err.find("Failed sending \"Camera Reset Command\"."), std::string::npos) << err;
    camera.SetFault({sim::Fault::ErrorOnSet, 0, 1, "ERROR"});
    EXPECT_EQ(Run({"action", "soft-trigger"}), kExitFailed);
    EXPECT_EQ(camera.ReceivedLines(), Lines{"STRG=0"});
}

}  // namespace
}  // namespace vk::cli
