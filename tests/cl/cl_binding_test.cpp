#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cl/cl_test_support.h"
#include "core/comm/cl_serial_2000_library.h"
#include "core/comm/cl_serial_2001_library.h"
#include "core/comm/cl_serial_v11_library.h"
#include "core/core_context.h"
#include "support/pty_peer.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kSim2000Index = 1;  // libclsersim.so, after libclserial.so

std::vector<std::string> Ports(ClSerialLibrary& library) {
    std::vector<std::string> names;
    const int count = library.PortCount();
    for (int i = 0; i < count; ++i)
        names.push_back(library.PortName(i));
    return names;
}

class ClBindingTest : public ::testing::Test {
protected:
    void SetUp() override { fake.env.Set(test::fakecl::kDevice, peer.Path()); }

    test::FakeClEnvironment fake;
    test::PtyPeer peer;
    test::RecordingUserInterface ui;
    ClSerial2000Library cl2000;
    ClSerial2001Library cl2001;
    ClSerialV11Library cl11;
};

// The names each mode lists are CliSelectionTest.PortsListsAModeWithoutChangingTheSelection's.
TEST_F(ClBindingTest, EachModeListsItsPorts) {
    for (ClSerialLibrary* lib : std::initializer_list<ClSerialLibrary*>{&cl2000, &cl2001, &cl11}) {
        EXPECT_EQ(lib->PortName(2), "");
        EXPECT_EQ(lib->PortName(-1), "");
    }

    fake.env.Set(test::fakecl::kCount, "3");
    EXPECT_THAT(Ports(cl11), ElementsAre("Fakeworks - CL0", "Fakeworks - CL1", "Fakeworks - CL2"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ClBindingTest, WithoutLibrariesThereAreNoPortsAndNothingOpens) {
    EXPECT_EQ(cl2001.PortCount(), 2);
    fake.Use("empty");
    EXPECT_EQ(cl2000.PortCount(), 0);
    EXPECT_EQ(cl11.PortCount(), 0);
    // The 2001 library keeps the list of its last successful enumeration.
    EXPECT_EQ(cl2001.PortCount(), 2);
    for (ClSerialLibrary* lib : std::initializer_list<ClSerialLibrary*>{&cl2000, &cl2001, &cl11}) {
        EXPECT_FALSE(lib->OpenPort(0));
        EXPECT_FALSE(lib->IsOpen());
        EXPECT_FALSE(lib->Write("PE?\r\n", 5, 500));
        char byte = 0;
        EXPECT_EQ(lib->Read(&byte, 1, 10), 0);
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_THAT(fake.TakeCalls(), IsEmpty());
}

// Found by their names, but unusable: mode 1 lists them and none of the three opens them.
TEST_F(ClBindingTest, LibrariesLackingAnEntryPointOrNoLibrariesAtAllAreNotUsed) {
    test::TempDir junk;
    for (const char* name : {"libclserjunk.so", "libclserial.so", "libclallserial.so"}) {
        test::WriteFile(junk / name, "not a library\n");
    }
    struct Case {
        std::string folder;
        std::vector<std::string> modeOnePorts;
    };
    const Case cases[] = {
        // The 2001 and 1.1 libraries there lack entry points that are never called.
        {std::string(VK_CL_FIXTURES) + "/lacking", {"libclserial.so", "libclserlame.so"}},
        {junk.Path().string(), {"libclserial.so", "libclserjunk.so"}},
        {junk / "no such folder", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        fake.env.Set("CLSERIAL_PATH", c.folder);
        EXPECT_EQ(Ports(cl2000), c.modeOnePorts);
        EXPECT_FALSE(cl2000.OpenPort(1));
        EXPECT_EQ(cl2001.PortCount(), 0);
        EXPECT_FALSE(cl2001.OpenPort(0));
        EXPECT_EQ(cl11.PortCount(), 0);
        EXPECT_FALSE(cl11.OpenPort(0));
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_THAT(fake.TakeCalls(), IsEmpty());  // nothing was called, not even clSerialInit
}

// A user without a grabber library must learn which file is missing and where it was
// looked for; each failed open keeps its reason.
TEST_F(ClBindingTest, AFailedOpenSaysWhatWasLookedForAndWhere) {
    test::TempDir junk;
    test::WriteFile(junk / "libclserjunk.so", "not a library\n");
    const std::string fixtures = VK_CL_FIXTURES;
    struct Case {
        std::string scenario;  // a fixture folder, or the folder of junk files
        ClSerialLibrary* library;
        int index;
        std::string reason;
    };
    const Case cases[] = {
        {"empty", &cl2000, 0,
         "No Camera Link library libclser*.so was found in " + fixtures +
             "/empty (named by CLSERIAL_PATH)."},
        {"empty", &cl2001, 0,
         "The Camera Link library libclserial.so was not found in " + fixtures +
             "/empty (named by CLSERIAL_PATH)."},
        {"empty", &cl11, 0,
         "The Camera Link library libclallserial.so was not found in " + fixtures +
             "/empty (named by CLSERIAL_PATH)."},
        {"lacking", &cl11, 0,
         "The Camera Link library " + fixtures +
             "/lacking/libclallserial.so lacks the function clGetNumBytesAvail."},
        {"good", &cl2000, 2, "There is no Camera Link library number 2; 2 were found."},
        {"good", &cl2001, 5, "The Camera Link library knows no maker number 5; it lists 2."},
        {"junk", &cl2000, 0,
         "The Camera Link library " + (junk / "libclserjunk.so") +
             " could not be loaded (not a library for this system, or one it needs is "
             "missing)."},
    };
    for (const Case& c : cases) {
        if (c.scenario == "junk") {
            fake.env.Set("CLSERIAL_PATH", junk.Path().string());
        } else {
            fake.Use(c.scenario);
        }
        c.library->PortCount();  // the list of this folder
        EXPECT_FALSE(c.library->OpenPort(c.index)) << c.reason;
        EXPECT_EQ(c.library->LastError(), c.reason);
    }

    // Without CLSERIAL_PATH the message names the system's folders and how to point
    // elsewhere.
    fake.env.Unset("CLSERIAL_PATH");
    const std::string places = ClSerialSearchedPlaces();
    EXPECT_NE(places.find("/usr/lib"), std::string::npos) << places;
    EXPECT_TRUE(places.ends_with("; CLSERIAL_PATH can name the folder that holds it")) << places;
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ClBindingTest, AFailingInitLeavesThePortClosed) {
    fake.env.Set(test::fakecl::kInitResult, "-10003");
    EXPECT_FALSE(cl2000.OpenPort(kSim2000Index));
    EXPECT_FALSE(cl2001.OpenPort(0));
    EXPECT_FALSE(cl11.OpenPort(1));
    EXPECT_FALSE(cl2000.IsOpen() || cl2001.IsOpen() || cl11.IsOpen());
    EXPECT_EQ(cl11.LastError(),
              "The Camera Link library could not open port 1 (clSerialInit gave error -10003).");
    cl11.ClosePort();  // nothing to close: no clSerialClose
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("clSerialInit 1", "clSelectManufacturer Maker A",
                                              "clSerialInit 0", "clSerialInit 1"));
    // The reason goes with the next open that works.
    fake.env.Unset(test::fakecl::kInitResult);
    ASSERT_TRUE(cl11.OpenPort(1));
    EXPECT_EQ(cl11.LastError(), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ClBindingTest, OpenPassesTheIndexAndCloseReleasesThePort) {
    ASSERT_EQ(cl2001.PortCount(), 2);
    ASSERT_TRUE(cl2001.OpenPort(1));
    EXPECT_TRUE(cl2001.IsOpen());
    cl2001.ClosePort();
    cl2001.ClosePort();
    EXPECT_FALSE(cl2001.IsOpen());
    EXPECT_THAT(fake.TakeCalls(),
                ElementsAre("clSelectManufacturer Maker B", "clSerialInit 1", "clSerialClose"));

    // Opening without an earlier listing (as at start-up) finds the port all the same.
    ClSerialV11Library fresh;
    ASSERT_TRUE(fresh.OpenPort(1));
    EXPECT_EQ(fresh.PortName(1), "Fakeworks - CL1");
    EXPECT_FALSE(fresh.OpenPort(2));  // beyond the library's ports
    EXPECT_FALSE(fresh.IsOpen());
    EXPECT_FALSE(cl2000.OpenPort(5));
    EXPECT_FALSE(cl2000.OpenPort(-1));
}

TEST_F(ClBindingTest, BytesGoToTheLineAndComeBack) {
    ASSERT_TRUE(cl11.OpenPort(0));
    EXPECT_TRUE(cl11.Write("PE=5000\r\n", 9, 500));
    EXPECT_EQ(peer.Receive(9), "PE=5000\r\n");
    ASSERT_TRUE(peer.Send("COMPLETE\r\n"));
    char buffer[16] = {};
    EXPECT_EQ(cl11.Read(buffer, 8, 1000), 8);
    EXPECT_EQ(std::string(buffer, 8), "COMPLETE");
    // All or nothing: two bytes wait, three are asked for.
    EXPECT_EQ(cl11.Read(buffer, 3, 20), 0);
    EXPECT_EQ(cl11.Read(buffer, 2, 20), 2);
    EXPECT_FALSE(cl11.Write("", 0, 500));

    // Listing the ports loads the library apart from the open port, which stays usable.
    EXPECT_EQ(cl11.PortCount(), 2);
    EXPECT_TRUE(cl11.Write("X\r\n", 3, 500));
    EXPECT_EQ(peer.Receive(3), "X\r\n");
}

TEST_F(ClBindingTest, Modes2And3SetARateOnlyWhenTheLibrarySupportsIt) {
    EXPECT_FALSE(cl2001.SetBaudRate(9600));  // no port open: no reason to give
    EXPECT_EQ(cl2001.LastError(), "");

    ASSERT_TRUE(cl2001.OpenPort(0));
    ASSERT_TRUE(cl11.OpenPort(1));
    fake.TakeCalls();
    EXPECT_TRUE(cl2001.SetBaudRate(57600));
    EXPECT_TRUE(cl11.SetBaudRate(115200));
    EXPECT_THAT(fake.TakeCalls(), ElementsAre("clSetBaudRate 8", "clSetBaudRate 16"));

    fake.env.Set(test::fakecl::kBaudMask, "0x1");  // 9600 only
    EXPECT_FALSE(cl2001.SetBaudRate(19200));
    EXPECT_EQ(cl2001.LastError(), "Selected baud rate is not supported.");
    for (std::uint32_t rate : {38400u, 4800u}) {  // a bit the mask lacks, and no bit at all
        EXPECT_FALSE(cl11.SetBaudRate(rate));
        EXPECT_EQ(cl11.LastError(), "Selected baud rate is not supported in Fakeworks - CL1.");
    }
    EXPECT_THAT(fake.TakeCalls(), IsEmpty());
}

TEST_F(ClBindingTest, NonsenseFromTheLibraryIsNotBelieved) {
    fake.env.Set(test::fakecl::kCount, "4294967295");
    EXPECT_EQ(cl2001.PortCount(), 0);
    EXPECT_EQ(cl11.PortCount(), 0);

    fake.env.Set(test::fakecl::kCount, "1");
    fake.env.Set(test::fakecl::kLongNames, "1");  // unterminated, size beyond the buffer
    const std::string full(ClSerialV11Library::kNameBufferSize, 'x');
    EXPECT_THAT(Ports(cl2001), ElementsAre(full));
    EXPECT_THAT(Ports(cl11), ElementsAre(full + " - " + full));
    // That name is no maker the library knows.
    EXPECT_FALSE(cl2001.OpenPort(0));

    ASSERT_TRUE(cl11.OpenPort(0));
    fake.env.Set(test::fakecl::kOversizedRead, "1");
    ASSERT_TRUE(peer.Send("AB"));
    char buffer[4] = {};
    EXPECT_EQ(cl11.Read(buffer, 1, 1000), 0);
}

// The channel on top: a refused rate must not leave a port that looks usable.
TEST_F(ClBindingTest, TheChannelReportsARefusedRateAsAFailedOpen) {
    MemorySettingsBackend backend;
    CoreContext core(ui, backend);
    fake.env.Set(test::fakecl::kBaudMask, "0x1");
    for (ChannelMode mode :
         {ChannelMode::ClSerial2000, ChannelMode::ClSerial2001, ChannelMode::ClSerialV11}) {
        core.channel.SetMode(mode);
        ASSERT_EQ(core.channel.GetPortCount(), 2) << ModeIndex(mode);
        const std::uint32_t index = mode == ChannelMode::ClSerial2000 ? kSim2000Index : 1;
        EXPECT_FALSE(core.channel.OpenChannel(mode, 19200, index)) << ModeIndex(mode);
        EXPECT_TRUE(core.channel.LastOpenError().starts_with("Selected baud rate is not supported"))
            << ModeIndex(mode);
        EXPECT_FALSE(core.channel.IsUsable()) << ModeIndex(mode);
        EXPECT_EQ(core.channel.BaudRate(), 19200u);
        EXPECT_EQ(core.channel.CurrentPortIndex(), index);
        EXPECT_TRUE(core.channel.OpenChannel(mode, 9600, index)) << ModeIndex(mode);
        EXPECT_TRUE(core.channel.IsUsable()) << ModeIndex(mode);
    }
    EXPECT_TRUE(ui.messages.empty());  // the caller decides how to tell it
    core.channel.CloseChannel();
    EXPECT_FALSE(core.channel.IsUsable());
}

}  // namespace
}  // namespace vk
