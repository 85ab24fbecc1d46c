#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/cli_run.h"

namespace vk {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// --help and --version answer on standard output and need no camera; the man pages are
// made from --help.
TEST(CliOptions, HelpAndVersionPrintOnStandardOutput) {
    const auto version = test::RunCliCaptured({"--version"});
    EXPECT_EQ(version.code, cli::kExitOk);
    EXPECT_EQ(version.out, "vk4100ctl " VK_VERSION "\n");
    EXPECT_EQ(version.err, "");

    const auto help = test::RunCliCaptured({"--help"});
    EXPECT_EQ(help.code, cli::kExitOk);
    EXPECT_THAT(help.out, StartsWith("usage: vk4100ctl "));
    EXPECT_EQ(help.err, "");

    // Without a command the usage goes to the error stream, as for any wrong command line.
    const auto none = test::RunCliCaptured({});
    EXPECT_EQ(none.code, cli::kExitUsage);
    EXPECT_EQ(none.out, "");
    EXPECT_THAT(none.err, HasSubstr("no command given"));
    EXPECT_THAT(none.err, HasSubstr(help.out));

    const auto wrong = test::RunCliCaptured({"--version", "--baud", "x"});
    EXPECT_EQ(wrong.code, cli::kExitUsage);
    EXPECT_EQ(wrong.out, "");
}

// A rate no port can take is a wrong command line, however the number is written.
TEST(CliOptions, OnlySelectableBaudRatesAreTaken) {
    for (const char* rate : {"12345", "4294967297", "0", "-9600", "1"}) {
        const auto r = test::RunCliCaptured({"--simulate", "--baud", rate, "get", "PE"});
        EXPECT_EQ(r.code, cli::kExitUsage) << rate;
        EXPECT_THAT(r.err, HasSubstr(std::string("bad baud rate: ") + rate + " (9600, 19200"))
            << rate;
    }
    EXPECT_EQ(test::RunCliCaptured({"--simulate", "--baud", "115200", "get", "PE"}).code,
              cli::kExitOk);
}

// Three simulated cameras, each on its own thread and core: every line carries its camera's
// label and the summary names each (the sanitizer builds run this for the threads).
TEST(CliManyCameras, EachCameraRunsOnItsOwnThreadAndTheSummaryNamesEach) {
    const auto r =
        test::RunCliCaptured({"--port", "sim:", "--port", "sim:", "--port", "sim:", "get", "PE"});
    EXPECT_EQ(r.code, 0) << r.err;
    for (const char* camera : {"sim1", "sim2", "sim3"}) {
        EXPECT_THAT(r.out, HasSubstr(std::string(camera) + ": 10\n"));
        EXPECT_THAT(r.out, HasSubstr(std::string("\n") + camera + "\tok\t"));
    }
}

}  // namespace
}  // namespace vk
