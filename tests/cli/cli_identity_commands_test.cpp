// vk4100ctl's identity commands against the simulated camera, run in-process.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli/cli_app.h"
#include "sim/simulated_camera.h"
#include "support/cli_run.h"

namespace vk::cli {
namespace {

using test::CliRun;

TEST(CliInfo, PrintsTheInformationWindowsFields) {
    const CliRun r = test::RunCliCaptured({"--simulate", "info"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out,
              "firmware version: 1.05\n"
              "model name: VK-4100C-PMCL\n"
              "camera id: VK00000001\n"
              "FPGA version: 1.02\n"
              "user id: \n"
              "device version: 1.0.0.0\n");
    EXPECT_EQ(r.err, "");
}

// The id rules themselves are CameraInfoTest's; here what the commands print and return.
TEST(CliIdentity, ReadsAndWritesIdsWithTheirChecks) {
    test::ExpectSimulatedRuns({
        {{"user-id"}, kExitOk, "\n"},
        {{"user-id", "ABCDEFGHIJKLMNOP"}, kExitOk, ""},
        {{"user-id", "ABCDEFGHIJKLMNOPQ"}, kExitUsage, "User ID string is too long !!"},
        {{"camera-id"}, kExitOk, "VK00000001\n"},
        {{"camera-id", "CAM0000042"}, kExitUsage, "writing the camera id needs --factory"},
        {{"--factory", "camera-id", "CAM0000042"}, kExitOk, ""},
        {{"device-version"}, kExitOk, "1000\n"},
        {{"device-version", "1203"}, kExitUsage, "writing the device version needs --factory"},
        {{"--factory", "device-version", "1203"}, kExitOk, ""},
        {{"--factory", "device-version", "12x"}, kExitUsage, "bad device version: 12x"},
        {{"--factory", "device-version", "99999"},
         kExitFailed,
         "Couldn't write the Device Version. (ERROR)"},
    });
}

// The move itself: CliStopSignalTest stops one midway, LensMovesForItsTimeThenStops times it.
TEST(CliLens, RefusesWordsItDoesNotKnow) {
    for (const auto& args : {std::vector<std::string>{"zoom", "near", "10"},
                             std::vector<std::string>{"iris", "open", "-1"},
                             std::vector<std::string>{"iris", "open", "soon"}}) {
        std::vector<std::string> all{"--simulate", "lens"};
        all.insert(all.end(), args.begin(), args.end());
        EXPECT_EQ(test::RunCliCaptured(all).code, kExitUsage) << args[1] << " " << args[2];
    }
}

TEST(CliTerminal, SendsEachInputLineAndPrintsTheStampedTraffic) {
    const CliRun r = test::RunCliCaptured({"--simulate", "terminal"},
                                          "VN?\n"
                                          "UD=bench 4\r\n"
                                          "UD?\n"
                                          "\n"
                                          "NOPE=1\n");
    EXPECT_EQ(r.code, kExitOk) << r.err;
    const auto lines = test::SplitLines(r.out);
    const std::regex stamp(R"(\d\d:\d\d:\d\d\d  .*)");
    std::vector<std::string> texts;
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_match(line, stamp)) << line;
        texts.push_back(line.substr(11));
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Tx: VN?", "Rx: VN=105", "Tx: UD=bench 4",
                                               "Rx: COMPLETE", "Tx: UD?", "Rx: UD=bench 4",
                                               "Tx: ", "Tx: NOPE=1", "Rx: ERROR"}));
    EXPECT_EQ(r.err, "");
}

// Typed lines are bounded and sent whole; every answer line of the last one is listed.
TEST(CliTerminal, BoundsTypedLinesAndListensUntilTheLineIsQuiet) {
    sim::SimulatedCamera camera;
    std::string error;
    ASSERT_TRUE(camera.Start(&error)) << error;
    const struct {
        std::string input;
        int code;
        std::string err;  // how it starts
        int sent;         // lines the camera received
    } cases[] = {
        {"VN?\n", kExitOk, "", 1},
        {std::string(5000, '\0'), kExitUsage,
         "vk4100ctl: terminal: line 1 is longer than 4096 bytes", 0},
        {"VN?\rMD?\nVN?\n", kExitUsage, "vk4100ctl: terminal: line 1 holds a CR inside", 1},
        {std::string(4096, ' ') + "\r\n", kExitOk, "", 1},
    };
    for (const auto& c : cases) {
        // The answer comes again 20 ms later: a second line of the same answer.
        camera.SetFault({sim::Fault::Twice, 20, -1, {}, 0});
        camera.ClearReceivedLines();
        const CliRun r = test::RunCliCaptured({"--port", camera.DevicePath(), "terminal"}, c.input);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_TRUE(r.err.starts_with(c.err)) << r.err;
        std::size_t sent = 0;
        for (const std::string& line : camera.ReceivedLines())
            sent += line == "VN?" || line.starts_with(' ');
        EXPECT_EQ(sent, std::size_t(c.sent)) << c.input.substr(0, 10);
        if (c.sent == 1 && c.input.starts_with("VN")) {
            std::size_t answers = 0;
            for (const std::string& line : test::SplitLines(r.out))
                answers += line.ends_with("Rx: VN=105");
            EXPECT_EQ(answers, 2u) << r.out;
        }
    }
}

}  // namespace
}  // namespace vk::cli
