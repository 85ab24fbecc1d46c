#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "core/camera_fixture.h"
#include "core/operation_runner.h"

namespace vk {
namespace {

class Observer : public OnlineStatusObserver {
public:
    void OnOnlineStatusChanged(bool online) override { calls.push_back(online); }
    std::vector<int> calls;
};

// The core's exchanges with the simulated camera, watched by an online-status observer.
class ExchangeTest : public test::CameraFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(Connect());
        core.notifier.Register(&observer);
    }
    void TearDown() override { core.notifier.Unregister(&observer); }

    CommandId Id(const char* mnemonic) { return core.exchange.FindCommand(mnemonic); }

    Observer observer;
};

TEST_F(ExchangeTest, SetSendsTheLineAndAcceptsComplete) {
    EXPECT_TRUE(core.exchange.SendSetInt(Id("GA"), 0, kShort));
    EXPECT_TRUE(core.exchange.SendSetInt(Id("PE"), 5000, kShort));
    EXPECT_EQ(camera->ReceivedLines(), (std::vector<std::string>{"GA=0", "PE=5000"}));
    EXPECT_EQ(camera->Value("PE"), "5000");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(observer.calls, (std::vector<int>{1, 1}));
    EXPECT_EQ(ui.waitCursor, (std::vector<bool>{true, false, true, false}));
}

TEST_F(ExchangeTest, CompleteIsJudgedOnItsFirstEightLettersInAnyCase) {
    for (const char* answer : {"complete", "COMPLETE and more", "Complete"}) {
        camera->SetFault({sim::Fault::ErrorOnSet, 0, 1, answer});
        EXPECT_TRUE(core.exchange.SendSetInt(Id("PE"), 20, kShort)) << answer;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ExchangeTest, ARefusedSetIsShownOnceByTheRunnerWithTheCamerasText) {
    camera->SetFault({sim::Fault::ErrorOnSet, 0, 1, "Err: out of Range"});
    const ExchangeResult result = core.runner.Run(
        {"set"}, [&](Operation& op) { return op.exchange.SendSetInt(Id("PE"), 30, kShort); });
    EXPECT_FALSE(result);
    EXPECT_EQ(result.message, "Err: out of Range");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Err: out of Range");
    EXPECT_EQ(ui.messages[0].caption, "Communication Error");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(observer.calls, (std::vector<int>{1}));  // the camera did answer
}

TEST_F(ExchangeTest, AnAnswerNamingAnotherCommandIsRefusedWithItsText) {
    camera->SetFault({sim::Fault::WrongMnemonic, 0, 1, {}});
    const ExchangeResult result = core.exchange.QueryInt(Id("PE"), kShort);
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.message.ends_with(" for PE?")) << result.message;
    EXPECT_TRUE(observer.calls.empty());  // online state unchanged
}

TEST_F(ExchangeTest, ASilentCameraTimesOutAndGoesOffline) {
    camera->SetFault({sim::Fault::Silent, 0, -1, {}});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(core.exchange.SendSetInt(Id("PE"), 10, 100));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_FALSE(core.exchange.QueryInt(Id("PE"), 100));
    EXPECT_EQ(observer.calls, (std::vector<int>{0, 0}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(core.exchange.SendRawQuery("LUTR?3\r\n", 50, false));
    EXPECT_EQ(observer.calls.size(), 2u);  // a raw query reports time-outs only when asked
}

TEST_F(ExchangeTest, AnOverlongLineIsReportedOnceThenTheExchangeRecovers) {
    camera->SetFault({sim::Fault::Overlong, 0, 1, {}});
    core.exchange.QueryInt(Id("PE"), 1000);           // may still read the reply after the junk
    EXPECT_TRUE(core.exchange.TakeOverflowNotice());  // told once, by whoever shows it
    EXPECT_FALSE(core.exchange.TakeOverflowNotice());
    camera->ClearFault();
    EXPECT_TRUE(core.exchange.SendSetInt(Id("PE"), 77, 1000));
    EXPECT_EQ(core.exchange.QueryInt(Id("PE"), 1000).value, 77);
    EXPECT_TRUE(ui.messages.empty());
}

// Whichever call sent the line, what the camera completed or answered for a parameter row is
// what the tool knows it holds; a refused set or a text command records nothing.
TEST_F(ExchangeTest, TheCamerasAnswerIsRecordedWhateverSentTheLine) {
    constexpr ControlId kPe = 1943;
    constexpr ControlId kLutIndex = 4603;
    constexpr ControlId kLutValue = 4605;
    const ParameterTable& values = core.exchange.Values();
    const std::string crlf = "\r\n";
    struct Case {
        const char* what;
        std::function<bool()> send;
        ControlId control;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {"nothing read yet", [] { return true; }, kPe, std::nullopt},
        {"a refused set",
         [&] {
             camera->SetFault({sim::Fault::ErrorOnSet, 0, 1, {}});
             return !core.exchange.SendSetInt(Id("PE"), 20, kShort);
         },
         kPe, std::nullopt},
        {"a set", [&] { return bool(core.exchange.SendSetInt(Id("PE"), 5000, kShort)); }, kPe,
         5000},
        {"a query",
         [&] {
             camera->SetValue("PE", "6000");
             return bool(core.exchange.QueryInt(Id("PE"), kShort));
         },
         kPe, 6000},
        {"a terminal set",
         [&] { return bool(core.exchange.SendLine("PE=4321" + crlf, kShort, true)); }, kPe, 4321},
        {"a terminal query",
         [&] {
             camera->SetValue("PE", "777");
             return bool(core.exchange.SendLine("PE?" + crlf, kShort, true));
         },
         kPe, 777},
        {"a table write's index",
         [&] { return bool(core.exchange.SendSetString(Id("LUTR"), "5,100", kShort)); }, kLutIndex,
         5},
        {"a table write's value", [] { return true; }, kLutValue, 100},
        {"a table read",
         [&] { return bool(core.exchange.SendRawQuery("LUTR?5" + crlf, kShort, true)); }, kLutValue,
         100},
        {"a text command",
         [&] { return bool(core.exchange.SendSetString(Id("UD"), "12", kShort)); }, kPe, 777},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.send()) << c.what;
        EXPECT_EQ(values.CameraValue(c.control), c.expected) << c.what;
    }
}

TEST_F(ExchangeTest, AHungUpLineFailsAtOnceInsteadOfWaiting) {
    camera->SetFault({sim::Fault::HangUp, 0, 1, {}});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(core.exchange.QueryInt(Id("PE"), 20000));
    EXPECT_FALSE(core.exchange.SendSetInt(Id("PE"), 10, 20000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(observer.calls.back(), 0);
}

TEST_F(ExchangeTest, LinesSentWhileIdleAreLoggedAndQueued) {
    // No exchange waits for the answer to this line: it is the camera's own when it comes
    // (a late answer to an exchange is taken as owed instead).
    EXPECT_TRUE(core.exchange.SendRawLine("PE=10\r\n"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (core.exchange.QueuedReplies() == 0 && std::chrono::steady_clock::now() < deadline) {
        core.port.WaitForData(deadline);
        core.exchange.PollUnsolicited();
    }
    EXPECT_EQ(core.exchange.PopReply(), "COMPLETE");
    EXPECT_EQ(core.logs.terminal.At(0).substr(11), "Rx: COMPLETE");
}

}  // namespace
}  // namespace vk
