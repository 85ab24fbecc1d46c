#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cl/cl_test_support.h"
#include "core/core_context.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"

namespace vk {
namespace {

using ::testing::Contains;

constexpr int kTimeoutMs = 1000;

struct Route {
    std::uint32_t mode;
    std::uint32_t port;  // index in that mode's list
    std::uint32_t baud;
};

void PrintTo(const Route& route, std::ostream* os) {
    *os << "mode " << route.mode << ", port " << route.port << ", " << route.baud << " bit/s";
}

std::string PrintRoute(const ::testing::TestParamInfo<Route>& info) {
    return "Mode" + std::to_string(info.param.mode);
}

// A whole session through each channel mode against the simulated camera: the fake
// Camera Link libraries forward to its pseudo-terminal.
class ChannelSessionTest : public ::testing::TestWithParam<Route> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(camera.Start(&error)) << error;
        fake.env.Set(test::fakecl::kDevice, camera.DevicePath());
        core.port.PinPort(camera.DevicePath());
    }

    test::FakeClEnvironment fake;
    sim::SimulatedCamera camera;
    test::RecordingUserInterface ui;
    MemorySettingsBackend backend;
    CoreContext core{ui, backend};
};

TEST_P(ChannelSessionTest, SetAndQueryReachTheCamera) {
    const Route route = GetParam();
    const ChannelMode mode = *ChannelModeOf(route.mode);
    core.channel.SetMode(mode);
    ASSERT_GT(core.channel.GetPortCount(), static_cast<int>(route.port));
    ASSERT_TRUE(core.channel.OpenChannel(mode, route.baud, route.port));

    Exchange& exchange = core.exchange;
    const CommandId pe = exchange.FindCommand("PE");
    ASSERT_TRUE(exchange.SendSetInt(pe, 5000, kTimeoutMs));
    EXPECT_EQ(exchange.QueryInt(pe, kTimeoutMs).value, 5000);
    ASSERT_TRUE(exchange.SendSetInt(pe, 1234, kTimeoutMs));
    EXPECT_EQ(exchange.QueryInt(pe, kTimeoutMs).value, 1234);

    const auto lines = camera.ReceivedLines();
    EXPECT_THAT(lines, Contains("PE=5000"));
    EXPECT_THAT(lines, Contains("PE?"));
    EXPECT_TRUE(ui.messages.empty());

    core.channel.CloseChannel();
    EXPECT_FALSE(core.channel.IsUsable());
    EXPECT_FALSE(exchange.QueryInt(pe, 50));
}

INSTANTIATE_TEST_SUITE_P(AllModes, ChannelSessionTest,
                         ::testing::Values(Route{0, 0, 115200}, Route{1, 1, 9600},
                                           Route{2, 1, 38400}, Route{3, 0, 115200}),
                         PrintRoute);

}  // namespace
}  // namespace vk
