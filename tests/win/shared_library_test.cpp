#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/comm/cl_serial_api.h"
#include "core/platform/shared_library.h"

namespace vk {
namespace {

using ::testing::ElementsAre;

namespace fs = std::filesystem;

// The fake libraries of tests/cl, found beside this program's build folder.
fs::path Fixtures() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path().parent_path() / "cl" / "fixtures";
}

TEST(WinSharedLibrary, NamesAndTheSystemDirectory) {
    EXPECT_EQ(SharedLibrary::FileName("clallserial"), "clallserial.dll");
    EXPECT_EQ(SharedLibrary::JoinPath("C:\\dir", "a.dll"), "C:\\dir\\a.dll");
    EXPECT_EQ(SharedLibrary::JoinPath("C:\\dir\\", "a.dll"), "C:\\dir\\a.dll");
    EXPECT_EQ(SharedLibrary::JoinPath("C:/dir/", "a.dll"), "C:/dir/a.dll");
    const auto system = SharedLibrary::SystemDirectories();
    ASSERT_EQ(system.size(), 1u);
    EXPECT_TRUE(fs::is_directory(system[0])) << system[0];
    EXPECT_TRUE(fs::exists(SharedLibrary::JoinPath(system[0], "kernel32.dll")));
}

TEST(WinSharedLibrary, FindsFilesByPatternIgnoringCaseAndFolders) {
    const fs::path dir =
        fs::temp_directory_path() / ("vk-find-" + std::to_string(::GetCurrentProcessId()));
    fs::create_directories(dir / "clserdir.dll");
    for (const char* name : {"clserB.dll", "CLSERA.DLL", "clserial.txt", "xclser.dll"})
        std::ofstream(dir / name) << "x";
    const auto found = SharedLibrary::FindFiles(dir.string(), "clser", ".dll");
    fs::remove_all(dir);
    EXPECT_THAT(found, ElementsAre("CLSERA.DLL", "clserB.dll"));
    EXPECT_TRUE(SharedLibrary::FindFiles((dir / "gone").string(), "clser", ".dll").empty());
}

TEST(WinSharedLibrary, LoadsByPathResolvesEntriesAndUnloads) {
    const std::string good = (Fixtures() / "good" / "clallserial.dll").string();
    SharedLibrary library;
    ASSERT_TRUE(library.Load(good)) << good;
    EXPECT_NE(library.Symbol("clSerialInit"), nullptr);
    EXPECT_NE(library.Symbol("clGetPortInfo"), nullptr);
    EXPECT_EQ(library.Symbol("clGetManufacturer"), nullptr);  // a 2001 entry point
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_EQ(library.Symbol("clSerialInit"), nullptr);

    EXPECT_FALSE(library.Load((Fixtures() / "empty" / "clallserial.dll").string()));
    EXPECT_FALSE(library.Load(""));
    EXPECT_FALSE(library.IsLoaded());
}

// The v1.1 binding's set of entry points: complete in the good library, one short in the
// lacking one, which then stays unloaded.
TEST(WinSharedLibrary, ALibraryLackingAnEntryPointDoesNotLoad) {
    const ClEntry v11[] = {
        ClEntry::SerialInit,   ClEntry::SerialClose,          ClEntry::SetBaudRate,
        ClEntry::SerialRead,   ClEntry::SerialWrite,          ClEntry::FlushPort,
        ClEntry::GetErrorText, ClEntry::GetNumPorts,          ClEntry::GetNumBytesAvail,
        ClEntry::GetPortInfo,  ClEntry::GetSupportedBaudRates};
    ClSerialModule module;
    EXPECT_TRUE(module.Load((Fixtures() / "good" / "clallserial.dll").string(), v11));
    EXPECT_FALSE(module.Load((Fixtures() / "lacking" / "clallserial.dll").string(), v11));
}

}  // namespace
}  // namespace vk
