#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_app.h"
#include "sim/simulated_camera.h"
#include "support/cli_camera_fixture.h"

namespace vk::cli {
namespace {

using Lines = std::vector<std::string>;

using test::SplitLines;

// Setting files through vk4100ctl against a simulated camera the test keeps, so that what
// one run changes the next one sees.
class CliFileTest : public test::CliCameraFixture {
protected:
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(File(name), std::ios::binary) << text;
    }
    // The data rows of a diff, without its header.
    Lines DiffRows() const {
        Lines rows = SplitLines(out);
        if (!rows.empty()) rows.erase(rows.begin());
        return rows;
    }
    long SetsReceived() const {
        const auto lines = camera.ReceivedLines();
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.find('=') != std::string::npos; });
    }
};

TEST_F(CliFileTest, SaveDiffAndChangedOnlyLoadGiveTheSameCameraBack) {
    camera.SetValue("PE", "4321");
    camera.SetValue("LS2", "1");
    ASSERT_EQ(Run({"dump"}), kExitOk) << err;
    const std::string before = out;
    ASSERT_EQ(Run({"save", File("a.cam")}), kExitOk) << err;
    EXPECT_EQ(Run({"diff", File("a.cam")}), kExitOk) << out << err;
    EXPECT_EQ(out, "");

    camera.SetValue("PE", "99");
    camera.SetValue("FGA", "800");
    camera.SetValue("LS2", "0");
    EXPECT_EQ(Run({"diff", File("a.cam")}), kExitFailed);
    EXPECT_EQ(SplitLines(out).front(), "mnemonic\t" + File("a.cam") + "\tcamera");
    EXPECT_EQ(DiffRows(), (Lines{"PE\t4321\t99", "LS2\t1\t0", "FGA\t100\t800"}));

    ASSERT_EQ(Run({"load", File("a.cam"), "--changed-only"}), kExitOk) << err;
    EXPECT_EQ(SetsReceived(), 3);  // only what differed
    ASSERT_EQ(Run({"dump"}), kExitOk) << err;
    EXPECT_EQ(out, before);
}

TEST_F(CliFileTest, TwoFilesAreComparedWithoutACamera) {
    Write("a.cam", "DVW=1000\r\nPE=4321\r\nFGA=100\r\nLS2=1\r\nLUTR=0x10,5\r\nGA=3\r\nPE=50\r\n");
    Write("b.cam", "DVW=1000\nPE=50\nfga = 200\nLUTR=16,6\nGA=3\nBOF=7\n");
    Write("same.cam", "PE=50\nGA=3\n");
    Write("same2.cam", "GA=3\r\nPE=10\r\nPE=50\r\n");
    // No port can be opened: a diff that needed one would fail.
    const struct {
        Lines args;
        int code;
        Lines rows;
    } cases[] = {
        // The last PE of a.cam counts, as after a load; lines only b.cam has come last.
        {{"diff", File("a.cam"), File("b.cam")},
         kExitFailed,
         {"FGA\t100\t200", "LS2\t1\t(none)", "LUTR(16)\t5\t6", "BOF\t(none)\t7"}},
        {{"file", "diff", File("same.cam"), File("same2.cam")}, kExitOk, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--port", File("no-such-port")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const test::CliRun r = test::RunCliCaptured(args);
        EXPECT_EQ(r.code, c.code) << r.err;
        Lines rows = SplitLines(r.out);
        if (!rows.empty()) {
            EXPECT_EQ(rows.front(),
                      "mnemonic\t" + c.args[c.args.size() - 2] + "\t" + c.args.back());
            rows.erase(rows.begin());
        }
        EXPECT_EQ(rows, c.rows);
    }
}

TEST_F(CliFileTest, TheOldTwoWordNamesRunTheSameCommands) {
    ASSERT_EQ(Run({"file", "save", "--shipping", File("old.cam")}), kExitOk) << err;
    ASSERT_EQ(Run({"save", "--shipping", File("new.cam")}), kExitOk) << err;
    EXPECT_EQ(test::ReadFile(File("old.cam")), test::ReadFile(File("new.cam")));
    EXPECT_EQ(Run({"file", "diff", File("old.cam")}), kExitOk) << out << err;
    EXPECT_EQ(Run({"file", "load", "--changed-only", File("old.cam")}), kExitOk) << err;
    EXPECT_EQ(SetsReceived(), 0);
    EXPECT_EQ(Run({"--help"}), kExitOk);
    EXPECT_NE(out.find("  save FILE"), std::string::npos) << out;
    EXPECT_EQ(out.find("file save"), std::string::npos) << out;
}

TEST_F(CliFileTest, AWholeLoadSendsEveryLineAndReportsRefusals) {
    ASSERT_EQ(Run({"save", "--shipping", File("s.cam")}), kExitOk) << err;
    {
        std::ofstream append(File("s.cam"), std::ios::app | std::ios::binary);
        append << "BOF=99999\r\nNOSUCH=1\r\n";
    }
    EXPECT_EQ(Run({"load", File("s.cam")}), kExitFailed);
    EXPECT_NE(err.find("Refused by the camera:\n  line"), std::string::npos) << err;
    EXPECT_NE(err.find("BOF=99999 (ERROR)"), std::string::npos) << err;
    EXPECT_NE(err.find("NOSUCH=1 (unknown command)"), std::string::npos) << err;
    EXPECT_EQ(camera.ReceivedLines().back(), "BOF=99999");
}

TEST_F(CliFileTest, BadArgumentsAndFilesChangeNothing) {
    Write("notes.cam", "buy milk\n");
    Write("good.cam", "PE=50\n");
    ASSERT_EQ(::mkfifo(File("fifo.cam").c_str(), 0644), 0);
    const struct {
        Lines args;
        const char* says;
    } bad[] = {
        {{"load", File("fifo.cam")}, "Couldn't open this file"},
        {{"save", File("fifo.cam")}, ""},
        {{"save", dir.string()}, ""},
        {{"save", "--nope", File("x.cam")}, ""},
        {{"save"}, ""},
        {{"load", File("a.cam"), File("b.cam")}, ""},
        {{"diff", File("good.cam"), File("b.cam"), File("c.cam")}, ""},
        {{"diff", "--changed-only", File("good.cam")}, ""},
        {{"load", File("missing.cam")}, "Couldn't open this file"},
        {{"load", File("notes.cam")}, "This is not a camera setting file."},
        {{"diff", File("good.cam"), File("notes.cam")}, "This is not a camera setting file."},
        {{"diff", File("missing.cam")}, "Couldn't open this file"},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(Run(c.args), kExitUsage);
        EXPECT_FALSE(err.empty());
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_EQ(out, "");
        EXPECT_TRUE(camera.ReceivedLines().empty());
    }
}

// Text from a file reaches the terminal escaped, whichever command prints it.
TEST_F(CliFileTest, ControlCharactersOfAFileArePrintedEscaped) {
    Write("odd.cam",
          "PE=5\r\n\x1b[31mGA=2\r\nUD=\x07"
          "bell\x1b]0;x\x07\r\nBOF=99999\x1b[2J\r\n");
    Write("plain.cam", "PE=6\r\n");
    for (const Lines& args : {Lines{"load", File("odd.cam")}, Lines{"diff", File("odd.cam")},
                              Lines{"diff", File("odd.cam"), File("plain.cam")}}) {
        SCOPED_TRACE(args[0]);
        Run(args);
        EXPECT_TRUE(test::PrintableOnly(out)) << out;
        EXPECT_TRUE(test::PrintableOnly(err)) << err;
        if (args[0] == "load") {
            EXPECT_NE(err.find("\\x1B[31mGA=2"), std::string::npos) << err;
        }
    }
}

}  // namespace
}  // namespace vk::cli
