#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "cl/cl_cli_fixture.h"
#include "cli/cli_app.h"
#include "sim/description_zip.h"
#include "support/spawned_program.h"

namespace vk::cli {
namespace {

using test::CliRun;
using ::testing::Contains;
using ::testing::HasSubstr;

// vk4100ctl's stored channel selection over the fake Camera Link libraries: what is kept
// after a run, and what the next run without --mode and --port opens.
class CliSelectionTest : public test::ClCliFixture {
protected:
    std::string StoreFile() const {
        return (config.Path() / "Ostra/VK-4100 Camera Control Tool.conf").string();
    }
    std::string Store() const { return test::ReadFile(StoreFile()); }
    // The real program, as a process of its own with the per-user store of this test.
    test::SpawnedProgram Spawn(const std::vector<std::string>& args) {
        return test::SpawnedProgram(
            VK4100CTL, args,
            test::SpawnedProgram::EnvironmentWith({"XDG_CONFIG_HOME=" + config.Path().string()}));
    }
};

TEST_F(CliSelectionTest, AFailedSelectionIsNotStoredAndTheNextRunOpens) {
    ASSERT_EQ(Cli({"--mode", "cl11", "--port", "1", "--baud", "57600", "set", "PE", "4000"}).code,
              kExitOk);
    const std::string good = Store();
    EXPECT_THAT(good, HasSubstr("Communication%20Mode=3"));
    EXPECT_THAT(good, HasSubstr("Cameralink%20Ver11%20Port%20Name=Fakeworks - CL1"));
    EXPECT_THAT(good, HasSubstr("Baudrate=57600"));

    struct Failure {
        std::vector<std::string> args;
        int code;
        std::string says;
    };
    const Failure failures[] = {
        {{"--baud", "12345", "get", "PE"}, kExitUsage, "bad baud rate: 12345"},
        {{"--mode", "usb", "get", "PE"}, kExitUsage, "bad mode: usb"},
        {{"--simulate", "--mode", "cl2001", "get", "PE"}, kExitUsage, "--simulate talks over"},
        {{"--mode", "cl11", "--port", "Nowhere - CL9", "get", "PE"},
         kExitFailed,
         "no port \"Nowhere - CL9\" in mode cl11"},
        // The grabber library of mode cl2000 runs at 9600 only.
        {{"--mode", "cl2000", "--port", "1", "--baud", "19200", "get", "PE"},
         kExitFailed,
         "Selected baud rate is not supported."},
        {{"--mode", "cl2001", "--baud", "115200", "--port", "5", "get", "PE"},
         kExitFailed,
         "knows no maker number 5"},
        {{"--port", "/no/such/camera", "get", "PE"},
         kExitFailed,
         "Failed to initialize /no/such/camera port! Error in open() "
         "No such file or directory\n"},
    };
    for (const Failure& f : failures) {
        const CliRun r = Cli(f.args);
        EXPECT_EQ(r.code, f.code) << f.says;
        EXPECT_THAT(r.err, HasSubstr(f.says));
        EXPECT_EQ(Store(), good) << f.says;
    }

    // A library lacking an entry point is not opened.
    fake.Use("lacking");
    CliRun r = Cli({"--mode", "cl11", "--port", "0", "get", "PE"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_THAT(r.err, HasSubstr("cannot open port 0 of mode cl11"));
    EXPECT_EQ(Store(), good);

    // A mode without its library says which file and where; it is not stored either.
    fake.Use("empty");
    r = Cli({"--mode", "cl2001", "get", "PE"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_THAT(r.err, HasSubstr("The Camera Link library libclserial.so was not found in " +
                                 std::string(VK_CL_FIXTURES) + "/empty (named by CLSERIAL_PATH)."));
    EXPECT_THAT(r.err, HasSubstr("the stored selection is unchanged"));
    EXPECT_EQ(Store(), good);

    fake.Use("good");
    fake.TakeCalls();
    r = Cli({"get", "PE"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "4000\n");
    EXPECT_THAT(fake.TakeCalls(), Contains("clSerialInit 1"));
}

TEST_F(CliSelectionTest, APathGivenToPortIsStoredAsThePath) {
    ASSERT_EQ(Cli({"--port", camera.DevicePath(), "set", "PE", "1234"}).code, kExitOk);
    EXPECT_THAT(Store(), HasSubstr("Com%20Port%20Name=" + camera.DevicePath()));
    CliRun r = Cli({"get", "PE"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "1234\n");

    // A relative path is the same device from any folder of a later run.
    test::TempDir here;
    std::filesystem::create_symlink(camera.DevicePath(), here / "cam");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(here.Path());
    r = Cli({"--port", "./cam", "set", "PE", "2345"});
    std::filesystem::current_path(before);
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_THAT(Store(), HasSubstr("Com%20Port%20Name=" + (here / "cam")));
    r = Cli({"get", "PE"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "2345\n");
}

TEST_F(CliSelectionTest, PortsListsAModeWithoutChangingTheSelection) {
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

// Register access through each kind of Camera Link serial library, its port given by name:
// the same GenCP packets, read whole although the libraries hand over bytes all or nothing;
// the text protocol then runs on the stored selection.
TEST_F(CliSelectionTest, RegistersAndTheDownloadWorkInEveryLibraryMode) {
    const auto zip = sim::SimDescriptionZip();
    test::TempDir files;
    int value = 1000;
    for (const auto& [mode, port] :
         {std::pair<std::string, std::string>{"cl2000", "libclsersim.so"},
          {"cl2001", "Maker B"},
          {"cl11", "Fakeworks - CL1"}}) {
        SCOPED_TRACE(mode);
        ++value;
        CliRun r = Cli(
            {"--mode=" + mode, "--port=" + port, "reg", "write", "0x20200", std::to_string(value)});
        ASSERT_EQ(r.code, kExitOk) << r.err;
        r = Cli({"get", "PE"});
        ASSERT_EQ(r.code, kExitOk) << r.err;
        EXPECT_EQ(r.out, std::to_string(value) + "\n");

        const std::string file = files / (mode + ".zip");
        r = Cli({"xml", "download", file});
        ASSERT_EQ(r.code, kExitOk) << r.err;
        EXPECT_EQ(test::ReadFile(file), std::string(zip.begin(), zip.end()));
    }
}

// A store written before ports were named: the index still counts, and the name joins it.
TEST_F(CliSelectionTest, AnOldStoredIndexIsStillRead) {
    std::filesystem::create_directories(config.Path() / "Ostra");
    test::WriteFile(StoreFile(),
                    "[General]\n"
                    "Previous%20Application%20Shutdown%20Status=1\n"
                    "Communication%20Mode=2\n"
                    "Cameralink%202001%20Dll%20Index=1\n");
    CliRun r = Cli({"set", "PE", "3456"});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_THAT(fake.TakeCalls(), Contains("clSelectManufacturer Maker B"));
    EXPECT_THAT(Store(), HasSubstr("Cameralink%202001%20Port%20Name=Maker B"));
    EXPECT_THAT(Store(), HasSubstr("Cameralink%202001%20Dll%20Index=1"));
}

// Stop signals to the real program: it ends the normal way, so the next run neither
// falls back to the COM port nor loses what this one opened.
class CliStopSignalTest : public CliSelectionTest {
protected:
    // The run has opened the port once the camera heard its first line.
    bool CameraHeard(const std::string& line) {
        return test::WaitUntil(
            [&] {
                const auto lines = camera.ReceivedLines();
                return std::find(lines.begin(), lines.end(), line) != lines.end();
            },
            10000);
    }
};

TEST_F(CliStopSignalTest, EachStopSignalEndsTheRunNormally) {
    struct Case {
        int signal;
        std::vector<std::string> command;
        std::string firstLine;  // what the camera hears once the command runs
    };
    const Case cases[] = {
        {SIGTERM, {"terminal"}, "MD?"},  // waiting for its next input line
        {SIGHUP, {"terminal"}, "MD?"},
        // In the middle of a long move: the lens is stopped before the end.
        {SIGINT, {"lens", "zoom", "wide", "60000"}, "MLZ=1"},
        {SIGTERM, {"lens", "focus", "far", "60000"}, "MLF=2"},
    };
    for (const Case& c : cases) {
#if defined(__SANITIZE_THREAD__)
        // ThreadSanitizer holds a signal back until the program calls into an intercepted
        // function, and a line read through the C library's stdio never does.
        if (c.command[0] == "terminal") continue;
#endif
        camera.ClearReceivedLines();
        std::vector<std::string> args = {"--port", camera.DevicePath()};
        args.insert(args.end(), c.command.begin(), c.command.end());
        test::SpawnedProgram run = Spawn(args);
        ASSERT_TRUE(run.Started());
        if (c.command[0] == "terminal") {
            ASSERT_TRUE(run.Input("MD?\n"));
        }
        ASSERT_TRUE(CameraHeard(c.firstLine)) << run.Output();
        run.Signal(c.signal);
        const auto status = run.Wait(10000);
        ASSERT_TRUE(status.has_value()) << "still running after signal " << c.signal;
        EXPECT_TRUE(WIFEXITED(*status)) << run.Output();
        EXPECT_EQ(WEXITSTATUS(*status), kExitFailed) << run.Output();
        EXPECT_THAT(run.Output(), HasSubstr("cancelled"));
        if (c.command[0] == "lens") {
            EXPECT_EQ(camera.ReceivedLines().back(), c.firstLine.substr(0, 4) + "0");
        }
        const std::string store = Store();
        EXPECT_THAT(store, HasSubstr("Previous%20Application%20Shutdown%20Status=1")) << c.signal;
        EXPECT_THAT(store, HasSubstr("Com%20Port%20Name=" + camera.DevicePath()));
        // The port was given back: the next run opens it.
        EXPECT_EQ(Cli({"get", "PE"}).code, kExitOk);
    }
}

}  // namespace
}  // namespace vk::cli
