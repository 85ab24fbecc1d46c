// Taking a setting file apart before anything is sent: every line rule, the line split and
// the files that are no setting files at all.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/core_context.h"
#include "core/persist/setting_file_parser.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

constexpr ControlId kPe = 1943;

class SettingFileParseTest : public ::testing::Test {
protected:
    SettingLine One(const std::string& text, bool factory = false) {
        const SettingFilePlan plan = ParseSettingFile(core.exchange, text, factory);
        EXPECT_EQ(plan.lines.size(), 1u) << text;
        return plan.lines.empty() ? SettingLine{} : plan.lines.front();
    }

    test::RecordingUserInterface ui;
    MemorySettingsBackend backend;
    CoreContext core{ui, backend};
};

struct LineCase {
    const char* text;
    SettingAction action;
    SkipReason skip;
    std::int32_t value;
    const char* sendText;
};

TEST_F(SettingFileParseTest, EachLineIsDecidedByTheSettingLineRules) {
    const LineCase cases[] = {
        {"PE=1234", SettingAction::Parameter, SkipReason::None, 1234, ""},
        {" pe = 12 34 \r", SettingAction::Parameter, SkipReason::None, 1234, ""},
        {"PE=&H1F", SettingAction::Parameter, SkipReason::None, 31, ""},
        {"BOF=-5", SettingAction::Parameter, SkipReason::None, -5, ""},
        {"MD00=VK-4100M-PMCL", SettingAction::Skip, SkipReason::FactoryOnly, 0, ""},
        {"DVW=1001", SettingAction::Skip, SkipReason::FactoryOnly, 0, ""},
        {"LUTR=0x10,5", SettingAction::LutEntry, SkipReason::None, 5, "16,5"},
        {"lutg = 010 , 0X0a", SettingAction::LutEntry, SkipReason::None, 10, "8,10"},
        {"LUTB=255,-1", SettingAction::LutEntry, SkipReason::None, -1, "255,-1"},
        {"NOSUCH=1", SettingAction::Skip, SkipReason::UnknownCommand, 0, ""},
        {"EB=1", SettingAction::Skip, SkipReason::NoParameter, 0, ""},
        {"SQR=5", SettingAction::Skip, SkipReason::NotInSettingFile, 0, ""},
        {"FBMTHB=3", SettingAction::Skip, SkipReason::FactoryOnly, 0, ""},
        {"  \t", SettingAction::Skip, SkipReason::Blank, 0, ""},
    };
    for (const LineCase& c : cases) {
        const SettingLine line = One(c.text);
        EXPECT_EQ(line.action, c.action) << c.text;
        EXPECT_EQ(line.skip, c.skip) << c.text;
        if (c.action == SettingAction::Skip) continue;
        EXPECT_EQ(line.value, c.value) << c.text;
        EXPECT_EQ(line.sendText, c.sendText) << c.text;
    }
    // Lines that would otherwise go out as a set to 0 or to a cut-off number.
    for (const char* text :
         {"PE?", "PE=", "PE", "=5", "PE=12abc", "PE=1.5", "PE=1,2", "PE=99999999999",
          "PE=&H1FFFFFFFF", "DVW=new", "LUTB=1", "LUTB=1,2x", "MD00=A,B"}) {
        const SettingLine line = One(text);
        EXPECT_EQ(line.action, SettingAction::Skip) << text;
        EXPECT_EQ(line.skip, SkipReason::NotUnderstood) << text;
    }
    EXPECT_EQ(One("PE=5").control, kPe);
    EXPECT_EQ(One("lutg=1,2").command, core.exchange.FindCommand("LUTG"));
}

TEST_F(SettingFileParseTest, FactoryParametersAndIdentityPassOnlyInFactoryMode) {
    EXPECT_EQ(One("FBMTHB=3", false).skip, SkipReason::FactoryOnly);
    const SettingLine line = One("FBMTHB=3", true);
    EXPECT_EQ(line.action, SettingAction::Parameter);
    EXPECT_EQ(line.value, 3);
    const SettingLine model = One("MD00=VK-4100M-PMCL", true);
    EXPECT_EQ(model.action, SettingAction::Model);
    EXPECT_EQ(model.sendText, "VK-4100M-PMCL");
    EXPECT_EQ(One("MD00=Vk-4100M-PMCL", true).skip, SkipReason::NoModel);  // no model's text
    const SettingLine version = One("DVW=1001", true);
    EXPECT_EQ(version.action, SettingAction::DeviceVersion);
    EXPECT_EQ(version.value, 1001);
}

TEST_F(SettingFileParseTest, LinesEndAtLineFeedsAndKeepEveryCharacter) {
    const std::string longLine = "PE=" + std::string(300, ' ') + "77";
    const SettingFilePlan plan =
        ParseSettingFile(core.exchange, "PE=1\r\n\nNOSUCH=2\n" + longLine, false);
    ASSERT_EQ(plan.lines.size(), 4u);
    EXPECT_EQ(plan.lines[0].text, "PE=1");
    EXPECT_EQ(plan.lines[1].skip, SkipReason::Blank);
    EXPECT_EQ(plan.lines[2].number, 3);
    EXPECT_EQ(plan.lines[3].text, longLine);  // one line, not two past 255 characters
    EXPECT_EQ(plan.lines[3].value, 77);
    EXPECT_EQ(plan.SendCount(), 2);

    EXPECT_TRUE(ParseSettingFile(core.exchange, "", false).lines.empty());
    EXPECT_EQ(ParseSettingFile(core.exchange, "PE=1\n", false).lines.size(), 1u);
    const SettingFilePlan blank = ParseSettingFile(core.exchange, "\n", false);
    ASSERT_EQ(blank.lines.size(), 1u);
    EXPECT_EQ(blank.lines[0].skip, SkipReason::Blank);
}

TEST_F(SettingFileParseTest, OnlyFilesWithAUsableLineAreSettingFiles) {
    const struct {
        const char* text;
        bool factory;
        bool looksLike;
    } cases[] = {
        {"", false, false},  // empty: refused before anything is sent
        {"\r\n\r\n", false, false},
        {"PE=\nPE=x\n", false, false},  // only lines that cannot be sent
        {"PE=1", false, true},
        {"FBMTHB=3", false, true},  // a factory file in user mode: a setting file all the same
        {"hello world\nNOSUCH=1\nPE?", false, false},
        {"\x89PNG\r\n", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LooksLikeSettingFile(ParseSettingFile(core.exchange, c.text, c.factory)),
                  c.looksLike)
            << c.text;
    }
}

TEST_F(SettingFileParseTest, OnlyLinesKeepsTheNamedLinesInFileOrder) {
    const SettingFilePlan plan = ParseSettingFile(core.exchange, "PE=1\nBOF=2\nGA=3\n", false);
    const SettingFilePlan kept = OnlyLines(plan, {3, 1});
    ASSERT_EQ(kept.lines.size(), 2u);
    EXPECT_EQ(kept.lines[0].number, 1);
    EXPECT_EQ(kept.lines[1].number, 3);
}

class SettingFileReadTest : public SettingFileParseTest {
protected:
    test::TempDir scratch_;
    const std::filesystem::path& dir_ = scratch_.Path();

    std::filesystem::path Write(const std::string& name, const std::string& bytes) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

TEST_F(SettingFileReadTest, FilesThatCannotBeLoadedAreReportedWithTheirPath) {
    // A missing or too large file: the refusals below.
    std::string text;
    EXPECT_EQ(ReadSettingFileText(dir_, text), SettingFileRead::CannotOpen);
    EXPECT_EQ(ReadSettingFileText(Write("nul.cam", std::string("PE=1\n\0\n", 7)), text),
              SettingFileRead::NotText);
    EXPECT_EQ(ReadSettingFileText(Write("ok.cam", "PE=1\r\n"), text), SettingFileRead::Ok);
    EXPECT_EQ(text, "PE=1\r\n");

    const auto missing = dir_ / "missing.cam";
    const auto garbage = Write("garbage.cam", "hello\nworld\n");
    const auto big = Write("big.cam", std::string(kMaxSettingFileBytes + 1, '\n'));
    const auto fifo = dir_ / "fifo.cam";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);  // not waited on
    const std::pair<std::filesystem::path, const char*> refused[] = {
        {missing, "\nCouldn't open this file"},
        {garbage, "\nThis is not a camera setting file."},
        {big, "\nThis file is too large for a camera setting file (at most 1 MB)."},
        {fifo, "\nCouldn't open this file"},
    };
    for (const auto& [path, why] : refused) {
        const PreparedSettingFile prepared = PrepareSettingFile(core.exchange, path, false);
        ASSERT_TRUE(prepared.failure) << path;
        EXPECT_EQ(prepared.failure->text, path.string() + why);
        EXPECT_EQ(prepared.failure->caption, "File Open Error");
        EXPECT_EQ(prepared.failure->icon, MessageIcon::Exclamation);
        EXPECT_TRUE(prepared.plan.lines.empty());
    }
    EXPECT_TRUE(ui.messages.empty());  // the caller shows it

    const PreparedSettingFile ok =
        PrepareSettingFile(core.exchange, Write("ok.cam", "PE=1\r\n"), false);
    ASSERT_TRUE(ok);
    const SettingFilePlan& plan = ok.plan;
    EXPECT_EQ(plan.SendCount(), 1);
}

}  // namespace
}  // namespace vk
