#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/genicam/gencp.h"
#include "support/pty_peer.h"
#include "support/spawned_program.h"
#include "support/temp_dir.h"

namespace vk::sim {
namespace {

// vk4100-sim with the given arguments; its output and errors go to one file.
test::SpawnedProgram Sim(const std::vector<std::string>& args) {
    return test::SpawnedProgram(VK_SIM_PROGRAM, args, test::SpawnedProgram::EnvironmentWith({}));
}

// The device path the program prints first; empty when none came.
std::string DevicePath(const test::SpawnedProgram& sim) {
    test::WaitUntil([&] { return sim.Output().find('\n') != std::string::npos; }, 10000);
    const std::string out = sim.Output();
    return out.substr(0, out.find('\n') == std::string::npos ? 0 : out.find('\n'));
}

// The exit status, or -1 when it did not exit normally in time.
int ExitCode(test::SpawnedProgram& sim) {
    const auto status = sim.Wait(10000);
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

TEST(ProgramTest, PrintsTheDeviceServesAndStopsOnATerminationSignal) {
    const test::TempDir dir;
    const std::string link = dir / "camera";
    for (int signal : {SIGTERM, SIGINT}) {
        test::SpawnedProgram sim =
            Sim({"--model", "VK-4100M-PMCL", "--baud", "115200", "--link", link});
        const std::string path = DevicePath(sim);
        ASSERT_FALSE(path.empty()) << sim.Output();
        EXPECT_EQ(std::filesystem::read_symlink(link), path);
        {
            test::PtyPeer client(path);
            EXPECT_EQ(client.Ask("MD?"), "MD=VK-4100M-PMCL");
        }
        sim.Signal(signal);
        EXPECT_EQ(ExitCode(sim), 0);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    }
}

TEST(ProgramTest, AFaultCanBeChosenFromTheCommandLine) {
    const struct {
        const char* fault;
        const char* line;
        const char* then;  // a second line to send, or nothing to listen on
        std::vector<std::string> heard;
    } cases[] = {
        {"error-on-set", "PE=20", "PE?", {"ERROR", "PE=10"}},  // the refused set changed nothing
        {"twice=50", "PE?", "", {"PE=10", "PE=10\r\n"}},       // the answer once more
    };
    for (const auto& c : cases) {
        test::SpawnedProgram sim = Sim({"--fault", c.fault});
        test::PtyPeer client(DevicePath(sim));
        std::vector<std::string> heard{client.Ask(c.line)};
        heard.push_back(*c.then ? client.Ask(c.then) : client.ReceiveLine());
        EXPECT_EQ(heard, c.heard) << c.fault;
        sim.Signal(SIGTERM);
        EXPECT_EQ(ExitCode(sim), 0);
    }
}

// With pending=2 a register read is answered by two pending acknowledgements, then the data.
TEST(ProgramTest, PendingAcknowledgementsCanBeChosenFromTheCommandLine) {
    test::SpawnedProgram sim = Sim({"--fault", "pending=2"});
    test::PtyPeer client(DevicePath(sim));
    const gencp::Bytes request = gencp::BuildReadRequest(7, 0x0, 4);
    ASSERT_TRUE(client.Send(std::string(request.begin(), request.end())));
    std::vector<std::uint16_t> commands;
    while (commands.size() < 5 && (commands.empty() || commands.back() == gencp::kPendingAck)) {
        const std::string header = client.Receive(gencp::kHeaderSize, 3000);
        ASSERT_EQ(header.size(), gencp::kHeaderSize) << "after " << commands.size() << " acks";
        const gencp::Header ack = gencp::ReadHeader(
            {reinterpret_cast<const std::uint8_t*>(header.data()), header.size()});
        EXPECT_EQ(ack.requestId, 7);
        commands.push_back(ack.command);
        client.Receive(ack.scdLength);
    }
    EXPECT_EQ(commands, (std::vector<std::uint16_t>{gencp::kPendingAck, gencp::kPendingAck,
                                                    gencp::kReadMemAck}));
    sim.Signal(SIGTERM);
    EXPECT_EQ(ExitCode(sim), 0);
}

TEST(ProgramTest, BadArgumentsAreNamed) {
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--baud", "fast"}, "--baud needs a positive number of bits per second, not \"fast\""},
        {{"--baud", "0"}, "--baud needs a positive number of bits per second, not \"0\""},
        {{"--model"}, "--model needs a value"},
        {{"--colour"}, "unknown argument \"--colour\""},
        {{"--fault", "sulky"}, "unknown fault \"sulky\""},
        {{"--fault", "delay=soon"}, "unknown fault \"delay=soon\""},
        {{"--fault", "twice="}, "unknown fault \"twice=\""},
        {{"--fault", "pending=-1"}, "unknown fault \"pending=-1\""},
    };
    for (const auto& c : cases) {
        test::SpawnedProgram sim = Sim(c.args);
        EXPECT_EQ(ExitCode(sim), 2);
        const std::string output = sim.Output();
        EXPECT_EQ(output.rfind("vk4100-sim: " + c.message + "\nusage:", 0), 0u) << output;
        EXPECT_EQ(output.find("/dev/"), std::string::npos) << output;  // no device was made
    }
}

}  // namespace
}  // namespace vk::sim
