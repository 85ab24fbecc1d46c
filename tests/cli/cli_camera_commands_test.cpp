#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_app.h"
#include "core/protocol/control_table.h"
#include "sim/simulated_camera.h"
#include "support/cli_camera_fixture.h"
#include "support/cli_run.h"

namespace vk::cli {
namespace {

using test::CliRun;

CliRun Cli(const std::vector<std::string>& args) {
    return test::RunCliCaptured(args);
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The rows themselves are the table's: the printout has its header, a line a row and the counts.
TEST(CliTables, ControlsPrintsEveryRowAndTheCounts) {
    const CliRun r = Cli({"tables", "controls"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_TRUE(r.out.starts_with("controlId\tcommandId\tkind\t")) << r.out.substr(0, 80);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + ControlTable::kRowCount + 2);
    EXPECT_EQ(r.err, "");
}

TEST(CliModel, PrintsTheNameAndIndexOfTheSimulatedCamera) {
    CliRun r = Cli({"--simulate", "model"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "modelName=VK-4100C-PMCL\nmodelIndex=0\n");

    r = Cli({"--simulate=TM-400CL", "model"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "modelName=TM-400CL\nmodelIndex=7\n");
}

TEST(CliModel, AnUnsupportedCameraFailsWithOneMessage) {
    const std::string file = std::filesystem::temp_directory_path() / "vk-unsupported.cam";
    std::ofstream(file) << "PE=50\n";
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"model"}, {"dump"}, {"save", file}, {"diff", file}}) {
        SCOPED_TRACE(command[0]);
        std::vector<std::string> args = {"--simulate=Unknown-1"};
        args.insert(args.end(), command.begin(), command.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, kExitFailed);
        EXPECT_EQ(r.out, command[0] == "model" ? "modelName=Unknown-1\nmodelIndex=18\n" : "");
        const auto lines = test::SplitLines(r.err);
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::string& l) {
                                    return l.find("Unknown-1") != std::string::npos;
                                }),
                  1)
            << r.err;
    }
    std::filesystem::remove(file);
}

// A slow camera answers within a long --timeout and not within a short one: the model check
// and the full read both take the option.
class CliTimeoutTest : public test::CliCameraFixture {};

TEST_F(CliTimeoutTest, DumpAndTheModelCheckTakeTheTimeOut) {
    // Longer than the model check's own second and the full read's 2.5 s.
    camera.SetFault({sim::Fault::Delay, 2700, 2, {}});
    EXPECT_EQ(Run({"--timeout", "4000", "dump"}), kExitOk) << err;
    EXPECT_EQ(out.substr(0, 11), "EM=0\nPE=10\n");

    camera.SetFault({sim::Fault::Delay, 600, 1, {}});
    EXPECT_EQ(Run({"--timeout", "200", "model"}), kExitFailed);
    EXPECT_NE(err.find("did not answer the model query"), std::string::npos) << err;
    EXPECT_EQ(out, "");
}

TEST(CliDump, PrintsEveryParameterOfTheModeInTableOrder) {
    const CliRun user = Cli({"--simulate", "dump"});
    ASSERT_EQ(user.code, kExitOk) << user.err;
    const auto lines = test::SplitLines(user.out);
    ASSERT_EQ(lines.size(), 305u);
    EXPECT_EQ(lines[0], "EM=0");
    EXPECT_EQ(lines[1], "PE=10");
    EXPECT_FALSE(Has(lines, "FBMTHB=10"));
    EXPECT_EQ(user.err, "");

    for (const auto& args : {std::vector<std::string>{"--simulate", "--factory", "dump"},
                             std::vector<std::string>{"--simulate", "dump", "--factory"}}) {
        const CliRun factory = Cli(args);
        ASSERT_EQ(factory.code, kExitOk) << factory.err;
        const auto all = test::SplitLines(factory.out);
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
