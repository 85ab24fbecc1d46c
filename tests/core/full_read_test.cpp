#include <algorithm>

#include "core/camera_fixture.h"
#include "core/comm/init_communication.h"
#include "core/protocol/parameter_reader.h"

namespace vk {
namespace {

constexpr ControlId kEm = 1942;  // the first row read
constexpr ControlId kPe = 1943;
constexpr ControlId kFbmthb = 2092;  // factory

class FullReadTest : public test::CameraFixture {
protected:
    FullReadResult Read(int modelIndex, bool factoryMode, int timeoutMs = kShort) {
        FullReadResult result;
        core.runner.Run({kFullReadProgressText, true, true, true}, [&](Operation& operation) {
            result =
                ParameterReader().ReadAllParameters(operation, modelIndex, factoryMode, timeoutMs);
            return result.outcome;
        });
        return result;
    }

    // The queries a full read must send, worked out from the rows of the table.
    std::vector<std::string> ExpectedQueries(bool factoryMode, bool colour) {
        std::vector<std::string> lines;
        for (const ControlEntry& row : Table().Rows()) {
            const std::string m = core.exchange.GetMnemonic(row.commandId);
            if (!row.Has(RowTrait::ReadAtStart) || row.controlKind == ControlKind::Button ||
                m == "ABA" || m == "BMPXW" || m == "BMPYW" ||
                (colour && (m == "HB" || m == "VB")) ||
                (!factoryMode && row.level == ParamLevel::Factory)) {
                continue;
            }
            lines.push_back(m + "?");
        }
        return lines;
    }
};

TEST_F(FullReadTest, UserModeOnAColourCameraQueriesTheUserRowsWithoutBinning) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    camera->SetValue("PE", "5000");
    const FullReadResult result = Read(0, false);

    const auto lines = camera->ReceivedLines();
    EXPECT_EQ(lines, ExpectedQueries(false, true));
    EXPECT_EQ(lines.size(), 305u);
    EXPECT_EQ(lines.front(), "EM?");
    EXPECT_EQ(result.steps, 340);
    EXPECT_EQ(result.readRows.size(), 305u);
    EXPECT_TRUE(result.failedRows.empty());
    EXPECT_TRUE(ui.messages.empty());

    // An answer is the camera's value.
    EXPECT_EQ(CameraValue(kPe), 5000);
}

TEST_F(FullReadTest, MonochromeCamerasAreAskedForBinningAndFactoryModeAddsFactoryRows) {
    ASSERT_NO_FATAL_FAILURE(Connect(Model("VK-4100M-PMCL")));
    Read(1, false);
    auto lines = camera->ReceivedLines();
    EXPECT_EQ(lines, ExpectedQueries(false, false));
    EXPECT_EQ(lines.size(), 307u);

    camera->ClearReceivedLines();
    camera->SetValue("FBMTHB", "42");
    const FullReadResult result = Read(1, true);
    lines = camera->ReceivedLines();
    EXPECT_EQ(lines, ExpectedQueries(true, false));
    EXPECT_EQ(lines.size(), 345u);
    EXPECT_EQ(result.steps, 464);
    EXPECT_EQ(CameraValue(kFbmthb), 42);
}

TEST_F(FullReadTest, ProgressRunsToAHundredAndTheInterfaceIsPumpedAfterEveryQuery) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    Read(0, false);
    EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"Now, reading camera settings."});
    ASSERT_FALSE(ui.progress.empty());
    EXPECT_TRUE(std::is_sorted(ui.progress.begin(), ui.progress.end()));
    EXPECT_GE(ui.progress.front(), 0);
    EXPECT_EQ(ui.progress.back(), 100);
    EXPECT_FALSE(ui.progressOpen);
    EXPECT_GE(ui.pumps, 305);
}

TEST_F(FullReadTest, CancelStopsBetweenRowsAndLeavesTheRestAsTheyWere) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    camera->SetValue("PE", "5000");
    camera->SetValue("HTL", "99");
    ui.cancelAfterPumps = 20;
    const FullReadResult result = Read(0, false);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.outcome.status, ExchangeStatus::Cancelled);
    EXPECT_LT(camera->ReceivedLines().size(), 25u);
    EXPECT_GT(result.notQueried, 250);
    EXPECT_EQ(CameraValue(kPe), 5000);           // read before the cancel
    EXPECT_EQ(CameraValue(1984), std::nullopt);  // HTL: never asked, still unknown
    EXPECT_FALSE(ui.progressOpen);
    EXPECT_FALSE(core.runner.Running());
    EXPECT_FALSE(core.exchange.LineHeld());
}

TEST_F(FullReadTest, OtherModelsReadNothingButStillShowAndCloseTheProgress) {
    ASSERT_NO_FATAL_FAILURE(Connect(Model("VK-26000C-MCL")));
    for (int model : {2, 3, 17, 18}) {
        const FullReadResult result = Read(model, true);
        EXPECT_FALSE(result.AnyRead()) << model;
    }
    EXPECT_TRUE(camera->ReceivedLines().empty());
    EXPECT_EQ(ui.progressTexts.size(), 4u);
    EXPECT_EQ(ui.progress.back(), 100);
    EXPECT_FALSE(ui.progressOpen);
}

TEST_F(FullReadTest, ARefusedQueryLeavesItsRowUnknownAndTheReadGoesOn) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    camera->SetValue("PE", "777");
    camera->SetFault({sim::Fault::WrongMnemonic, 0, 1, {}});
    const FullReadResult result = Read(0, false);

    EXPECT_EQ(CameraValue(kEm), std::nullopt);
    EXPECT_EQ(CameraValue(kPe), 777);
    EXPECT_EQ(result.failedRows, std::vector<int>{0});
    EXPECT_EQ(result.readRows.size(), 304u);
    EXPECT_FALSE(result.stoppedUnanswered);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_TRUE(result.failures[0].message.ends_with(" for EM?")) << result.failures[0].message;
    EXPECT_TRUE(FullReadSummary(core.exchange, result)
                    .starts_with("304 of 305 parameters were read.\n1 failed:\n  EM: "));
    EXPECT_TRUE(ui.messages.empty());  // the reader shows nothing; its caller sums up
    EXPECT_EQ(ui.progress.back(), 100);
}

TEST_F(FullReadTest, ACameraThatFallsSilentEndsTheReadInsteadOfWaitingOnEveryRow) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    camera->SetFault({sim::Fault::Silent, 0, 1, {}});  // one lost answer is survived
    Read(0, false, 100);
    EXPECT_EQ(camera->ReceivedLines().size(), 305u);

    camera->ClearReceivedLines();
    camera->SetFault({sim::Fault::Silent, 0, -1, {}});
    const FullReadResult result = Read(0, false, 100);
    EXPECT_TRUE(result.stoppedUnanswered);
    EXPECT_EQ(camera->ReceivedLines().size(),
              static_cast<std::size_t>(ParameterReader::kMaxUnanswered));
    EXPECT_FALSE(result.AnyRead());
    EXPECT_FALSE(ui.progressOpen);
}

TEST_F(FullReadTest, ALineOfGarbageEndsTheReadAfterARunOfUnusableAnswers) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    camera->SetFault({sim::Fault::WrongMnemonic, 0, 9, {}});  // a shorter run is survived
    FullReadResult result = Read(0, false);
    EXPECT_FALSE(result.stoppedFailing);
    EXPECT_EQ(result.failedRows.size(), 9u);
    EXPECT_EQ(result.readRows.size(), 305u - 9u);

    camera->SetFault({sim::Fault::Garbage, 0, -1, {}});
    result = Read(0, false);
    EXPECT_TRUE(result.stoppedFailing);
    EXPECT_EQ(result.failedRows.size(), static_cast<std::size_t>(ParameterReader::kMaxFailed));
    // One summary for the whole read: counts, the first few rows and why, why it stopped.
    const std::string summary = FullReadSummary(core.exchange, result);
    EXPECT_TRUE(summary.starts_with("0 of 305 parameters were read.\n10 failed:\n  EM: "))
        << summary;
    EXPECT_TRUE(summary.find("\n  and 5 more\n295 were not asked for: the camera answered "
                             "nothing usable.") != std::string::npos)
        << summary;
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(ui.progressOpen);
}

// What the main window runs at start-up before the full read.
TEST_F(FullReadTest, InitCommunicationChecksTheModelAndAsksForTheArea) {
    ASSERT_NO_FATAL_FAILURE(Connect(Model("VK-4100M-MCL")));
    core.channel.CloseChannel();
    camera->SetValue("EA", "2");
    std::uint32_t area = 0;
    EXPECT_TRUE(InitCommunication(core, area).answered);
    EXPECT_EQ(area, 2u);
    EXPECT_EQ(core.modelCheck.modelIndex, 1);
    EXPECT_EQ(camera->ReceivedLines(), (std::vector<std::string>{"MD?", "EA?"}));
}

TEST(InitCommunication, AChannelThatCannotOpenIsReportedAndNothingIsAsked) {
    test::RecordingUserInterface ui;
    MemorySettingsBackend backend;
    CoreContext core(ui, backend);
    core.port.PinPort("/nonexistent/vk4100-port");
    std::uint32_t area = 9;
    const ConnectResult connected = InitCommunication(core, area);
    EXPECT_FALSE(connected.opened);
    EXPECT_EQ(area, 9u);
    // The port's reason, then the start-up's own line, for the caller to show.
    ASSERT_EQ(connected.failure.size(), 2u);
    EXPECT_EQ(connected.failure[0].caption, "Communication Error");
    EXPECT_NE(connected.failure[0].text.find("/nonexistent/vk4100-port"), std::string::npos);
    EXPECT_EQ(connected.failure[1].text, "Failed to initialize!");
    EXPECT_EQ(connected.failure[1].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vk
