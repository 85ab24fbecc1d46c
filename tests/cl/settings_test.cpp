#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSettings>
#include <QString>

#include "cl/cl_test_support.h"
#include "core/core_context.h"
#include "settings/qsettings_backend.h"
#include "support/pty_peer.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

using settings::QSettingsBackend;

constexpr int kCameraFilePath = static_cast<int>(SettingIndex::CameraFilePath);

class SettingsStoreTest : public ::testing::Test {
protected:
    std::uint32_t StoredNumber(SettingIndex index) {
        QSettingsBackend backend(ini);
        auto value = backend.Read(ToolSettings::Definition(static_cast<int>(index)).name);
        if (!value) return 0xDEAD;
        if (auto* n = std::get_if<std::uint32_t>(&*value)) return *n;
        return static_cast<std::uint32_t>(std::stoul(std::get<std::string>(*value)));
    }

    // The store at `ini` as the next run reads it.
    void ExpectStored(std::uint32_t baud, std::uint32_t port, const std::string& folder) {
        QSettingsBackend backend(ini);
        ToolSettings store(backend);
        EXPECT_EQ(store.Number(SettingIndex::Baudrate), baud);
        EXPECT_EQ(store.Number(SettingIndex::ComPortNo), port);
        std::string path;
        EXPECT_TRUE(store.ReadText(kCameraFilePath, path));
        EXPECT_EQ(path, folder);
    }

    test::TempDir dir;
    std::string ini = dir / "tool.ini";
};

TEST_F(SettingsStoreTest, AFreshUserStartsWithTheDefaultsAndTheFirstWriteLands) {
    // The per-user store, in a configuration folder that does not exist yet.
    const std::string config = dir / "no/config/yet";
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(config));
    QSettingsBackend backend;
    EXPECT_EQ(backend.Location(), config + "/Ostra/VK-4100 Camera Control Tool.conf");
    {
        // The defaults themselves are ToolSettings.DefaultsOnAMachineWithoutValues.
        ToolSettings store(backend);
        EXPECT_FALSE(store.PreviousRunEndedNormally());
        EXPECT_EQ(store.Number(SettingIndex::Baudrate), 9600u);
        // The first write of the run is on disk at once.
        EXPECT_TRUE(store.WriteNumber(static_cast<int>(SettingIndex::ControlMode), 1));
        EXPECT_NE(test::ReadFile(backend.Location()).find("Control%20Mode=1"), std::string::npos);
        store.MarkNormalEnd();
    }
    QSettingsBackend again;
    ToolSettings next(again);
    EXPECT_TRUE(next.PreviousRunEndedNormally());
    EXPECT_EQ(next.Number(SettingIndex::ControlMode), 1u);
}

TEST_F(SettingsStoreTest, HandWrittenValuesAreReadAsTheirTypes) {
    const std::string folder = dir / "cam files";
    std::filesystem::create_directories(folder);
    test::WriteFile(ini,
                    "[General]\n"
                    "Baudrate=19200\n"
                    "Com Port No = 3\n"
                    "Camera File Path=" +
                        folder + "\n");
    ExpectStored(19200, 3, folder);
}

TEST_F(SettingsStoreTest, WrittenValuesComeBackUnchanged) {
    const std::string folder = dir / "Prüfplatz 3, links";
    std::filesystem::create_directories(folder);
    {
        QSettingsBackend backend(ini);
        ToolSettings store(backend);
        EXPECT_TRUE(store.WriteNumber(static_cast<int>(SettingIndex::Baudrate), 115200));
        EXPECT_TRUE(store.WriteNumber(static_cast<int>(SettingIndex::ComPortNo), 255));
        EXPECT_TRUE(store.WriteText(kCameraFilePath, folder));
    }
    ExpectStored(115200, 255, folder);
}

TEST_F(SettingsStoreTest, ACorruptFileGivesTheDefaultsAndIsReplaced) {
    test::WriteFile(ini, std::string("Baudrate=19200\n[Gen\n\x01\xff\x02=\0x", 24));
    {
        QSettingsBackend backend(ini);
        ToolSettings store(backend);
        EXPECT_EQ(store.Number(SettingIndex::Baudrate), 9600u);
        EXPECT_TRUE(store.WriteNumber(static_cast<int>(SettingIndex::ComPortNo), 2));
    }
    EXPECT_EQ(StoredNumber(SettingIndex::Baudrate), 0xDEADu);  // not revived later
    EXPECT_EQ(StoredNumber(SettingIndex::ComPortNo), 2u);
}

// A store edited by hand or by another version: nothing out of range is used, and only the
// tool's own values are written back.
TEST_F(SettingsStoreTest, OutOfRangeValuesGiveTheDefaultsAndOnlyTheToolsValuesAreKept) {
    test::WriteFile(ini,
                    "[General]\n"
                    "Baudrate=-9600\n"
                    "Communication Mode=7\n"
                    "Com Port No=" +
                        std::string(100000, '9') +
                        "\n"
                        "Cameralink 2001 Dll Index=2\n"
                        "Window Size=800x600\n"
                        "Window%20Main=AdnQywADAAAAAAAA\n"
                        "[Plugins]\n"
                        "Path=/tmp/evil\n");
    test::RecordingUserInterface ui;
    {
        QSettingsBackend backend(ini);
        CoreContext core(ui, backend);
        EXPECT_EQ(core.channel.BaudRate(), 9600u);
        EXPECT_EQ(core.channel.CurrentPortIndex(), 0u);
        core.channel.SetMode(ChannelMode::ClSerial2001);
        EXPECT_EQ(core.channel.CurrentPortIndex(), 2u);
        core.channel.SetMode(ChannelMode::ComPort);
        core.SaveAtNormalEnd();
    }
    EXPECT_EQ(StoredNumber(SettingIndex::Baudrate), 9600u);
    EXPECT_EQ(StoredNumber(SettingIndex::ComPortNo), 0u);
    EXPECT_EQ(StoredNumber(SettingIndex::ClSerial2001Index), 2u);
    const std::string file = test::ReadFile(ini);
    EXPECT_EQ(file.find("Size"), std::string::npos) << file;
    // The desktop tool's window place is its own: kept for the next start.
    EXPECT_NE(file.find("Window%20Main=AdnQywADAAAAAAAA"), std::string::npos) << file;
    EXPECT_EQ(file.find("Plugins"), std::string::npos) << file;
    EXPECT_LT(file.size(), 1000u);
}

// Dotfile managers keep the file elsewhere and link to it.
TEST_F(SettingsStoreTest, AStoreThatIsALinkIsWrittenThroughToItsTarget) {
    std::filesystem::create_directories(dir / "dotfiles");
    const std::string target = dir / "dotfiles/vk.ini";
    test::WriteFile(target, "[General]\nBaudrate=19200\n");
    std::filesystem::create_symlink("dotfiles/vk.ini", dir / "middle.ini");  // relative
    std::filesystem::create_symlink(dir / "middle.ini", ini);                // a chain
    struct ::stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    // Keeps the old file's inode in use, so that the new file cannot be given its number.
    std::filesystem::create_hard_link(target, dir / "old-vk.ini");
    {
        QSettingsBackend backend(ini);
        EXPECT_EQ(backend.Location(), target);
        ToolSettings store(backend);
        EXPECT_EQ(store.Number(SettingIndex::Baudrate), 19200u);
        EXPECT_TRUE(store.WriteNumber(static_cast<int>(SettingIndex::ComPortNo), 4));
    }
    EXPECT_TRUE(std::filesystem::is_symlink(ini));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "middle.ini"));
    struct ::stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);  // replaced whole, not rewritten in place
    EXPECT_EQ(StoredNumber(SettingIndex::ComPortNo), 4u);
    EXPECT_EQ(StoredNumber(SettingIndex::Baudrate), 19200u);
    EXPECT_EQ(std::filesystem::directory_iterator(dir / "dotfiles")->path(), target);

    // A link whose target does not exist yet creates it.
    const std::string dangling = dir / "dangling.ini";
    std::filesystem::create_symlink(dir / "dotfiles/new.ini", dangling);
    {
        QSettingsBackend backend(dangling);
        ToolSettings store(backend);
        EXPECT_TRUE(store.WriteNumber(static_cast<int>(SettingIndex::ControlMode), 1));
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_NE(test::ReadFile(dir / "dotfiles/new.ini").find("Control%20Mode=1"), std::string::npos);
}

// A pipe would block the reader for ever and a device must never be replaced.
TEST_F(SettingsStoreTest, AStoreThatIsNoFileIsLeftAloneAndGivesTheDefaults) {
    const std::string fifo = dir / "fifo";
    std::filesystem::create_directories(dir / "folder.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink(fifo, dir / "to-fifo.ini");
    // Devices and loops of links are the file safety test's: the same check refuses them.
    for (const std::string& path : {fifo, dir / "to-fifo.ini", dir / "folder.ini"}) {
        {
            QSettingsBackend backend(path);
            ToolSettings store(backend);
            EXPECT_FALSE(store.PreviousRunEndedNormally()) << path;
            EXPECT_EQ(store.Number(SettingIndex::Baudrate), 9600u) << path;
            EXPECT_FALSE(store.WriteNumber(static_cast<int>(SettingIndex::Baudrate), 19200))
                << path;
            EXPECT_EQ(store.Number(SettingIndex::Baudrate), 9600u) << path;
        }
        std::error_code ec;
        EXPECT_FALSE(std::filesystem::is_regular_file(path, ec)) << path;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

// The per-user store is checked before anything opens it: a FIFO is not waited on, and a
// file over 1 MB is kept as it is while the defaults are used.
TEST_F(SettingsStoreTest, AUserStoreThatIsAFifoOrTooLargeIsKeptAndNamed) {
    const std::string config = dir / "config";
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(config));
    const std::string file = config + "/Ostra/VK-4100 Camera Control Tool.conf";
    std::filesystem::create_directories(config + "/Ostra");
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    {
        QSettingsBackend backend;
        EXPECT_EQ(backend.Problem(), file + ": is a FIFO, not a file; nothing was written");
        EXPECT_EQ(ToolSettings(backend).Number(SettingIndex::Baudrate), 9600u);
    }
    std::filesystem::remove(file);
    const std::string big = "[General]\nBaudrate=19200\n" + std::string(1 << 20, ';');
    test::WriteFile(file, big);
    {
        QSettingsBackend backend;
        EXPECT_TRUE(backend.Problem().starts_with(file + ": is too large (")) << backend.Problem();
        ToolSettings store(backend);
        EXPECT_EQ(store.Number(SettingIndex::Baudrate), 9600u);
        EXPECT_FALSE(store.WriteNumber(static_cast<int>(SettingIndex::Baudrate), 38400));
    }
    EXPECT_EQ(test::ReadFile(file), big);
}

// Three runs of the tool over one store: a normal end, a run that ends without its save (as
// one that dies), and the run after.
TEST_F(SettingsStoreTest, AfterAnAbnormalEndTheChannelStartsOnTheComPort) {
    test::FakeClEnvironment fake;
    test::PtyPeer line;
    fake.env.Set(test::fakecl::kDevice, line.Path());
    test::RecordingUserInterface ui;
    {
        QSettingsBackend backend(ini);
        CoreContext core(ui, backend);
        EXPECT_EQ(StoredNumber(SettingIndex::ShutdownStatus), 0u);  // running
        EXPECT_TRUE(core.channel.OpenChannel(ChannelMode::ClSerialV11, 19200, 1));
        core.SaveAtNormalEnd();
    }
    EXPECT_EQ(StoredNumber(SettingIndex::ShutdownStatus), 1u);
    EXPECT_EQ(StoredNumber(SettingIndex::CommunicationMode), 3u);
    {
        QSettingsBackend backend(ini);
        CoreContext core(ui, backend);
        EXPECT_EQ(core.channel.GetMode(), ChannelMode::ClSerialV11);
        EXPECT_EQ(core.channel.CurrentPortIndex(), 1u);
        core.channel.SetMode(ChannelMode::ComPort);  // nothing written without the save
    }
    EXPECT_EQ(StoredNumber(SettingIndex::ShutdownStatus), 0u);
    EXPECT_EQ(StoredNumber(SettingIndex::CommunicationMode), 3u);
    {
        QSettingsBackend backend(ini);
        CoreContext core(ui, backend);
        EXPECT_FALSE(core.settings.PreviousRunEndedNormally());
        EXPECT_EQ(core.channel.GetMode(), ChannelMode::ComPort);
        EXPECT_EQ(core.channel.BaudRate(), 19200u);
        core.channel.SetMode(ChannelMode::ClSerialV11);
        EXPECT_EQ(core.channel.CurrentPortIndex(), 1u);
        core.channel.SetMode(ChannelMode::ComPort);
        core.SaveAtNormalEnd();
    }
    EXPECT_EQ(StoredNumber(SettingIndex::ShutdownStatus), 1u);
    EXPECT_EQ(StoredNumber(SettingIndex::CommunicationMode), 0u);
    EXPECT_EQ(StoredNumber(SettingIndex::ClSerialV11Index), 1u);
}

}  // namespace
}  // namespace vk
