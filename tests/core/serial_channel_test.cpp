#include <gtest/gtest.h>
#include <termios.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "core/peer_fixture.h"

namespace vk {
namespace {

constexpr auto kCom = ChannelMode::ComPort;

using SerialChannelTest = test::PeerFixture;

TEST_F(SerialChannelTest, OpensTheDeviceWithTheFixedLineSettings) {
    ASSERT_TRUE(OpenPeer(115200));
    EXPECT_TRUE(ui.messages.empty());
    const int fd = ::open(peer.Path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&tio), B115200);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS));
    EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF));
    EXPECT_EQ(core.channel.BaudRate(), 115200u);
}

TEST_F(SerialChannelTest, AFailedOpenSaysWhyAndKeepsTheSelectionForThisRun) {
    // An index past every port of this machine names a port that cannot exist.
    EXPECT_FALSE(core.channel.OpenChannel(kCom, 19200, 1000));
    EXPECT_EQ(core.channel.LastOpenError(),
              "Failed to initialize COM1001 port!\nError in open()\n"
              "No such file or directory");
    EXPECT_TRUE(ui.messages.empty());  // the caller decides how to tell it
    EXPECT_EQ(core.channel.BaudRate(), 19200u);
    EXPECT_EQ(core.channel.CurrentPortIndex(), 1000u);
    EXPECT_FALSE(core.channel.ReopenChannel());
    EXPECT_FALSE(core.channel.Write("PE?\r\n", 5));

    EXPECT_FALSE(core.channel.SelectPort(0xFFFFFFFF));  // a damaged stored index
    EXPECT_EQ(core.channel.LastOpenError(),
              "Failed to initialize COM4294967296 port!\nError in open()\n"
              "No such file or directory");

    core.port.PinPort("/dev/null");  // exists, but is no serial device
    EXPECT_FALSE(core.channel.SelectPort(0));
    EXPECT_EQ(core.channel.LastOpenError(),
              "Failed to initialize /dev/null port!\nError in open()\n"
              "/dev/null is not a serial device.");
    core.port.PinPort("/dev/ptmx");  // would make a new pseudo-terminal, not reach a camera
    EXPECT_FALSE(core.channel.SelectPort(0));
    EXPECT_EQ(core.channel.LastOpenError(),
              "Failed to initialize /dev/ptmx port!\nError in open()\n"
              "/dev/ptmx is a pseudo-terminal master, not a port.");
}

// The system's reason follows the tool's two lines; a device the user may not open says
// how to get the right.
TEST_F(SerialChannelTest, PermissionProblemsSayWhatToDo) {
    if (::geteuid() == 0) GTEST_SKIP() << "root opens anything";
    const std::string file = ::testing::TempDir() + "/vk-no-access";
    { std::ofstream(file) << "x"; }
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    ASSERT_EQ(::chmod(peer.Path().c_str(), 0), 0);
    struct Case {
        std::string path;
        bool hint;
    };
    for (const Case& c : {Case{file, false}, Case{peer.Path(), true}}) {
        core.port.PinPort(c.path);
        EXPECT_FALSE(core.channel.SelectPort(0));
        const std::string& text = core.channel.LastOpenError();
        EXPECT_TRUE(text.starts_with("Failed to initialize " + c.path +
                                     " port!\nError in open()\nPermission denied"))
            << text;
        EXPECT_EQ(text.find("dialout") != std::string::npos, c.hint) << text;
    }
    ::chmod(peer.Path().c_str(), 0600);
    std::remove(file.c_str());
}

TEST_F(SerialChannelTest, APortIsOneProgramsAtATimeAndFreeAgainAfterClose) {
    ASSERT_TRUE(OpenPeer());
    test::RecordingUserInterface otherUi;
    MemorySettingsBackend otherBackend;
    CoreContext other(otherUi, otherBackend);
    other.port.PinPort(peer.Path());
    EXPECT_FALSE(other.channel.OpenChannel(kCom, 115200, 0));
    EXPECT_EQ(other.channel.LastOpenError(), "Failed to initialize " + peer.Path() +
                                                 " port!\nThe port is in use by another program.");
    core.channel.CloseChannel();
    EXPECT_TRUE(other.channel.OpenChannel(kCom, 115200, 0));
    other.channel.CloseChannel();
    // Exclusive use ends with the close even while the other side stays open.
    EXPECT_TRUE(core.channel.OpenChannel(kCom, 115200, 0));
}

TEST_F(SerialChannelTest, WriteSendsEveryByteAndInputThatWaitedBeforeOpenIsDropped) {
    ASSERT_TRUE(OpenPeer());
    EXPECT_TRUE(core.channel.Write("PE=10\r\n", 7));
    EXPECT_EQ(peer.Receive(7), "PE=10\r\n");
    EXPECT_FALSE(core.port.Write("x", 0));
    peer.Send("stale\r\n");
    core.port.WaitForData(std::chrono::steady_clock::now() + std::chrono::seconds(2));
    ASSERT_TRUE(core.channel.ReopenChannel());
    char c = 0;
    EXPECT_EQ(core.channel.ReceiveBytes(&c, 1, 50), 0);
}

TEST_F(SerialChannelTest, ReceivesEveryByteInOrderEvenWhenNobodyReads) {
    ASSERT_TRUE(OpenPeer());
    std::string sent(1500, '\0');
    for (std::size_t i = 0; i < sent.size(); ++i)
        sent[i] = static_cast<char>('A' + i % 26);
    ASSERT_TRUE(peer.Send(sent));
    // The ring fills to its brim, the rest waits in the driver.
    EXPECT_TRUE(WaitOnPort([&] { return core.port.Available() >= 1024; }));
    EXPECT_EQ(core.port.Available(), 1024);
    std::string got(1500, '\0');
    EXPECT_EQ(core.channel.ReceiveBytes(got.data(), 1500, 5000), 1500);
    EXPECT_EQ(got, sent);
}

TEST_F(SerialChannelTest, ReceiveBytesWaitsOnlyUntilItsTimeOut) {
    ASSERT_TRUE(OpenPeer());
    char c = 0;
    EXPECT_EQ(core.channel.ReceiveBytes(&c, 1, 10), 0);
    peer.Send("Z");
    EXPECT_EQ(core.channel.ReceiveBytes(&c, 1, 2000), 1);
    EXPECT_EQ(c, 'Z');
}

TEST_F(SerialChannelTest, AWriteToAVanishedDeviceFails) {
    ASSERT_TRUE(OpenPeer());
    peer.HangUp();
    EXPECT_TRUE(WaitOnPort([&] { return core.port.IsBroken(); }));
    EXPECT_FALSE(core.channel.IsUsable());
    EXPECT_FALSE(core.channel.Write("PE?\r\n", 5));
}

TEST_F(SerialChannelTest, PortNamesAndBaudRateLists) {
    core.port.PinPort(peer.Path());
    EXPECT_EQ(core.channel.GetPortName(0), peer.Path());
    EXPECT_EQ(core.channel.GetPortName(core.channel.GetPortCount()), "ERROR");
    EXPECT_EQ(core.channel.GetPortName(-1), "ERROR");

    // Paths stay paths, relative ones too; bare names are devices.
    const std::pair<const char*, const char*> paths[] = {{"/dev/ttyS0", "/dev/ttyS0"},
                                                         {"./cam", "./cam"},
                                                         {"../sim/cam", "../sim/cam"},
                                                         {"ttyUSB0", "/dev/ttyUSB0"},
                                                         {"pts/3", "/dev/pts/3"}};
    for (const auto& [given, device] : paths)
        EXPECT_EQ(Rs232cPort::DevicePath(given), device) << given;
}

TEST_F(SerialChannelTest, ModesWithoutATransportSendNothing) {
    EXPECT_FALSE(core.channel.OpenChannel(static_cast<ChannelMode>(7), 9600, 0));
    EXPECT_FALSE(core.channel.Write("PE?\r\n", 5));
    EXPECT_EQ(core.channel.GetPortCount(), 0);
    EXPECT_EQ(core.channel.GetPortName(0), "ERROR");
    // Camera Link modes without a library bound cannot open.
    EXPECT_FALSE(core.channel.SelectMode(ChannelMode::ClSerialV11));
    EXPECT_EQ(core.channel.GetMode(), ChannelMode::ClSerialV11);
}

std::string Stored(MemorySettingsBackend& backend, const std::string& name) {
    const auto it = backend.values.find(name);
    if (it == backend.values.end()) return "(none)";
    if (const auto* n = std::get_if<std::uint32_t>(&it->second)) return std::to_string(*n);
    return std::get<std::string>(it->second);
}

// Runs of the tool over one store: what a run opened is what the next run opens.
TEST(SerialChannelSettings, OnlyASelectionThatOpenedIsStored) {
    test::RecordingUserInterface ui;
    MemorySettingsBackend backend;
    test::PtyPeer camera;
    {
        CoreContext core(ui, backend);
        core.port.PinPort(camera.Path());
        ASSERT_TRUE(core.channel.OpenChannel(kCom, 57600, 0));
        EXPECT_FALSE(core.channel.OpenChannel(kCom, 115200, 1000));
        EXPECT_FALSE(
            core.channel.SelectMode(ChannelMode::ClSerial2001));  // no Camera Link library here
        EXPECT_EQ(core.channel.GetMode(),
                  ChannelMode::ClSerial2001);  // this run's choice nonetheless
        core.SaveAtNormalEnd();
    }
    EXPECT_EQ(Stored(backend, "Communication Mode"), "0");
    EXPECT_EQ(Stored(backend, "Baudrate"), "57600");
    EXPECT_EQ(Stored(backend, "Com Port No"), "0");
    EXPECT_EQ(Stored(backend, "Com Port Name"), camera.Path());
    EXPECT_EQ(Stored(backend, "Cameralink 2001 Port Name"), "");

    // The device is found by its path, not by the position it had.
    CoreContext again(ui, backend);
    EXPECT_EQ(again.channel.GetMode(), kCom);
    EXPECT_EQ(again.channel.BaudRate(), 57600u);
    test::PtyPeer other;
    again.port.PinPort(other.Path());
    ASSERT_TRUE(again.channel.ReopenChannel()) << again.channel.LastOpenError();
    EXPECT_EQ(again.channel.GetPortName(static_cast<int>(again.channel.CurrentPortIndex())),
              camera.Path());
    ASSERT_TRUE(again.channel.Write("MD?\r\n", 5));
    EXPECT_EQ(camera.Receive(5), "MD?\r\n");
    EXPECT_EQ(other.Receive(1, 100), "");
}

TEST(SerialChannelSettings, AStoreWithoutNamesIsReadByIndexAndGetsThem) {
    test::RecordingUserInterface ui;
    MemorySettingsBackend backend;
    test::PtyPeer first;
    test::PtyPeer second;
    backend.values["Previous Application Shutdown Status"] = std::uint32_t{1};
    backend.values["Com Port No"] = std::uint32_t{1};
    backend.values["Baudrate"] = std::string("19200");  // as an older version wrote it
    {
        CoreContext core(ui, backend);
        core.port.PinPort(second.Path());
        core.port.PinPort(first.Path());  // the list: first, second, ...
        ASSERT_TRUE(core.channel.ReopenChannel());
        ASSERT_TRUE(core.channel.Write("X", 1));
        EXPECT_EQ(second.Receive(1), "X");
        core.SaveAtNormalEnd();
    }
    EXPECT_EQ(Stored(backend, "Com Port Name"), second.Path());

    // A named device that is gone is not replaced by whatever took its place in the list.
    backend.values["Com Port Name"] = std::string("/no/such/camera");
    CoreContext core(ui, backend);
    core.port.PinPort(first.Path());
    EXPECT_FALSE(core.channel.ReopenChannel());
    EXPECT_EQ(core.channel.LastOpenError(),
              "Failed to initialize /no/such/camera port!\nError in open()\n"
              "No such file or directory");
    EXPECT_EQ(first.Receive(1, 50), "");
}

}  // namespace
}  // namespace vk
