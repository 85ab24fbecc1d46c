#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "cli/cli_app.h"
#include "sim/simulated_camera.h"
#include "support/cli_camera_fixture.h"

namespace vk::cli {
namespace {

using Lines = std::vector<std::string>;

// get, set and raw against a simulated camera the test keeps, so values persist between runs.
class CliValueTest : public test::CliCameraFixture {};

TEST_F(CliValueTest, SetThenGetANumberInAnyLetterCase) {
    EXPECT_EQ(Run({"set", "pe", "5000"}), kExitOk) << err;
    EXPECT_EQ(camera.ReceivedLines(), Lines{"PE=5000"});
    EXPECT_EQ(Run({"get", "Pe"}), kExitOk) << err;
    EXPECT_EQ(out, "5000\n");
    EXPECT_EQ(camera.ReceivedLines(), Lines{"PE?"});
}

TEST_F(CliValueTest, ValuesOutsideTheParameterAreRefusedUnsent) {
    const struct {
        Lines args;
        std::string reason;
    } refused[] = {
        {{"set", "PE", "abc"}, "PE takes a whole number from 10 to 8000000, not \"abc\""},
        {{"set", "PE", "5.5"}, "from 10 to 8000000, not \"5.5\""},
        {{"set", "PE", "1"}, "PE takes a whole number from 10 to 8000000, not 1"},
        {{"set", "pe", "8000001"}, "from 10 to 8000000, not 8000001"},
        {{"set", "PE", "99999999999"}, "from 10 to 8000000"},
        {{"set", "PE", ""}, "from 10 to 8000000"},
        {{"set", "ALCA", "2"}, "ALCA takes a whole number from 0 to 1, not 2"},
        {{"set", "EM", "auto"}, "EM takes a whole number, not \"auto\""},
        {{"set", "PE", "50\r\nGA=1"}, "holds a control character"},
        {{"set", "BDRT", "1"}, "BDRT is a factory parameter: setting it needs --factory"},
        {{"set", "tempf", "5"}, "TEMPF is a factory parameter"},
        {{"area", "store", "0"}, "give --factory"},
        {{"get", "NOSUCH"}, "unknown mnemonic: NOSUCH"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.args[1] + " " + c.args.back());
        EXPECT_EQ(Run(c.args), kExitUsage);
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;
        EXPECT_TRUE(camera.ReceivedLines().empty());
    }
    EXPECT_EQ(camera.Value("PE"), "10");
}

TEST_F(CliValueTest, AcceptedValuesGoInTheCamerasForm) {
    const struct {
        Lines args;
        std::string sent;
    } accepted[] = {
        {{"set", "PE", "10"}, "PE=10"},         {{"set", "PE", "8000000"}, "PE=8000000"},
        {{"set", "PE", "+0500"}, "PE=500"},     {{"set", "PE", "&H10"}, "PE=16"},
        {{"set", "alca", "1"}, "ALCA=1"},       {{"--factory", "set", "TEMPF", "5"}, "TEMPF=5"},
        {{"set", "LUTR", "3,40"}, "LUTR=3,40"},  // a table entry goes as typed
        {{"set", "UD", "Line3"}, "UD=Line3"},    // so does a command no page shows
    };
    for (const auto& c : accepted) {
        SCOPED_TRACE(c.sent);
        EXPECT_EQ(Run(c.args), kExitOk) << err;
        EXPECT_EQ(camera.ReceivedLines(), Lines{c.sent});
    }
    EXPECT_EQ(Run({"get", "UD"}), kExitOk) << err;
    EXPECT_EQ(out, "Line3\n");
}

TEST_F(CliValueTest, RawFailsWhenTheCameraAnswersWithAnError) {
    const struct {
        std::string line;
        sim::FaultSettings fault;
        int code;
        std::string out;
    } cases[] = {
        {"GA=7", {}, kExitOk, "COMPLETE\n"},
        {"GA?", {}, kExitOk, "GA=7\n"},
        {"ga=7", {}, kExitFailed, "ERROR\n"},  // the camera wants upper case
        {"GA=7", {sim::Fault::ErrorOnSet, 0, 1, "NG 12"}, kExitFailed, "NG 12\n"},
        {"GA?", {sim::Fault::Silent, 0, 1, {}}, kExitFailed, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        camera.SetFault(c.fault);
        EXPECT_EQ(Run({"raw", c.line}), c.code) << err;
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(err.empty(), c.code == kExitOk) << err;
    }
}

TEST_F(CliValueTest, GarbageFromTheLineIsPrintedEscaped) {
    const std::string escaped = "\\xFF\\x00\\xA5Z\\x81\\xFE\\x13\\x80\\x7F\\x02";
    camera.SetFault({sim::Fault::Garbage, 0, 1, {}});
    EXPECT_EQ(Run({"--trace", "raw", "GA?"}), kExitFailed);
    EXPECT_EQ(out, escaped + "\n");
    EXPECT_TRUE(test::PrintableOnly(err)) << err;
    // The trace: "HH:MM:SS.mmm  " before each line.
    const std::regex stamped(R"(\d\d:\d\d:\d\d\.\d\d\d  Rx: (.*))");
    std::smatch match;
    std::istringstream lines(err);
    bool seen = false;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, match, stamped)) seen = match[1] == escaped;
        if (seen) break;
    }
    EXPECT_TRUE(seen) << err;

    camera.SetFault({sim::Fault::Garbage, 0, 1, {}});
    camera.ClearReceivedLines();
    const test::CliRun terminal =
        test::RunCliCaptured({"--port", camera.DevicePath(), "terminal"}, "GA?\nGA?\n");
    EXPECT_TRUE(test::PrintableOnly(terminal.out)) << terminal.out;
    EXPECT_NE(terminal.out.find("Rx: " + escaped + "\n"), std::string::npos) << terminal.out;
    EXPECT_NE(terminal.out.find("Rx: GA="), std::string::npos) << terminal.out;

    camera.SetValue("UD", "Caf\xE9\\");
    EXPECT_EQ(Run({"get", "UD"}), kExitOk) << err;
    EXPECT_EQ(out, "Caf\\xE9\\\\\n");
}

// A failure is told on one line, once: not by the exchange and again by the command.
TEST_F(CliValueTest, EachFailureIsPrintedOnceOnOneLine) {
    const struct {
        Lines args;
        sim::Fault fault;
        std::string err;
    } cases[] = {
        {{"set", "UD", "1234567890123456789"},
         sim::Fault::None,
         "vk4100ctl: UD was not set: ERROR\n"},
        {{"set", "PE", "100"}, sim::Fault::ErrorOnSet, "vk4100ctl: PE was not set: ERROR\n"},
        {{"get", "PE"}, sim::Fault::WrongMnemonic, ""},
    };
    for (const auto& c : cases) {
        camera.SetFault({c.fault, 0, 1, "ERROR"});
        EXPECT_EQ(Run(c.args), kExitFailed);
        if (!c.err.empty()) {
            EXPECT_EQ(err, c.err);
        }
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

}  // namespace
}  // namespace vk::cli
