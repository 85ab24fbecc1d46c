// Exchanges stay in step with the camera and say why they failed; operations run one at a
// time through the runner.
#include <gtest/gtest.h>

#include <algorithm>

#include <thread>

#include "core/camera_fixture.h"
#include "core/peer_fixture.h"

namespace vk {
namespace {

class InStepTest : public test::CameraFixture {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(Connect()); }
};

TEST_F(InStepTest, ALateQueryReplyIsSkippedAndTheFollowingExchangesAreJudgedOnTheirOwn) {
    camera->SetFault({sim::Fault::Delay, 300, 1, {}});
    EXPECT_EQ(core.exchange.QueryInt(Cmd("PE"), 100).status, ExchangeStatus::TimedOut);
    EXPECT_EQ(core.exchange.OwedReplies(), 1u);

    camera->SetValue("EA", "2");
    EXPECT_EQ(core.exchange.QueryInt(Cmd("EA"), 1000).value, 2);
    EXPECT_TRUE(core.exchange.QueryInt(Cmd("HTL"), 1000).ok());
    EXPECT_TRUE(core.exchange.QueryInt(Cmd("OFL"), 1000).ok());
    EXPECT_TRUE(core.exchange.SendSetInt(Cmd("GA"), 0, 1000).ok());
    EXPECT_EQ(camera->Value("GA"), "0");
    EXPECT_EQ(core.exchange.OwedReplies(), 0u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(InStepTest, ALateCompleteIsNotTheNextSetsAnswer) {
    camera->SetFault({sim::Fault::Delay, 300, 1, {}});
    EXPECT_EQ(core.exchange.SendSetInt(Cmd("PE"), 5000, 100).status, ExchangeStatus::TimedOut);
    // The camera refuses the next set; the late COMPLETE of the first must not hide that.
    camera->SetFault({sim::Fault::ErrorOnSet, 0, 1, "ERROR"});
    const ExchangeResult refused = core.exchange.SendSetInt(Cmd("PE"), 6000, 1000);
    EXPECT_EQ(refused.status, ExchangeStatus::Refused);
    EXPECT_EQ(refused.reply, "ERROR");
    EXPECT_TRUE(core.exchange.SendSetInt(Cmd("PE"), 7000, 1000).ok());
    EXPECT_EQ(camera->Value("PE"), "7000");
}

TEST_F(InStepTest, ALateCompleteWhileIdleRecordsTheSetValueAndTheLineIsOnlineAgain) {
    const ControlId pe = core.exchange.Controls().ControlOf(Cmd("PE"));
    const auto before = CameraValue(pe);
    std::vector<ControlId> told;
    core.exchange.SetValueListener([&](ControlId id) { told.push_back(id); });

    camera->SetFault({sim::Fault::Delay, 300, 1, {}});
    EXPECT_EQ(core.exchange.SendSetInt(Cmd("PE"), 5000, 100).status, ExchangeStatus::TimedOut);
    EXPECT_FALSE(core.notifier.Current());
    EXPECT_EQ(CameraValue(pe), before);

    // Nothing runs: the idle reader's poll meets the late COMPLETE.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (told.empty() && std::chrono::steady_clock::now() < deadline) {
        core.exchange.PollUnsolicited();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(told, std::vector<ControlId>{pe});
    EXPECT_EQ(CameraValue(pe), 5000);
    EXPECT_TRUE(core.notifier.Current());
    EXPECT_EQ(core.exchange.QueuedReplies(), 0u);  // no line of the camera's own
    EXPECT_EQ(core.exchange.OwedReplies(), 0u);

    // A late reply to a query names its row: it is recorded when it comes.
    told.clear();
    camera->SetFault({sim::Fault::Delay, 300, 1, {}});
    EXPECT_EQ(core.exchange.QueryInt(Cmd("PE"), 100).status, ExchangeStatus::TimedOut);
    EXPECT_TRUE(core.exchange.QueryInt(Cmd("EA"), 1000).ok());
    EXPECT_NE(std::find(told.begin(), told.end(), pe), told.end());
    EXPECT_EQ(CameraValue(pe), 5000);
    core.exchange.SetValueListener(nullptr);
}

TEST_F(InStepTest, ResultsTellRefusalTimeOutAndAVanishedLineApart) {
    struct Case {
        sim::Fault fault;
        ExchangeStatus expected;
    };
    for (const Case& c : {Case{sim::Fault::ErrorOnSet, ExchangeStatus::Refused},
                          Case{sim::Fault::Silent, ExchangeStatus::TimedOut},
                          Case{sim::Fault::HangUp, ExchangeStatus::LineGone}}) {
        camera->SetFault({c.fault, 0, 1, "Err: out of Range"});
        const ExchangeResult result = core.runner.Run(
            {"set"}, [](Operation& op) { return op.exchange.SendSetInt(Cmd("PE"), 10, 200); });
        EXPECT_EQ(result.status, c.expected) << StatusName(c.expected);
        EXPECT_EQ(result.request, "PE=10");
    }
    // The runner shows the design's texts for the reasons it shows, and nothing for others.
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Err: out of Range"});
}

TEST_F(InStepTest, AnExchangeStartedWhileAnotherWaitsIsRefusedAsBusy) {
    ExchangeResult inner;
    core.exchange.SetWaitHook([&] {
        if (inner.ok()) inner = core.exchange.QueryInt(Cmd("EA"), 100);
        return true;
    });
    camera->SetFault({sim::Fault::Delay, 100, 1, {}});
    EXPECT_TRUE(core.exchange.SendSetInt(Cmd("PE"), 10, 2000).ok());
    core.exchange.SetWaitHook(nullptr);
    EXPECT_EQ(inner.status, ExchangeStatus::Busy);
    EXPECT_EQ(camera->ReceivedLines(), std::vector<std::string>{"PE=10"});
}

TEST_F(InStepTest, OperationsRunOneAtATimeAndUndoTheirFrameOnEveryWayOut) {
    ExchangeResult nested;
    const ExchangeResult outer = core.runner.Run({"outer"}, [&](Operation& operation) {
        EXPECT_TRUE(core.exchange.LineHeld());
        nested = core.runner.Run({"inner"}, [](Operation&) { return ExchangeResult::Success(); });
        return operation.exchange.SendSetInt(Cmd("PE"), 20, kShort);
    });
    EXPECT_TRUE(outer.ok());
    EXPECT_EQ(nested.status, ExchangeStatus::Busy);
    EXPECT_EQ(ui.operations, std::vector<std::string>{"outer"});

    // A failing body ends the frame the same way.
    camera->SetFault({sim::Fault::Silent, 0, 1, {}});
    const ExchangeResult failed = core.runner.Run({"failing"}, [](Operation& operation) {
        return operation.exchange.SendSetInt(Cmd("PE"), 30, 100);
    });
    EXPECT_EQ(failed.status, ExchangeStatus::TimedOut);
    EXPECT_EQ(ui.operationsEnded, 2);
    EXPECT_FALSE(core.runner.Running());
    EXPECT_FALSE(core.exchange.LineHeld());
}

TEST_F(InStepTest, CancelAbandonsAWaitAndItsReplyIsOwed) {
    camera->SetFault({sim::Fault::Delay, 400, 1, {}});
    ui.cancelAfterPumps = ui.pumps + 3;
    const ExchangeResult result = core.runner.Run({"read", true}, [&](Operation& operation) {
        return operation.exchange.QueryInt(Cmd("PE"), 5000);
    });
    EXPECT_EQ(result.status, ExchangeStatus::Cancelled);
    EXPECT_EQ(core.exchange.OwedReplies(), 1u);
    ui.cancelAfterPumps = -1;
    camera->SetValue("EA", "3");
    EXPECT_EQ(core.exchange.QueryInt(Cmd("EA"), 1000).value, 3);
}

TEST_F(InStepTest, ALineWithoutEndIsToldOncePerOperation) {
    camera->SetFault({sim::Fault::Overlong, 0, 3, {}});
    core.runner.Run({"read"}, [](Operation& operation) {
        for (const CommandId id : {Cmd("PE"), Cmd("EA"), Cmd("HTL")})
            operation.exchange.QueryInt(id, 1000);
        return ExchangeResult::Success();
    });
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"RS-232C receiving buffer overflowed"});
}

// Byte-exact cases against a scripted far end.
class ScriptedPeerTest : public test::PeerFixture {
protected:
    void SetUp() override { ASSERT_TRUE(OpenPeer()); }
    // Answers the next line the tool sends with `answer` (several lines may be given).
    std::thread Answer(const std::string& expected, const std::string& answer) {
        return std::thread([this, expected, answer] {
            EXPECT_EQ(peer.ReceiveLine(), expected + "\r\n");
            peer.Send(answer);
        });
    }
    bool LogHas(const std::string& line) const {
        for (const std::string& l : core.logs.messages.Lines()) {
            if (l == line) return true;
        }
        return false;
    }
};

TEST_F(ScriptedPeerTest, LinesWaitingBeforeASendAreLoggedAndDropped) {
    peer.Send("TMP0=41\r\nHELLO\r\npartial");
    ASSERT_TRUE(WaitOnPort([&] { return core.port.Available() >= 23; }));
    std::thread camera = Answer("PE?", "PE=5\r\n");
    const auto pe = core.exchange.QueryInt(Cmd("PE"), 2000);
    camera.join();
    EXPECT_TRUE(pe.ok());
    EXPECT_EQ(pe.value, 5);
    EXPECT_TRUE(LogHas("HELLO"));
    EXPECT_TRUE(LogHas("partial"));
}

TEST_F(ScriptedPeerTest, AnEchoAndAnotherProgramsReplyAreSkippedByASet) {
    std::thread camera = Answer("PE=10", "PE=10\r\nHTL=2048\r\nCOMPLETE\r\n");
    const ExchangeResult result = core.exchange.SendSetInt(Cmd("PE"), 10, 2000);
    camera.join();
    EXPECT_TRUE(result.ok()) << result.Describe();
    EXPECT_TRUE(LogHas("HTL=2048"));  // skipped, but logged
}

TEST_F(ScriptedPeerTest, AnEchoedQueryIsNotAnEmptyAnswer) {
    std::thread camera = Answer("PE?", "PE?\r\nPE=7\r\n");
    const auto pe = core.exchange.QueryInt(Cmd("PE"), 2000);
    camera.join();
    EXPECT_TRUE(pe.ok());
    EXPECT_EQ(pe.value, 7);
}

TEST_F(ScriptedPeerTest, AGenuineWrongMnemonicIsStillRefusedWithItsMessage) {
    std::thread camera = Answer("PE?", "EA=1\r\n");
    const ExchangeResult result = core.exchange.QueryInt(Cmd("PE"), 2000);
    camera.join();
    EXPECT_EQ(result.status, ExchangeStatus::Refused);
    EXPECT_EQ(result.message, "EA=1 for PE?");
    EXPECT_TRUE(ui.messages.empty());  // the exchange shows nothing
}

TEST_F(ScriptedPeerTest, BinaryBytesWithLineEndsArriveWholeWhileTheLineIsHeld) {
    const std::vector<std::uint8_t> request = {0x42, 0x0D, 0x0A, 0x00};
    const std::string answer("\x0A\x0D\x01\x02\r\n\xFF", 7);
    std::thread camera([&] {
        EXPECT_EQ(peer.Receive(4), std::string("\x42\x0D\x0A\x00", 4));
        peer.Send(answer);
    });
    std::vector<std::uint8_t> got(answer.size());
    core.exchange.HoldLine();
    EXPECT_TRUE(core.exchange.SendBytes(request).ok());
    core.exchange.PollUnsolicited();  // the idle reader, woken meanwhile, takes nothing
    EXPECT_TRUE(core.exchange.ReceiveBytes(got, 2000).ok());
    core.exchange.ReleaseLine();
    camera.join();
    EXPECT_EQ(std::string(got.begin(), got.end()), answer);
    EXPECT_EQ(core.exchange.QueuedReplies(), 0u);
    EXPECT_EQ(core.logs.terminal.At(1).substr(11), "Tx: 42 0D 0A 00");
}

TEST_F(ScriptedPeerTest, AFailedWriteIsLoggedAsFailed) {
    peer.HangUp();
    ASSERT_TRUE(WaitOnPort([&] { return core.port.IsBroken(); }));
    EXPECT_EQ(core.exchange.SendSetInt(Cmd("PE"), 10, 1000).status, ExchangeStatus::LineGone);
    EXPECT_EQ(core.logs.terminal.At(0).substr(11), "Tx failed: PE=10");
}

TEST_F(ScriptedPeerTest, LongLinesAndBareLineFeedsKeepEveryCharacter) {
    const std::string longLine = "UD=" + std::string(60, 'x') + "0123456789";
    peer.Send(longLine + "\r\nVN=1.23\nMD=a\rb\r\n");
    EXPECT_TRUE(WaitOnPort([&] { return core.exchange.QueuedReplies() >= 3; }, true));
    std::vector<std::string> lines;
    while (auto l = core.exchange.PopReply())
        lines.push_back(*l);
    EXPECT_EQ(lines, (std::vector<std::string>{longLine, "VN=1.23", "MD=a\rb"}));
}

TEST_F(ScriptedPeerTest, RawQueriesReadCIntegerLiteralsAndTextKeepsItsCase) {
    std::thread camera = Answer("LUTR?3", "LUTR=0x1F\r\n");
    const auto v = core.exchange.SendRawQuery("LUTR?3\r\n", 2000, true);
    camera.join();
    EXPECT_TRUE(v);
    EXPECT_EQ(v.value, 31);

    camera = Answer("MD?", "MD=vk-4100m-pmcl\r\n");
    const auto model = core.exchange.QueryString(Cmd("MD"), 2000);
    camera.join();
    EXPECT_EQ(model.value, "vk-4100m-pmcl");
}

}  // namespace
}  // namespace vk
