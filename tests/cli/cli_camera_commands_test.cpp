#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli_app.h"
#include "support/cli_run.h"

namespace vk::cli {
namespace {

using test::CliRun;

CliRun Cli(const std::vector<std::string>& args) {
    return test::RunCliCaptured(args);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(CliTables, ControlsPrintsEveryRowAndTheCounts) {
    const CliRun r = Cli({"tables", "controls"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, ReadFile(VK_CLI_GOLDEN_DIR "/tables_controls.tsv"));
    EXPECT_EQ(r.err, "");
}

TEST(CliModel, PrintsTheNameAndIndexOfTheSimulatedCamera) {
    CliRun r = Cli({"--simulate", "model"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "modelName=VK-4100C-PMCL\nmodelIndex=0\n");

    r = Cli({"--simulate=TM-400CL", "model"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "modelName=TM-400CL\nmodelIndex=7\n");

    r = Cli({"--simulate=Unknown-1", "model"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out, "modelName=Unknown-1\nmodelIndex=18\n");
    EXPECT_NE(r.err.find("Unsupported model: \"Unknown-1\""), std::string::npos) << r.err;
}

TEST(CliDump, PrintsEveryParameterOfTheModeInTableOrder) {
    const CliRun user = Cli({"--simulate", "dump"});
    ASSERT_EQ(user.code, kExitOk) << user.err;
    const auto lines = Lines(user.out);
    ASSERT_EQ(lines.size(), 305u);
    EXPECT_EQ(lines[0], "EM=0");
    EXPECT_EQ(lines[1], "PE=10");
    EXPECT_TRUE(Has(lines, "HTL=2048"));
    EXPECT_FALSE(Has(lines, "HB=1"));  // a colour camera has no binning
    EXPECT_FALSE(Has(lines, "FBMTHB=10"));
    EXPECT_EQ(user.err, "");

    for (const auto& args : {std::vector<std::string>{"--simulate", "--factory", "dump"},
                             std::vector<std::string>{"--simulate", "dump", "--factory"}}) {
        const CliRun factory = Cli(args);
        ASSERT_EQ(factory.code, kExitOk) << factory.err;
        const auto all = Lines(factory.out);
        EXPECT_EQ(all.size(), 343u);
        EXPECT_TRUE(Has(all, "FBMTHB=10"));
        EXPECT_EQ(all.front(), "EM=0");
    }
}

TEST(CliDump, ModelsThatAreNotReadAndBadArgumentsFail) {
    CliRun r = Cli({"--simulate=VK-26000C-MCL", "dump"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("not read from this model"), std::string::npos) << r.err;

    r = Cli({"--simulate", "dump", "everything"});
    EXPECT_EQ(r.code, kExitUsage);
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace vk::cli
