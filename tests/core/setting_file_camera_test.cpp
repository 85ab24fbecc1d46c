// Setting files against the simulated camera over a pseudo-terminal: the saved bytes of both
// variants in both modes, loads with their sets, summaries and cancel, the comparison.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/camera_fixture.h"
#include "core/persist/setting_file.h"
#include "core/persist/setting_file_compare.h"
#include "core/persist/setting_file_loader.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

constexpr ControlId kPe = 1943;
constexpr ControlId kBof = 2533;
constexpr ControlId kHb = 2048;

// The control table as the tables command prints it: one row per line, the mnemonic last.
struct GoldenRow {
    int level;
    std::int32_t value;
    int file;
    std::string mnemonic;
};

std::vector<GoldenRow> GoldenRows() {
    std::ifstream in(std::string(VK_GOLDEN_DIR) + "/tables_controls.tsv");
    std::vector<GoldenRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string f; std::getline(split, f, '\t');)
            fields.push_back(f);
        if (fields.size() != 11 || fields[0] == "controlId") continue;  // the header
        rows.push_back(
            {std::stoi(fields[4]), std::stoi(fields[7]), std::stoi(fields[9]), fields[10]});
    }
    return rows;
}

// The bytes a save must give, from the printed table and the values the test changed.
std::string Expected(const std::string& header, bool withFactoryRows,
                     const std::map<std::string, std::int32_t>& changed) {
    std::string text = header;
    for (const GoldenRow& row : GoldenRows()) {
        if (row.file != 1 || (row.level == 2 && !withFactoryRows)) continue;
        // Binning: a colour camera has none, and a save writes only what the camera gave.
        if (row.mnemonic == "HB" || row.mnemonic == "VB") continue;
        const auto it = changed.find(row.mnemonic);
        text += row.mnemonic + "=" + std::to_string(it == changed.end() ? row.value : it->second) +
                "\r\n";
    }
    return text;
}

class SettingFileCameraTest : public test::CameraFixture {
protected:
    std::filesystem::path PathOf(const std::string& name) { return scratch_.Path() / name; }

    static std::string Contents(const std::filesystem::path& path) { return test::ReadFile(path); }
    test::TempDir scratch_;

    // Every row a save of either variant writes, read from the camera.
    FullReadResult ReadAll(int timeoutMs = 1000) {
        FullReadResult result;
        EXPECT_TRUE(core.modelCheck.Check());
        core.runner.Run({"read"}, [&](Operation& operation) {
            result = ReadSettingFileRows(operation, SettingFileVariant::AllData, true,
                                         core.modelCheck.modelIndex, timeoutMs);
            return result.outcome;
        });
        return result;
    }

    bool Save(const std::filesystem::path& path, SettingFileVariant variant, bool factory) {
        std::optional<Notice> failure;
        core.runner.Run({"save"}, [&](Operation&) {
            failure = WriteSettingFile(core.exchange, core.modelCheck, path, variant, factory);
            return ExchangeResult::Success();
        });
        if (failure) ShowNotice(ui, *failure);
        return !failure;
    }

    SettingFileLoadResult Load(const std::string& text, bool factory = false) {
        const SettingFilePlan plan = ParseSettingFile(core.exchange, text, factory);
        SettingFileLoadResult result;
        core.runner.Run({kLoadingSettingFile, true, true}, [&](Operation& operation) {
            result = SettingFileLoader().Load(operation, core.modelCheck, plan);
            return result.outcome;
        });
        return result;
    }

    SettingFileComparison Compare(const std::string& text) {
        const SettingFilePlan plan = ParseSettingFile(core.exchange, text, false);
        SettingFileComparison result;
        core.runner.Run({kComparingSettingFile, true}, [&](Operation& operation) {
            result = CompareWithCamera(operation, core.modelCheck, plan);
            return result.outcome;
        });
        return result;
    }

    const std::filesystem::path& dir_ = scratch_.Path();
};

TEST_F(SettingFileCameraTest, SavesBothVariantsInBothModesByteForByte) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    ReadAll();
    CameraHolds("PE", 1234);
    CameraHolds("BOF", 77);
    CameraHolds("FBMTHB", 9);  // a factory parameter
    const std::map<std::string, std::int32_t> changed = {{"PE", 1234}, {"BOF", 77}, {"FBMTHB", 9}};
    const struct {
        SettingFileVariant variant;
        bool factory;
        std::string header;
        bool factoryRows;
        std::vector<std::string> asked;
    } cases[] = {
        {SettingFileVariant::AllData, false, "DVW=1000\r\n", false, {"DVW?"}},
        {SettingFileVariant::AllData,
         true,
         "MD00=VK-4100C-PMCL\r\nDVW=1000\r\n",
         true,
         {"MD?", "DVW?"}},
        {SettingFileVariant::ShippingData, false, "", false, {}},
        {SettingFileVariant::ShippingData, true, "", false, {}},
    };
    for (const auto& c : cases) {
        camera->ClearReceivedLines();
        const auto path = PathOf("saved.cam");
        ASSERT_TRUE(Save(path, c.variant, c.factory));
        EXPECT_EQ(Contents(path), Expected(c.header, c.factoryRows, changed))
            << static_cast<int>(c.variant) << c.factory;
        EXPECT_EQ(camera->ReceivedLines(), c.asked);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SettingFileCameraTest, HeaderLinesTheCameraDoesNotAnswerAreLeftOut) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    ReadAll();
    camera->SetFault({sim::Fault::WrongMnemonic, 0, -1, {}});
    const auto path = PathOf("no-header.cam");
    ASSERT_TRUE(Save(path, SettingFileVariant::AllData, true));
    EXPECT_EQ(Contents(path), Expected("", true, {}));

    // An unsupported model writes no model line either.
    camera->ClearFault();
    camera->SetValue("MD", "XX-1");
    ASSERT_TRUE(Save(path, SettingFileVariant::AllData, true));
    EXPECT_TRUE(Contents(path).starts_with("DVW=1000\r\nEM="));
}

// A setting file is a record of the camera: rows the camera never gave are not in it.
TEST_F(SettingFileCameraTest, ASaveAfterAReadThatStoppedHoldsOnlyWhatTheCameraGave) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    camera->SetValue("PE", "4321");
    camera->SetFault({sim::Fault::Silent, 0, -1, {}, 40});
    const FullReadResult read = ReadAll(100);
    ASSERT_TRUE(read.stoppedUnanswered);
    camera->ClearFault();

    const auto unknown = UnknownSettingFileRows(core.exchange, SettingFileVariant::ShippingData,
                                                false, core.modelCheck.modelIndex);
    EXPECT_FALSE(unknown.empty());
    const auto path = PathOf("partial.cam");
    ASSERT_TRUE(Save(path, SettingFileVariant::ShippingData, false));
    const std::string text = Contents(path);
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
        ++lines;
    const auto rows = SettingFileRowsOfModel(Table(), SettingFileVariant::ShippingData, false,
                                             core.modelCheck.modelIndex);
    EXPECT_EQ(lines, static_cast<int>(rows.size() - unknown.size()));
    EXPECT_NE(text.find("PE=4321\r\n"), std::string::npos);
    for (int row : unknown) {
        const std::string mnemonic = core.exchange.GetMnemonic(Table().Row(row).commandId);
        EXPECT_EQ(text.find("\n" + mnemonic + "="), std::string::npos) << mnemonic;
    }
}

TEST_F(SettingFileCameraTest, AFailedSaveLeavesTheOldFileAndSaysSo) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    const auto path = dir_ / "no-such-folder" / "x.cam";
    EXPECT_FALSE(Save(path, SettingFileVariant::ShippingData, false));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              path.string() + "\nCouldn't open this file\n(No such file or directory)");
    EXPECT_EQ(ui.messages[0].caption, "File Open Error");
    EXPECT_FALSE(std::filesystem::exists(path));

    if (::geteuid() == 0) return;  // permissions do not stop the superuser
    const auto kept = PathOf("kept.cam");
    std::ofstream(kept) << "PE=5\r\n";
    std::filesystem::permissions(
        dir_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(Save(kept, SettingFileVariant::ShippingData, false));
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    EXPECT_EQ(Contents(kept), "PE=5\r\n");
}

TEST_F(SettingFileCameraTest, LoadSendsEachApplicableLineAndRecordsWhatTheCameraTook) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    core.modelCheck.Check();
    camera->ClearReceivedLines();
    const SettingFileLoadResult result = Load(
        "PE=5000\r\n"
        "LUTR=0x10,5\r\n"
        "FBMTHB=3\r\n"   // factory parameter in user mode: left out, and named
        "HB=2\r\n"       // binning on a colour camera: left out as the full read does
        "DVW=1001\r\n"   // the camera's identity: the factory's to write
        "BOF=99999\r\n"  // out of range: the camera refuses
        "NOSUCH=1\r\n"
        "MD00=EVIL\r\n");
    EXPECT_EQ(camera->ReceivedLines(),
              (std::vector<std::string>{"PE=5000", "LUTR=16,5", "BOF=99999"}));
    EXPECT_EQ(camera->Value("LUTR?16"), "5");
    EXPECT_EQ(camera->Value("DVW"), "1000");
    EXPECT_EQ(camera->Value("MD"), "VK-4100C-PMCL");
    EXPECT_EQ(CameraValue(kPe), 5000);
    EXPECT_EQ(CameraValue(kBof), std::nullopt);  // refused: not the camera's value

    EXPECT_EQ(result.sent, 3);
    EXPECT_EQ(result.accepted, 2);
    EXPECT_EQ(LoadSummary(result),
              "The camera setting file was not loaded completely: 2 of 3 lines sent were taken "
              "by the camera.\n\n"
              "Refused by the camera:\n  line 6: BOF=99999 (ERROR)\n\n"
              "Skipped:\n  line 7: NOSUCH=1 (unknown command)\n\n"
              "Left out (written only in factory mode):\n"
              "  line 3: FBMTHB=3 (factory mode only)\n"
              "  line 5: DVW=1001 (factory mode only)\n"
              "  line 8: MD00=EVIL (factory mode only)");
    EXPECT_TRUE(ui.messages.empty());  // the summary is the caller's one message
    EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"Now, reading camera setting file."});
    EXPECT_EQ(ui.progress, (std::vector<int>{0, 12, 25, 37, 50, 62, 75, 87, 100}));
    EXPECT_FALSE(ui.progressOpen);
}

TEST_F(SettingFileCameraTest, AFreshCameraTakesEveryLineOfASavedFile) {
    ASSERT_NO_FATAL_FAILURE(Connect(Model("VK-4100M-PMCL")));
    core.modelCheck.Check();
    camera->SetValue("PE", "7777");
    camera->SetValue("FBMTHB", "42");
    core.runner.Run({"read"}, [&](Operation& operation) {
        return ReadSettingFileRows(operation, SettingFileVariant::AllData, true,
                                   core.modelCheck.modelIndex)
            .outcome;
    });
    const auto path = PathOf("factory.cam");
    ASSERT_TRUE(Save(path, SettingFileVariant::AllData, true));
    const std::string text = Contents(path) + "LUTB=255,4095\r\n";

    ASSERT_NO_FATAL_FAILURE(Connect(Model("VK-4100C-PMCL")));  // another camera
    core.modelCheck.Check();
    camera->ClearReceivedLines();
    const SettingFileLoadResult result = Load(text, true);
    EXPECT_TRUE(result.Clean()) << LoadSummary(result);
    EXPECT_EQ(result.sent, ParseSettingFile(core.exchange, text, true).SendCount());
    EXPECT_EQ(camera->ReceivedLines().front(), "MD00=VK-4100M-PMCL");
    EXPECT_EQ(camera->Value("PE"), "7777");
    EXPECT_EQ(camera->Value("FBMTHB"), "42");
    EXPECT_EQ(camera->Value("LUTB?255"), "4095");
    EXPECT_EQ(core.modelCheck.modelIndex, 1);  // the model line made it a monochrome camera
}

TEST_F(SettingFileCameraTest, AModelLineChangesTheModelForTheLinesAfterIt) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    core.modelCheck.Check();
    camera->ClearReceivedLines();
    SettingFileLoadResult result = Load("HB=2\nMD00=VK-4100M-PMCL\nHB=2\n", true);
    EXPECT_EQ(camera->ReceivedLines(),
              (std::vector<std::string>{"MD00=VK-4100M-PMCL", "MD?", "HB=2"}));
    EXPECT_TRUE(result.modelSent);
    EXPECT_EQ(core.modelCheck.modelIndex, 1);
    EXPECT_EQ(CameraValue(kHb), 2);
    EXPECT_TRUE(result.Clean());

    // A text of no model is not sent even in factory mode.
    camera->ClearReceivedLines();
    result = Load("MD00=EVIL\nPE=20\n", true);
    EXPECT_EQ(camera->ReceivedLines(), std::vector<std::string>{"PE=20"});
    EXPECT_EQ(camera->Value("MD"), "VK-4100M-PMCL");
    EXPECT_NE(LoadSummary(result).find("line 1: MD00=EVIL (no model of the family)"),
              std::string::npos);
}

// One answer the camera drops costs that line only: the model query puts the exchange back
// in step, and the next COMPLETE is taken as its own line's.
TEST_F(SettingFileCameraTest, OneLostAnswerCostsOnlyItsLine) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    core.modelCheck.Check();
    camera->ClearReceivedLines();
    camera->SetFault({sim::Fault::Silent, 0, 1, {}, 1});  // the second line goes unanswered
    const SettingFilePlan plan =
        ParseSettingFile(core.exchange, "PE=4000\nBOF=5\nFGA=200\nOFL=3\nPE=4001\n", false);
    SettingFileLoadResult result;
    core.runner.Run({kLoadingSettingFile, true, true}, [&](Operation& operation) {
        result = SettingFileLoader(400).Load(operation, core.modelCheck, plan);
        return result.outcome;
    });
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.sent, 5);
    EXPECT_EQ(result.accepted, 4);
    ASSERT_EQ(result.unanswered.size(), 1u);
    EXPECT_EQ(result.unanswered[0].number, 2);
    EXPECT_EQ(camera->Value("PE"), "4001");
    EXPECT_EQ(CameraValue(kPe), 4001);
}

TEST_F(SettingFileCameraTest, AnEmptyFileShowsAndClosesProgressAndSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    const SettingFileLoadResult result = Load("");
    EXPECT_TRUE(camera->ReceivedLines().empty());
    EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"Now, reading camera setting file."});
    EXPECT_EQ(ui.progress, std::vector<int>{100});
    EXPECT_EQ(ui.operationsEnded, 1);
    EXPECT_FALSE(ui.progressOpen);
    EXPECT_TRUE(LoadSummary(result).empty());
}

TEST_F(SettingFileCameraTest, ABrokenFileChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    const auto path = PathOf("image.cam");
    std::ofstream(path, std::ios::binary) << std::string("PE=20\n\0\x89PNG", 10);
    const PreparedSettingFile prepared = PrepareSettingFile(core.exchange, path, false);
    EXPECT_EQ(prepared.plan.SendCount(), 0);
    EXPECT_TRUE(camera->ReceivedLines().empty());
    EXPECT_EQ(CameraValue(kPe), std::nullopt);
    ASSERT_TRUE(prepared.failure);
    EXPECT_EQ(prepared.failure->caption, "File Open Error");
}

TEST_F(SettingFileCameraTest, CancelStopsBetweenLinesAndKeepsOnlyWhatWasSent) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    std::string text;
    for (int i = 1; i <= 10; ++i)
        text += "MROX" + std::to_string(i % 8 + 1) + "=" + std::to_string(i) + "\n";
    text = "PE=4000\n" + text;
    ui.cancelAfterPumps = 3;
    const SettingFileLoadResult result = Load(text);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.outcome.status, ExchangeStatus::Cancelled);
    const std::size_t received = camera->ReceivedLines().size();
    EXPECT_LT(received, 11u);
    EXPECT_EQ(result.sent + result.notSent, 11);
    EXPECT_EQ(static_cast<std::size_t>(result.sent), received);
    EXPECT_NE(LoadSummary(result).find("lines were not sent: the load was cancelled."),
              std::string::npos);
    EXPECT_FALSE(core.runner.Running());
    EXPECT_FALSE(core.exchange.LineHeld());
}

TEST_F(SettingFileCameraTest, ALineThatIsGoneStopsTheLoadAtOnce) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    camera->SetFault({sim::Fault::HangUp, 0, -1, {}});
    const SettingFileLoadResult result = Load("PE=4000\nBOF=5\nFGA=200\nOFL=3\n");
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.sent, 1);
    EXPECT_EQ(result.notSent, 3);
    EXPECT_EQ(result.unanswered.size(), 1u);
    EXPECT_EQ(CameraValue(kPe), std::nullopt);
    EXPECT_NE(LoadSummary(result).find("3 lines were not sent: the camera stopped answering."),
              std::string::npos);
}

TEST_F(SettingFileCameraTest, CompareListsExactlyTheLinesTheCameraDoesNotHold) {
    ASSERT_NO_FATAL_FAILURE(Connect());
    core.modelCheck.Check();
    // The file holds what the camera holds.
    core.runner.Run({"read"}, [&](Operation& operation) {
        return ReadSettingFileRows(operation, SettingFileVariant::AllData, false,
                                   core.modelCheck.modelIndex)
            .outcome;
    });
    const auto path = PathOf("camera.cam");
    ASSERT_TRUE(Save(path, SettingFileVariant::AllData, false));
    std::string text = Contents(path);
    text += "LUTG=3,40\r\nHB=2\r\n";  // HB: not compared on a colour camera
    camera->SetValue("PE", "2500");
    camera->SetValue("FGA", "400");
    camera->SetValue("DVW", "1002");
    camera->SetValue("LUTG?3", "40");

    // The device version is the factory's: a user-mode load leaves it out, so it is no
    // difference to load.
    const SettingFileComparison result = Compare(text);
    ASSERT_EQ(result.differences.size(), 2u);
    EXPECT_EQ(result.differences[0].name, "PE");
    EXPECT_EQ(result.differences[0].control, kPe);
    EXPECT_EQ(result.differences[0].fileValue, "10");
    EXPECT_EQ(result.differences[0].cameraValue, "2500");
    EXPECT_EQ(result.differences[1].name, "FGA");
    EXPECT_TRUE(result.differences[1].answered);
    EXPECT_EQ(CameraValue(kPe), 2500);  // what was read is the tool's value now
    EXPECT_FALSE(result.cancelled);

    camera->SetValue("LUTG?3", "41");
    const SettingFileComparison lut = Compare("LUTG=3,40\nPE=2500\n");
    ASSERT_EQ(lut.differences.size(), 1u);
    EXPECT_EQ(lut.differences[0].name, "LUTG(3)");
    EXPECT_EQ(lut.differences[0].cameraValue, "41");
    EXPECT_EQ(lut.DifferingLines(), std::vector<int>{1});
}

}  // namespace
}  // namespace vk
