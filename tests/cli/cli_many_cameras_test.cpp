#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/cli_run.h"

namespace vk {
namespace {

using ::testing::HasSubstr;

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
