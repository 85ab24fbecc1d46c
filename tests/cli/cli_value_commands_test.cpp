#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>

#include "cli_app.h"
#include "sim/simulated_camera.h"
#include "support/cli_camera_fixture.h"

namespace vk::cli {
namespace {

// get, set and raw against a simulated camera the test keeps, so values persist between runs.
class CliValueTest : public test::CliCameraFixture {};

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
