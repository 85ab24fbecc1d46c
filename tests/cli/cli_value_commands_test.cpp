#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>

#include "cli_app.h"
#include "sim/simulated_camera.h"
#include "support/cli_run.h"

namespace vk::cli {
namespace {

// get, set and raw against a simulated camera the test keeps, so values persist between runs.
class CliValueTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The stored selection goes to a folder of this test, not the user's own.
        config_ = std::filesystem::temp_directory_path() /
                  ("vk-cli-values-" + std::to_string(::getpid()));
        ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
        std::string error;
        ASSERT_TRUE(camera.Start(&error)) << error;
    }
    void TearDown() override { std::filesystem::remove_all(config_); }

    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", camera.DevicePath(), "--timeout", "1000"});
        const test::CliRun r = test::RunCliCaptured(args);
        out = r.out;
        err = r.err;
        return r.code;
    }

    sim::SimulatedCamera camera;
    std::filesystem::path config_;
    std::string out, err;
};

TEST_F(CliValueTest, SetThenGetANumber) {
    EXPECT_EQ(Run({"set", "PE", "5000"}), kExitOk) << err;
    EXPECT_EQ(Run({"get", "PE"}), kExitOk) << err;
    EXPECT_EQ(out, "5000\n");
    EXPECT_EQ(camera.ReceivedLines().back(), "PE?");
}

TEST_F(CliValueTest, RefusedOrUnknownValuesFailWithAReason) {
    EXPECT_EQ(Run({"set", "PE", "9"}), kExitFailed);  // below the range: the camera refuses
    EXPECT_NE(err.find("ERROR"), std::string::npos) << err;
    EXPECT_EQ(Run({"set", "PE", "ten"}), kExitFailed);
    EXPECT_EQ(Run({"get", "NOSUCH"}), kExitUsage);
    EXPECT_EQ(Run({"get", "PE"}), kExitOk);
    EXPECT_EQ(out, "10\n");  // nothing refused was stored
}

TEST_F(CliValueTest, TextIdsOfNumericCommandsGoAndComeAsText) {
    EXPECT_EQ(Run({"set", "UD", "Line3"}), kExitOk) << err;
    EXPECT_EQ(camera.ReceivedLines().back(), "UD=Line3");
    EXPECT_EQ(Run({"get", "UD"}), kExitOk) << err;
    EXPECT_EQ(out, "Line3\n");
    EXPECT_EQ(Run({"get", "MD"}), kExitOk);
    EXPECT_EQ(out, "VK-4100C-PMCL\n");
}

TEST_F(CliValueTest, RawSendsTheLineAsTypedAndPrintsTheAnswer) {
    EXPECT_EQ(Run({"raw", "ga=7"}), kExitOk) << err;
    EXPECT_EQ(out, "ERROR\n");  // the camera wants upper case
    EXPECT_EQ(Run({"raw", "GA=7"}), kExitOk) << err;
    EXPECT_EQ(out, "COMPLETE\n");
    camera.SetFault({sim::Fault::Silent, 0, -1, {}});
    EXPECT_EQ(Run({"--timeout", "100", "raw", "GA?"}), kExitFailed);
}

}  // namespace
}  // namespace vk::cli
