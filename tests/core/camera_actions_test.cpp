#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <thread>

#include "core/camera/actions/action_executor.h"
#include "core/camera/actions/camera_action_texts.h"
#include "core/camera_fixture.h"
#include "core/persist/flash_areas.h"

namespace vk {
namespace {

using Lines = std::vector<std::string>;

// Polls a tenth as often as the tool does, so that a run of busy answers takes moments.
constexpr ActionTiming kFast{50, 120000};

class CameraActionsTest : public test::CameraFixture {
protected:
    void SetUp() override {
        sim::SimOptions options;
        options.calibrationMs = 20;
        options.rebootMs = 100;
        ASSERT_NO_FATAL_FAILURE(Connect(options));
        ASSERT_TRUE(core.modelCheck.Check());
        camera->ClearReceivedLines();
        ui.messages.clear();
    }

    const CameraAction& Action(std::string_view name, std::string_view mnemonic = {}) {
        const CameraAction* action = FindAction(name, mnemonic);
        EXPECT_NE(action, nullptr) << name;
        return *action;
    }

    // Runs an action as the desktop tool and the command line do: one operation, whose
    // outcome the caller shows.
    ActionOutcome Run(const CameraAction& action, const ActionInput& input = {},
                      ActionTiming timing = kFast) {
        ActionOutcome outcome;
        const ActionExecutor executor(core.modelCheck, timing);
        core.runner.Run({std::string(action.title), action.longRunning, false, true},
                        [&](Operation& operation) {
                            outcome = executor.Run(operation, action, input);
                            return outcome.result;
                        });
        return outcome;
    }

    std::optional<std::string> NoticeText(const ActionOutcome& outcome) {
        if (!outcome.notice) return std::nullopt;
        return outcome.notice->text;
    }
};

ActionInput Entry(std::int32_t index, std::int32_t value = 0) {
    ActionInput input;
    input.index = index;
    input.value = value;
    return input;
}

ActionInput Version(std::int32_t a, std::int32_t b, std::int32_t c) {
    ActionInput input;
    input.parts = {a, b, c};
    return input;
}

ActionInput ModelId(std::string text) {
    ActionInput input;
    input.text = std::move(text);
    return input;
}

// One member of each family, and each action with a text or a follow-up of its own.
struct Case {
    std::string name;
    Lines wire;
    std::optional<ActionNotice> notice;
    Lines fields;
    std::string mnemonic;
    ActionInput input;
    std::map<std::string, std::string> cameraHas;

    Case Has(const std::string& mnemonic, const std::string& value) {
        cameraHas[mnemonic] = value;
        return *this;
    }
    Case Given(ActionInput given, std::string table = {}) {
        input = std::move(given);
        mnemonic = std::move(table);
        return *this;
    }
};

Case Said(std::string name, Lines wire, std::optional<ActionNotice> notice = std::nullopt) {
    Case c;
    c.name = std::move(name);
    c.wire = std::move(wire);
    c.notice = std::move(notice);
    return c;
}
Case Shown(std::string name, Lines wire, Lines fields) {
    Case c = Said(std::move(name), std::move(wire));
    c.fields = std::move(fields);
    return c;
}
ActionNotice Info(std::string text) {
    return {std::move(text), "", MessageIcon::Information};
}
ActionNotice Result(std::string text, std::string caption) {
    return {std::move(text), std::move(caption), MessageIcon::None};
}

TEST_F(CameraActionsTest, EachFamilySendsItsLinesAndSaysWhatCameOfIt) {
    const std::vector<Case> cases = {
        Said("soft-trigger", {"STRG=0"}),
        Said("recalibrate-white-blemish", {"BMRCW=0"}, Info("Completed")),
        Said("recalibrate-shading", {"RS=0", "SDRS?"}, Result("Too Dark", "Recalibrate FFC (User)"))
            .Has("SDRS", "2"),
        Said("gain-tap-balance-once", {"AWA=1", "WBRS?", "GJUT2?", "GJUT3?", "GJUT4?", "AWA?"},
             Result("Complete", "Gain Auto Tap Balance Result")),
        Said("white-balance-once",
             {"AWB=1", "AWRS?", "AWRS?", "AWRS?", "PGR?", "PGB?", "PGR2?", "PGR3?", "PGR4?",
              "PGB2?", "PGB3?", "PGB4?", "AWB?"},
             Result("Too Bright", "Balance White Auto Result"))
            .Has("AWRS", "1"),
        Shown("read-temperature", {"TMP0?"}, {"38"}),
        Shown("read-iris-position", {"PCV?"}, {"F2.8"}).Has("PCV", "3"),
        Shown("read-xml-version", {"XMLVR?"}, {"1", "2", "3"}).Has("XMLVR", "10203"),
        Said("write-xml-version", {"XMLVR=20011"},
             Info("Writing the XML Version has been completed."))
            .Given(Version(2, 0, 11)),
        Said("table-write", {"BMPXW=5,300"}).Given(Entry(5, 300), "BMPXW"),
        Shown("table-read", {"LUTG?7"}, {"7", "1234"})
            .Given(Entry(7), "lutg")
            .Has("LUTG?7", "1234"),
        Said("write-model-id", {"MD00=VK-4100M-PMCL", "MD?"},
             Info("Succeeded in writting camera model id."))
            .Given(ModelId("VK-4100M-PMCL")),
        Said("store-all", {"SA=3", "SA=2", "SA=1", "SA00=0"}, Info(kStoreCompleted)),
        Said("gain-reset",
             {"GA=0", "FGA=0", "AGC=0", "PGR=0", "PGB=0", "BLR1=0", "BLB1=0", "GA?", "FGA?", "AGC?",
              "PGR?", "PGB?", "BLR1?", "BLB1?"},
             Info("Completed resetting gain parameters"))
            .Has("GA", "40")
            .Has("PGB", "-7"),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [mnemonic, value] : c.cameraHas)
            camera->SetValue(mnemonic, value);
        camera->ClearReceivedLines();
        const ActionOutcome outcome = Run(Action(c.name, c.mnemonic), c.input);
        EXPECT_TRUE(outcome.result.ok()) << outcome.result.Describe();
        EXPECT_EQ(camera->ReceivedLines(), c.wire);
        EXPECT_EQ(outcome.fieldTexts, c.fields);
        ASSERT_EQ(outcome.notice.has_value(), c.notice.has_value());
        if (c.notice) {
            EXPECT_EQ(outcome.notice->text, c.notice->text);
            EXPECT_EQ(outcome.notice->caption, c.notice->caption);
            EXPECT_EQ(outcome.notice->icon, c.notice->icon);
        }
        EXPECT_TRUE(ui.messages.empty());
    }
    // What the camera took is in the camera and, where a page shows it, in the table.
    EXPECT_EQ(camera->Value("BMPXW?5"), "300");
    EXPECT_EQ(CameraValue(2062), 300);
    EXPECT_EQ(CameraValue(4611), 1234);
    EXPECT_EQ(camera->Value("XMLVR"), "20011");
    EXPECT_EQ(core.modelCheck.modelName, "VK-4100M-PMCL");
    EXPECT_EQ(CameraValue(1218), 0);
    EXPECT_EQ(CameraValue(1220), 100);  // the fine gain's 0 means its unity value
    EXPECT_EQ(CameraValue(2477), 0);
}

TEST_F(CameraActionsTest, CameraResetAsksTheToolToCloseOnlyWhenTheCameraCompletes) {
    const ActionOutcome done = Run(Action("camera-reset"));
    EXPECT_TRUE(done.closeTool);
    EXPECT_FALSE(done.notice);
    EXPECT_EQ(camera->ReceivedLines(), Lines{"CRS00=1"});

    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the camera restarts
    camera->SetFault({sim::Fault::ErrorOnSet, 0, 1, "ERROR"});
    const ActionOutcome refused = Run(Action("camera-reset"));
    EXPECT_FALSE(refused.closeTool);
    EXPECT_EQ(NoticeText(refused), "Failed sending \"Camera Reset Command\".");
    EXPECT_EQ(refused.notice->icon, MessageIcon::Stop);
}

TEST_F(CameraActionsTest, GainResetStopsWhenTheMainGainIsRefused) {
    camera->SetFault({sim::Fault::ErrorOnSet, 0, 1, "ERROR"});
    const ActionOutcome outcome = Run(Action("gain-reset"));
    EXPECT_FALSE(outcome.result.ok());
    EXPECT_FALSE(outcome.notice);
    EXPECT_EQ(camera->ReceivedLines(), Lines{"GA=0"});
    EXPECT_EQ(outcome.result.message, "ERROR");  // for the caller to show
}

TEST_F(CameraActionsTest, GainAutoKeepsPollingWhileBusyOr255AndGivesUpAtItsBound) {
    camera->SetValue("AGRS", "255");  // after the busy answers, 255: still busy for gain auto
    const ActionOutcome outcome = Run(Action("gain-auto-once"), {}, {20, 1000});
    EXPECT_EQ(outcome.result.status, ExchangeStatus::TimedOut);
    EXPECT_EQ(NoticeText(outcome), PollGaveUpText(1));
    EXPECT_EQ(outcome.notice->caption, "Gain Auto Result");
    EXPECT_EQ(outcome.notice->icon, MessageIcon::Exclamation);
    const Lines wire = camera->ReceivedLines();
    ASSERT_GE(wire.size(), 10u);
    EXPECT_EQ(wire.front(), "AGC=2");
    EXPECT_TRUE(std::all_of(wire.begin() + 1, wire.end(),
                            [](const std::string& l) { return l == "AGRS?"; }));
    EXPECT_EQ(CameraValue(4625), 2);  // the camera took the set; it may still run
}

TEST_F(CameraActionsTest, APolledFunctionStopsOnCancel) {
    camera.reset();
    sim::SimOptions options;
    options.autoBusyPolls = 1000000;
    ASSERT_NO_FATAL_FAILURE(Connect(options));
    ui.cancelAfterPumps = ui.pumps + 40;
    const ActionOutcome outcome = Run(Action("white-balance-once"));
    EXPECT_EQ(outcome.result.status, ExchangeStatus::Cancelled);
    EXPECT_FALSE(outcome.notice);
    // Polls only: no read-back, nothing set back.
    const Lines wire = camera->ReceivedLines();
    ASSERT_FALSE(wire.empty());
    EXPECT_EQ(wire.front(), "AWB=1");
    EXPECT_TRUE(std::all_of(wire.begin() + 1, wire.end(),
                            [](const std::string& l) { return l == "AWRS?"; }));
}

TEST_F(CameraActionsTest, ACalibrationCanBeCancelledWhileTheCameraWorks) {
    camera.reset();
    sim::SimOptions options;
    options.calibrationMs = 5000;
    ASSERT_NO_FATAL_FAILURE(Connect(options));
    ui.cancelAfterPumps = ui.pumps + 10;
    const ActionOutcome outcome = Run(Action("recalibrate-shading"));
    EXPECT_EQ(outcome.result.status, ExchangeStatus::Cancelled);
    EXPECT_FALSE(outcome.notice);
    EXPECT_EQ(camera->ReceivedLines(), Lines{"RS=0"});  // no result asked for
}

TEST_F(CameraActionsTest, ACameraThatFallsSilentEndsThePoll) {
    std::thread silence([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        camera->SetFault({sim::Fault::Silent, 0, -1, {}});
    });
    const ActionOutcome outcome = Run(Action("white-balance-once"), {}, {400, 120000});
    silence.join();
    EXPECT_EQ(outcome.result.status, ExchangeStatus::TimedOut);
    EXPECT_EQ(NoticeText(outcome), kPollUnanswered);
    EXPECT_EQ(camera->ReceivedLines(), (Lines{"AWB=1", "AWRS?"}));
    EXPECT_TRUE(ui.messages.empty());  // the poll is quiet; the notice says it once
}

TEST_F(CameraActionsTest, AValueIsRecordedOnlyWhenTheCameraTookOrReportedIt) {
    camera->SetFault({sim::Fault::ErrorOnSet, 0, 1, "ERROR"});
    EXPECT_FALSE(Run(Action("table-write", "BMPYW"), Entry(3, 77)).result.ok());
    EXPECT_EQ(CameraValue(2074), std::nullopt);

    // An answer under another mnemonic is no value for this table.
    camera->SetValue("BMPYW?3", "55");
    camera->SetFault({sim::Fault::WrongMnemonic, 0, 1, {}});
    const ActionOutcome wrong = Run(Action("table-read", "BMPYW"), Entry(3));
    EXPECT_FALSE(wrong.result.ok());
    EXPECT_TRUE(wrong.fieldTexts.empty());
    EXPECT_EQ(CameraValue(2074), std::nullopt);

    // A read that fails leaves its fields alone, but the iris says it does not know.
    camera->SetFault({sim::Fault::WrongMnemonic, 0, 2, {}});
    EXPECT_TRUE(Run(Action("read-temperature")).fieldTexts.empty());
    EXPECT_EQ(Run(Action("read-iris-position")).fieldTexts, Lines{"Unkown"});
}

TEST_F(CameraActionsTest, InputOutsideItsRangeSendsNothing) {
    const struct {
        const char* name;
        const char* mnemonic;
        ActionInput input;
    } bad[] = {
        {"write-xml-version", "", Version(1, 100, 0)},
        {"write-xml-version", "", Version(-1, 0, 0)},
        {"table-write", "BMPXW", Entry(0, 5)},    // the index runs from 1
        {"table-write", "LUTR", Entry(3, 4096)},  // the value up to 4095
        {"table-read", "FBMPYW", Entry(513)},
        {"write-model-id", "", ModelId("")},
        {"write-model-id", "", ModelId("VK 4100")},
        {"write-model-id", "", ModelId("VK-4100\r\nCRS00=1")},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.name);
        const ActionOutcome outcome = Run(Action(b.name, b.mnemonic), b.input);
        EXPECT_EQ(outcome.result.status, ExchangeStatus::Refused);
        ASSERT_TRUE(outcome.notice);
        EXPECT_EQ(outcome.notice->icon, MessageIcon::Stop);
    }
    EXPECT_TRUE(camera->ReceivedLines().empty());
}

TEST_F(CameraActionsTest, StoreAllTriesEveryAreaAndReportsOnce) {
    camera->SetFault({sim::Fault::ErrorOnSet, 0, 2, "ERROR"});
    const ActionOutcome outcome = Run(Action("store-all"));
    EXPECT_FALSE(outcome.result.ok());
    EXPECT_EQ(camera->ReceivedLines(), (Lines{"SA=3", "SA=2", "SA=1", "SA00=0"}));
    EXPECT_EQ(NoticeText(outcome), kStoreAllFailed);
    EXPECT_EQ(outcome.notice->icon, MessageIcon::Exclamation);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(camera->Value("EA"), "0");
}

TEST_F(CameraActionsTest, AComboStartedFunctionLeavesItsRowOff) {
    // The table thought white balance ran continuously: after a once-run it is off.
    CameraHolds("AWB", 2);
    const ActionOutcome outcome = Run(Action("white-balance-once"));
    ASSERT_TRUE(outcome.result.ok());
    const Lines wire = camera->ReceivedLines();
    EXPECT_EQ(wire.back(), "AWB=0");
    EXPECT_EQ(CameraValue(2241), 0);
}

TEST(CameraActionTable, NamesAndControlsAreUniqueAndCommandsKnown) {
    std::set<std::string> names;
    std::set<int> controls;
    for (const CameraAction& a : CameraActions()) {
        std::string key(a.name);
        if (IsTableAction(a))
            key += " " + std::string(kMnemonics[static_cast<std::size_t>(a.command)]);
        EXPECT_TRUE(names.insert(key).second) << key;
        EXPECT_TRUE(controls.insert(a.controlId).second) << a.controlId;
        EXPECT_EQ(FindAction(a.name, kMnemonics[static_cast<std::size_t>(a.command)]), &a);
        EXPECT_EQ(FindActionByControl(a.controlId), &a);
        EXPECT_EQ(a.resultWait == ResultWait::None, a.resultCommand == kNoCommand) << key;
    }
    EXPECT_EQ(FindAction("table-write", "NOPE"), nullptr);
}

}  // namespace
}  // namespace vk
