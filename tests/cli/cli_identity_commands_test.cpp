// vk4100ctl's identity commands against the simulated camera, run in-process.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli/cli_app.h"
#include "support/cli_run.h"

namespace vk::cli {
namespace {

using test::CliRun;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

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

TEST(CliIdentity, ReadsAndWritesIdsWithTheirChecks) {
    const struct {
        std::vector<std::string> args;
        int code;
        std::string out;
        std::string err;  // a part of the error stream; empty: nothing at all
    } cases[] = {
        {{"user-id"}, kExitOk, "\n", ""},
        {{"user-id", "ABCDEFGHIJKLMNOP"}, kExitOk, "", ""},
        {{"user-id", "ABCDEFGHIJKLMNOPQ"}, kExitUsage, "", "User ID string is too long !!"},
        {{"camera-id"}, kExitOk, "VK00000001\n", ""},
        {{"camera-id", "CAM0000042"}, kExitUsage, "", "writing the camera id needs --factory"},
        {{"--factory", "camera-id", "CAM0000042"}, kExitOk, "", ""},
        {{"--factory", "camera-id", "CAM00000042"}, kExitUsage, "", "too long"},
        {{"device-version"}, kExitOk, "1000\n", ""},
        {{"device-version", "1203"}, kExitUsage, "", "needs --factory"},
        {{"--factory", "device-version", "1203"}, kExitOk, "", ""},
        {{"--factory", "device-version", "12x"}, kExitUsage, "", "bad device version: 12x"},
        {{"--factory", "device-version", "99999"},
         kExitFailed,
         "",
         "Couldn't write the Device Version. (ERROR)"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"--simulate"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = test::RunCliCaptured(args);
        const std::string name = c.args.back();
        EXPECT_EQ(r.code, c.code) << name << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << name;
        if (c.err.empty()) {
            EXPECT_EQ(r.err, "") << name;
        } else {
            EXPECT_NE(r.err.find(c.err), std::string::npos) << name << ": " << r.err;
        }
    }
}

TEST(CliLens, MovesForTheTimeGivenAndChecksItsWords) {
    CliRun r = test::RunCliCaptured({"--simulate", "--trace", "lens", "zoom", "tele", "40"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    const auto trace = Lines(r.err);
    ASSERT_EQ(trace.size(), 4u) << r.err;
    EXPECT_EQ(trace[0].substr(14), "Tx: MLZ=2");  // after "HH:MM:SS.mmm  "
    EXPECT_EQ(trace[2].substr(14), "Tx: MLZ=0");

    for (const auto& args : {std::vector<std::string>{"zoom", "near", "10"},
                             std::vector<std::string>{"iris", "open", "-1"},
                             std::vector<std::string>{"iris", "open", "soon"}}) {
        std::vector<std::string> all{"--simulate", "lens"};
        all.insert(all.end(), args.begin(), args.end());
        r = test::RunCliCaptured(all);
        EXPECT_EQ(r.code, kExitUsage) << args[1] << " " << args[2];
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
    const auto lines = Lines(r.out);
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

}  // namespace
}  // namespace vk::cli
