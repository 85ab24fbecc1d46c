#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sim/simulated_camera.h"
#include "support/pty_peer.h"
#include "support/temp_dir.h"

namespace vk::sim {
namespace {

using test::PtyPeer;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class ServerTest : public ::testing::Test {
protected:
    void Start(SimOptions options = {}) {
        camera = std::make_unique<SimulatedCamera>(std::move(options));
        std::string error;
        ASSERT_TRUE(camera->Start(&error)) << error;
        client = std::make_unique<PtyPeer>(camera->DevicePath());
        ASSERT_TRUE(client->IsOpen());
    }

    std::unique_ptr<SimulatedCamera> camera;
    std::unique_ptr<PtyPeer> client;
};

TEST_F(ServerTest, LinesMayEndInABareLfAndComeTogether) {
    Start();
    ASSERT_TRUE(client->Send("PE?\nMD?\r\n\r\nEA?\r\n"));
    EXPECT_EQ(client->ReceiveLine(), "PE=10\r\n");
    EXPECT_EQ(client->ReceiveLine(), "MD=VK-4100C-PMCL\r\n");
    EXPECT_EQ(client->ReceiveLine(), "EA=0\r\n");  // the empty line gets no answer
    EXPECT_EQ(camera->ReceivedLines(), (std::vector<std::string>{"PE?", "MD?", "", "EA?"}));
}

TEST_F(ServerTest, AnEndlessLineIsRefusedAndTheLineRecovers) {
    Start();
    ASSERT_TRUE(client->Send(std::string(5000, 'A') + "\r\n"));
    EXPECT_EQ(client->ReceiveLine(), "ERROR\r\n");
    EXPECT_EQ(client->Ask("PE?"), "PE=10");
}

TEST_F(ServerTest, FaultsShapeWhatComesBack) {
    Start();
    camera->SetFault({Fault::Silent, 0, 1, {}});
    ASSERT_TRUE(client->Send("PE?\r\n"));
    EXPECT_EQ(client->Ask("MD?"), "MD=VK-4100C-PMCL");  // nothing came for PE?

    camera->SetFault({Fault::ErrorOnSet, 0, 1, "Err: out of Range"});
    EXPECT_EQ(client->Ask("PE=30"), "Err: out of Range");
    EXPECT_EQ(client->Ask("PE?"), "PE=10");

    camera->SetFault({Fault::WrongMnemonic, 0, 1, {}});
    EXPECT_EQ(client->Ask("PE?"), "TRGOP=10");

    camera->SetFault({Fault::Garbage, 0, 1, {}});
    ASSERT_TRUE(client->Send("PE?\r\n"));
    const std::string noise = client->ReceiveLine();
    ASSERT_FALSE(noise.empty());
    EXPECT_EQ(noise.find("PE"), std::string::npos);
    EXPECT_EQ(noise.back(), '\n');

    camera->SetFault({Fault::Overlong, 0, 1, {}});
    ASSERT_TRUE(client->Send("PE?\r\n"));
    EXPECT_EQ(client->Receive(1024), std::string(1024, '#'));
    EXPECT_EQ(client->ReceiveLine(), "PE=10\r\n");

    camera->SetFault({Fault::Delay, 50, 1, {}});
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(client->Ask("PE?"), "PE=10");
    EXPECT_GE(Clock::now() - start, milliseconds(50));
    EXPECT_EQ(client->Ask("PE?"), "PE=10");
}

TEST_F(ServerTest, AHangUpClosesTheLine) {
    Start();
    camera->SetFault({Fault::HangUp, 0, 1, {}});
    ASSERT_TRUE(client->Send("PE=20\r\n"));
    EXPECT_TRUE(client->WaitForHangUp());
    EXPECT_EQ(camera->ReceivedLines(), std::vector<std::string>{"PE=20"});
    EXPECT_EQ(camera->Value("PE"), "10");  // the set it hung up on was not carried out
    camera->Stop();                        // still stops cleanly
}

TEST_F(ServerTest, RepliesTakeTheirTimeOnASlowLine) {
    SimOptions options;
    options.baud = 1200;  // 8.3 ms a byte
    Start(options);
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(client->Send("MD?\r\n"));
    // The camera hears the LF after 5 bytes and its 18-byte answer then takes its time.
    EXPECT_EQ(client->ReceiveLine(), "MD=VK-4100C-PMCL\r\n");
    EXPECT_GE(Clock::now() - start, milliseconds(23 * 1000 * 10 / 1200 - 5));
}

TEST_F(ServerTest, AResetAnswersThenIgnoresTheLineForAMoment) {
    SimOptions options;
    options.rebootMs = 1000;
    Start(options);
    EXPECT_EQ(client->Ask("CRS00=1"), "COMPLETE");
    ASSERT_TRUE(client->Send("EA?\r\n"));
    std::string first;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(10);
    while (first.empty() && Clock::now() < deadline) {
        ASSERT_TRUE(client->Send("MD?\r\n"));
        first = client->ReceiveLine(100);
    }
    EXPECT_EQ(first, "MD=VK-4100C-PMCL\r\n");  // EA? fell into the reboot
    EXPECT_EQ(camera->ReceivedLines().at(1), "EA?");
}

TEST_F(ServerTest, ChatterArrivesWhileTheToolIsQuiet) {
    SimOptions options;
    options.chatter = true;
    options.chatterIntervalMs = 20;
    Start(options);
    EXPECT_EQ(client->ReceiveLine(), "TMP0=38\r\n");
    EXPECT_EQ(client->ReceiveLine(), "TMP0=38\r\n");
}

TEST_F(ServerTest, StopsWhileSendingAndCannotStartTwice) {
    SimOptions options;
    options.baud = 300;
    Start(options);
    std::string error;
    EXPECT_FALSE(camera->Start(&error));
    EXPECT_EQ(error, "the simulated camera is already running");
    ASSERT_TRUE(client->Send("MD?\r\n"));
    camera->Stop();
    camera->Stop();
}

class ServerFilesTest : public ServerTest {
protected:
    void TearDown() override { camera.reset(); }  // it keeps its state file in `dir`

    const test::TempDir dir;
};

TEST_F(ServerFilesTest, TheStateFileKeepsTheAreasAcrossRuns) {
    SimOptions options;
    options.stateFile = dir / "camera.state";
    Start(options);
    // Saved when the camera stops, loaded when it starts again.
    EXPECT_EQ(client->Ask("PE=2500"), "COMPLETE");
    EXPECT_EQ(client->Ask("SA=2"), "COMPLETE");
    camera->Stop();
    ASSERT_TRUE(std::filesystem::exists(options.stateFile));

    Start(options);
    EXPECT_EQ(client->Ask("EA?"), "EA=2");
    EXPECT_EQ(client->Ask("PE?"), "PE=2500");
}

TEST_F(ServerFilesTest, ABrokenStateFileStopsTheStart) {
    SimOptions options;
    options.stateFile = dir / "camera.state";
    std::ofstream(options.stateFile) << "VK4100-SIM-STATE 1\nEA=9\n";
    SimulatedCamera broken(options);
    std::string error;
    EXPECT_FALSE(broken.Start(&error));
    EXPECT_EQ(error, options.stateFile + ": line 2: no flash area 9");
}

// The link while the camera runs is ProgramTest's; a file that is not a link is never replaced.
TEST_F(ServerFilesTest, AFileThatIsNotALinkIsNeverReplacedByTheLink) {
    SimOptions options;
    options.linkPath = dir / "camera";
    std::ofstream(options.linkPath) << "precious";
    SimulatedCamera other(options);
    std::string error;
    EXPECT_FALSE(other.Start(&error));
    EXPECT_EQ(error, options.linkPath + " exists and is not a symbolic link");
    std::ifstream kept(options.linkPath);
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "precious");
}

}  // namespace
}  // namespace vk::sim
