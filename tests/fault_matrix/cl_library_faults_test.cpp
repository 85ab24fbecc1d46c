// A Camera Link library that misbehaves still lets every exchange end in time, with a
// failure the person can read, and the tool talks to the camera again once it behaves.
#include <gtest/gtest.h>

#include <chrono>

#include "cl/cl_test_support.h"
#include "core/core_context.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"

namespace vk::test {
namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

constexpr int kWaitMs = 300;
constexpr int kStallMs = 200;  // the library's own wait, whatever it is asked
constexpr ChannelMode kV11Mode = ChannelMode::ClSerialV11;

struct LibraryFault {
    const char* name;
    const char* variable;
    const char* value;
};

class ClLibraryFaults : public ::testing::TestWithParam<LibraryFault> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(camera.Start(&error)) << error;
        fake.env.Set(fakecl::kDevice, camera.DevicePath());
        core.channel.SetMode(kV11Mode);
        ASSERT_TRUE(core.channel.OpenChannel(kV11Mode, 115200, 0));
    }

    ExchangeResult QueryPe(std::int32_t& value, int timeoutMs) {
        return core.runner.Run({"query"}, [&](Operation& op) {
            const auto asked = op.exchange.QueryInt(Cmd("PE"), timeoutMs);
            value = asked.value;
            return asked;
        });
    }

    FakeClEnvironment fake;
    sim::SimulatedCamera camera;
    RecordingUserInterface ui;
    MemorySettingsBackend backend;
    CoreContext core{ui, backend};
};

TEST_P(ClLibraryFaults, EveryExchangeEndsInTimeAndTheNextWorksOnceItBehaves) {
    camera.SetValue("PE", "4321");
    fake.env.Set(GetParam().variable, GetParam().value);
    for (const bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "silent camera" : "answering camera");
        camera.SetFault(silent ? sim::FaultSettings{sim::Fault::Silent} : sim::FaultSettings{});
        std::int32_t value = 0;
        const auto start = Clock::now();
        const ExchangeResult result = QueryPe(value, kWaitMs);
        const auto took = Clock::now() - start;
        // A few late returns of the library, not one per byte.
        EXPECT_LT(took, Ms(2 * (kWaitMs + 4 * kStallMs)))
            << std::chrono::duration_cast<Ms>(took).count() << " ms";
        if (result.ok()) {
            EXPECT_FALSE(silent);
            EXPECT_EQ(value, 4321);
        } else {
            // Bytes the library kept from an earlier answer may come first.
            EXPECT_TRUE(result.status == ExchangeStatus::TimedOut ||
                        result.status == ExchangeStatus::Refused)
                << result.Describe();
            EXPECT_FALSE(result.Describe().empty());
        }
        EXPECT_FALSE(core.runner.Running());
    }

    fake.env.Unset(GetParam().variable);
    camera.ClearFault();
    // Another query first: the answer to the same one could be taken for the late one.
    const ExchangeResult model =
        core.runner.Run({"model"}, [&](Operation&) { return core.modelCheck.Check(); });
    EXPECT_TRUE(model.ok()) << model.Describe();
    std::int32_t value = 0;
    const ExchangeResult next = QueryPe(value, 8 * kWaitMs);
    EXPECT_TRUE(next.ok()) << next.Describe();
    EXPECT_EQ(value, 4321);
}

INSTANTIATE_TEST_SUITE_P(
    Library, ClLibraryFaults,
    ::testing::Values(LibraryFault{"IgnoresItsTimeOut", fakecl::kReadStallMs, "200"},
                      LibraryFault{"ReportsMoreBytesThanAsked", fakecl::kOversizedRead, "1"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vk::test
