// vk4100ctl's LUT commands, in-process, against simulated cameras.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSettings>
#include <QString>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli/cli_app.h"
#include "core/lut/lut_file.h"
#include "core/lut/standard_curve.h"
#include "sim/simulated_camera.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace vk::cli {
namespace {

namespace fs = std::filesystem;
using test::CliRun;

CliRun Cli(const std::vector<std::string>& args) {
    return test::RunCliCaptured(args);
}

using test::ReadFile;
using test::WriteFile;

std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

// The lines sent under one command, from a --trace.
std::vector<std::string> Sent(const std::string& trace, const std::string& mnemonic) {
    std::vector<std::string> lines;
    std::istringstream in(trace);
    const std::string mark = "Tx: " + mnemonic;
    for (std::string line; std::getline(in, line);) {
        const auto at = line.find(mark);
        if (at != std::string::npos) lines.push_back(line.substr(at + 4));
    }
    return lines;
}

std::vector<std::string> SetLines(const std::string& mnemonic, const lut::Table& table) {
    std::vector<std::string> lines;
    for (std::int32_t value : table)
        lines.push_back(mnemonic + "=" + std::to_string(value));
    return lines;
}

class CliLutTest : public ::testing::Test {
protected:
    test::TempDir scratch;
    const fs::path& dir = scratch.Path();
    // The simulated camera starts with a straight line in every table.
    const lut::Tables linear = {lut::LinearTable(), lut::LinearTable(), lut::LinearTable()};
    const lut::Tables mixed = {*lut::GammaTable(0.45), lut::LinearTable(), *lut::GammaTable(2.2)};
};

TEST_F(CliLutTest, MakeWritesAStandardCurveFileOrPrintsIt) {
    const fs::path file = dir / "gamma.csv";
    CliRun r = Cli({"--simulate", "lut", "make", "--gamma", "0.45", file.string()});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const std::string bytes = ReadFile(file);
    EXPECT_EQ(bytes, ReadFile(VK_CLI_GOLDEN_DIR "/lut_gamma_0.45.csv"));

    r = Cli({"--simulate", "lut", "make", "--gamma=0.45"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, WithoutCr(bytes));
    r = Cli({"--simulate", "lut", "make", "--linear"});
    EXPECT_EQ(r.out, WithoutCr(lut::FormatLutFile(linear)));

    struct Bad {
        std::vector<std::string> args;
        std::string message;
    };
    for (const Bad& bad : {
             Bad{{"--gamma", "0"}, "bad gamma: \"0\""},
             Bad{{"--gamma", "-1"}, "bad gamma: \"-1\""},
             Bad{{"--gamma", "1.8x"}, "bad gamma: \"1.8x\""},
             Bad{{"--gamma"}, "bad gamma: \"\""},
             Bad{{"--cubic"}, "takes --gamma G or --linear, not \"--cubic\""},
             Bad{{"--linear", "a.csv", "b.csv"}, "takes one FILE"},
         }) {
        std::vector<std::string> args = {"--simulate", "lut", "make"};
        args.insert(args.end(), bad.args.begin(), bad.args.end());
        r = Cli(args);
        EXPECT_EQ(r.code, kExitUsage) << bad.message;
        EXPECT_NE(r.err.find(bad.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(CliLutTest, ReadPrintsOneChannelOrTheWholeFile) {
    CliRun r = Cli({"--simulate", "lut", "read", "g"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    std::string expected;
    for (std::int32_t value : lut::LinearTable())
        expected += std::to_string(value) + "\n";
    EXPECT_EQ(r.out, expected);

    r = Cli({"--simulate", "lut", "read"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, WithoutCr(lut::FormatLutFile(linear)));
    EXPECT_EQ(r.err, "");
}

TEST_F(CliLutTest, ReadingOneChannelIntoAFileKeepsItsOtherColumns) {
    const fs::path file = dir / "tables.csv";
    WriteFile(file, lut::FormatLutFile(mixed));
    CliRun r = Cli({"--simulate", "lut", "read", "b", file.string()});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(ReadFile(file), lut::FormatLutFile({mixed[0], mixed[1], lut::LinearTable()}));

    // A new file gets zeros beside the channel read.
    const fs::path fresh = dir / "fresh.csv";
    r = Cli({"--simulate", "lut", "read", "r", fresh.string()});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(ReadFile(fresh), lut::FormatLutFile({lut::LinearTable(), {}, {}}));

    // Something that is not a LUT file is left alone, and so is what is no file at all.
    const fs::path notes = dir / "notes.txt", fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& text :
         {std::string(), std::string("one line\n"), std::string("a,b,c\n1,2,3\n")}) {
        WriteFile(notes, text);
        r = Cli({"--simulate", "lut", "read", "g", notes.string()});
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_NE(r.err.find("No header line"), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(notes), text);
    }
    for (const char* channel : {"g", "all"}) {
        r = Cli({"--simulate", "lut", "read", channel, fifo.string()});
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_NE(r.err.find(fifo.string() + ": is a FIFO, not a file"), std::string::npos)
            << r.err;
    }
}

// A whole load is LoadThenSaveGivesTheSameFile.
TEST_F(CliLutTest, WriteSendsTheChannelsColumn) {
    const fs::path file = dir / "tables.csv";
    WriteFile(file, lut::FormatLutFile(mixed));

    CliRun r = Cli({"--simulate", "--trace", "lut", "write", "b", file.string()});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(Sent(r.err, "LUTS"), SetLines("LUTSB", mixed[2]));

    // A value above the range is sent as 4095, with a word on it.
    std::string text = lut::FormatLutFile(mixed);
    text.replace(text.find("\r\n") + 2, 0, "5000,1,2\r\n");
    text.erase(text.rfind("\r\n", text.size() - 3) + 2);  // still 256 entries
    WriteFile(file, text);
    r = Cli({"--simulate", "--trace", "lut", "write", "r", file.string()});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_NE(r.err.find("Invalid data value: Line(2) : Value(5000)"), std::string::npos) << r.err;
    EXPECT_EQ(Sent(r.err, "LUTSR").front(), "LUTSR=4095");
}

// A camera that stops answering part-way: the message says where and what the table holds.
TEST_F(CliLutTest, AStoppedWriteSaysWhereAndWhatTheCameraHolds) {
    sim::SimulatedCamera camera;
    ASSERT_TRUE(camera.Start());
    camera.SetFault({.fault = sim::Fault::Silent, .after = 40});
    const fs::path file = dir / "tables.csv";
    WriteFile(file, lut::FormatLutFile(mixed));

    const CliRun r = Cli(
        {"--port", camera.DevicePath(), "--timeout", "300", "lut", "write", "r", file.string()});
    EXPECT_EQ(r.code, kExitFailed);
    std::smatch where;
    ASSERT_TRUE(std::regex_search(r.err, where,
                                  std::regex("Writing camera gamma data stopped at entry ([0-9]+) "
                                             "of 256 of the Red table: .*\n"
                                             "The camera's Red table is now partly written: "
                                             "entries 0 to ([0-9]+) hold the new values")))
        << r.err;
    EXPECT_EQ(std::stoi(where[2]) + 1, std::stoi(where[1]));
}

TEST_F(CliLutTest, BadChannelsAndFilesAreRefusedBeforeAnythingIsSent) {
    const fs::path missing = dir / "missing.csv";
    const fs::path blank = dir / "blank.csv";
    WriteFile(blank, "GammaData (R G B)\r\n1,2,3\r\n\r\n");
    struct Case {
        std::vector<std::string> words;
        std::string message;
    };
    for (const Case& c : {
             Case{{"lut", "write", "x", blank.string()}, "bad channel: x (r, g, b or all)"},
             Case{{"lut", "read", "red", "out.csv"}, "bad channel: red"},
             Case{{"lut", "write", "r", missing.string()},
                  missing.string() + ": Couldn't open this file"},
             Case{{"lut", "load", blank.string()}, blank.string() + ": Invaild line format"},
             Case{{"lut", "write", "r"}, "usage: lut write CH FILE"},
             Case{{"lut", "frob"}, "unknown command: lut"},
         }) {
        std::vector<std::string> args = {"--simulate", "--trace"};
        args.insert(args.end(), c.words.begin(), c.words.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitUsage) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(Sent(r.err, "LUTS").empty()) << c.message;
    }
}

// Two runs against one camera: what `lut load` writes, `lut save` reads back byte for byte.
TEST_F(CliLutTest, LoadThenSaveGivesTheSameFile) {
    sim::SimulatedCamera camera;
    std::string error;
    ASSERT_TRUE(camera.Start(&error)) << error;
    // The stored settings of these runs stay in the test's folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((dir / "config").string()));
    const fs::path in = dir / "in.csv";
    const fs::path out = dir / "out.csv";
    WriteFile(in, lut::FormatLutFile(mixed));

    CliRun r = Cli({"--port", camera.DevicePath(), "lut", "load", in.string()});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    r = Cli({"--port", camera.DevicePath(), "lut", "save", out.string()});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(ReadFile(out), ReadFile(in));
}

}  // namespace
}  // namespace vk::cli
