#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QSettings>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <sstream>

#include "cl/cl_cli_fixture.h"
#include "cli/cli_app.h"
#include "sim/simulated_camera.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace vk::cli {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

long Occurrences(const std::vector<std::string>& lines, const std::string& line) {
    return std::count(lines.begin(), lines.end(), line);
}

using test::CliRun;

// vk4100ctl's channel selection over the fake Camera Link libraries, with the stored
// settings in a folder of the test's own.
class CliPortTest : public test::ClCliFixture {};

TEST_F(CliPortTest, TheSelectionIsKeptForTheNextRun) {
    CliRun r = Cli({"--mode", "cl11", "--port", "1", "set", "PE", "4000"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    r = Cli({"get", "PE"});  // no mode, no port: the stored ones
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "4000\n");
    EXPECT_EQ(Occurrences(fake.TakeCalls(), std::string("clSerialInit 1")), 2);

    // A port of mode 2 by its name, at a rate the library supports.
    r = Cli({"--mode=cl2001", "--port=Maker B", "--baud", "38400", "set", "PE", "1200"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    r = Cli({"get", "PE"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "1200\n");
    const auto calls = fake.TakeCalls();
    EXPECT_EQ(Occurrences(calls, std::string("clSelectManufacturer Maker B")), 2);
    EXPECT_EQ(Occurrences(calls, std::string("clSetBaudRate 4")), 2);
    EXPECT_THAT(camera.ReceivedLines(), Contains("PE=1200"));
}

TEST_F(CliPortTest, PortsListsAModeWithoutChangingTheSelection) {
    ASSERT_EQ(Cli({"--mode", "cl2001", "--port", "0", "get", "PE"}).code, kExitOk);
    CliRun r = Cli({"ports"});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "0\tMaker A\n1\tMaker B\n");
    r = Cli({"--mode", "cl11", "ports"});
    EXPECT_EQ(r.out, "0\tFakeworks - CL0\n1\tFakeworks - CL1\n");
    r = Cli({"--mode", "cl2000", "ports"});
    EXPECT_EQ(r.out, "0\tlibclserial.so\n1\tlibclsersim.so\n");
    fake.TakeCalls();
    ASSERT_EQ(Cli({"get", "PE"}).code, kExitOk);
    EXPECT_THAT(fake.TakeCalls(), Contains("clSelectManufacturer Maker A"));

    fake.Use("empty");
    r = Cli({"--mode", "cl11", "ports"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, HasSubstr("mode cl11 offers no ports"));
}

TEST_F(CliPortTest, BadSelectionsAreRefusedWithAReason) {
    CliRun r = Cli({"--mode", "usb", "get", "PE"});
    EXPECT_EQ(r.code, kExitUsage);
    EXPECT_THAT(r.err, HasSubstr("bad mode: usb"));

    r = Cli({"--mode", "cl11", "--port", "Nowhere - CL9", "get", "PE"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_THAT(r.err, HasSubstr("no port \"Nowhere - CL9\" in mode cl11"));

    r = Cli({"--simulate", "--mode", "cl2001", "get", "PE"});
    EXPECT_EQ(r.code, kExitUsage);

    r = Cli({"--mode", "cl2000", "--port", "1", "--baud", "19200", "get", "PE"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_THAT(r.err, HasSubstr("Selected baud rate is not supported."));

    fake.Use("lacking");
    r = Cli({"--mode", "cl11", "--port", "0", "get", "PE"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_THAT(r.err, HasSubstr("cannot open port 0 of mode cl11"));
}

// Two separate processes of the real program, with the per-user store of a fresh home.
TEST_F(CliPortTest, TheProgramRemembersItsPortAcrossRestarts) {
    auto run = [&](const std::string& args) {
        const std::string command = "XDG_CONFIG_HOME='" + config.Path().string() + "' '" +
                                    VK4100CTL + "' " + args + " 2>&1";
        std::string output;
        if (std::FILE* p = ::popen(command.c_str(), "r")) {
            char buffer[256];
            while (std::fgets(buffer, sizeof buffer, p))
                output += buffer;
            const int status = ::pclose(p);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) output += "(failed)";
        }
        return output;
    };
    EXPECT_EQ(run("--mode cl2000 --port libclsersim.so set PE 777"), "");
    EXPECT_EQ(run("get PE"), "777\n");
    EXPECT_EQ(Occurrences(fake.TakeCalls(), std::string("clSerialInit 1")), 2);
    const std::string stored = test::ReadFile(config / "Ostra/VK-4100 Camera Control Tool.conf");
    EXPECT_THAT(stored, HasSubstr("Communication%20Mode=1"));
    EXPECT_THAT(stored, HasSubstr("Cameralink%202000%20Dll%20Index=1"));
    EXPECT_THAT(stored, HasSubstr("Previous%20Application%20Shutdown%20Status=1"));
}

}  // namespace
}  // namespace vk::cli
