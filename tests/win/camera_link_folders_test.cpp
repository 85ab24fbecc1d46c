#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/comm/cl_serial_api.h"
#include "core/platform/shared_library.h"

namespace vk {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace fs = std::filesystem;

constexpr const char* kKey = "SOFTWARE\\cameralink";

std::string Fixture(const char* scenario) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return (fs::path(path).parent_path().parent_path() / "cl" / "fixtures" / scenario)
        .make_preferred()
        .string();
}

// The registry value of the standard, or none; false when the key cannot be written.
bool SetRegistryFolder(const std::string& folder) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG status = ERROR_SUCCESS;
    if (folder.empty()) {
        ::RegDeleteValueA(key, "CLSERIALPATH");
    } else {
        status = ::RegSetValueExA(key, "CLSERIALPATH", 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(folder.c_str()),
                                  static_cast<DWORD>(folder.size() + 1));
    }
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void SetEnv(const char* name, const std::string& value) {
    ::_putenv_s(name, value.c_str());  // an empty value removes it
}

// Where the standard puts the libraries: the environment variable and the registry value
// CLSERIALPATH, each before the system directory; CLSERIAL_PATH overrides them all.
TEST(WinCameraLinkFolders, TheStandardsFoldersComeBeforeTheSystemDirectory) {
    struct Case {
        const char* env;       // fixture scenario or ""
        const char* registry;  // fixture scenario or ""
        const char* found;     // scenario whose clallserial.dll is loaded, "" for the bare name
    };
    const Case cases[] = {
        {"good", "", "good"},        {"", "good", "good"},
        {"empty", "good", "good"},  // the first folder that has it
        {"good", "lacking", "good"}, {"", "", ""},
    };
    const std::string system = SharedLibrary::SystemDirectories().at(0);
    SetEnv("CLSERIAL_PATH", "");
    if (!SetRegistryFolder("")) GTEST_SKIP() << "HKEY_LOCAL_MACHINE cannot be written here";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.env) + " / " + c.registry);
        SetEnv("CLSERIALPATH", *c.env ? Fixture(c.env) : "");
        ASSERT_TRUE(SetRegistryFolder(*c.registry ? Fixture(c.registry) + "\\" : ""));

        const std::string expected =
            *c.found ? Fixture(c.found) + "\\clallserial.dll" : "clallserial.dll";
        EXPECT_EQ(ClSerialCommonLibrary("clallserial"), expected);
        const std::string places = ClSerialSearchedPlaces();
        EXPECT_THAT(places, HasSubstr(system));
        if (*c.env) {
            EXPECT_THAT(places, StartsWith(Fixture(c.env) +
                                           " (named by the environment variable CLSERIALPATH)"));
        }
        if (*c.registry) {
            // No trailing separator: the folder as a person would write it.
            EXPECT_THAT(
                places,
                HasSubstr(Fixture(c.registry) +
                          " (named by HKEY_LOCAL_MACHINE\\SOFTWARE\\cameralink\\CLSERIALPATH)"));
        }
        EXPECT_EQ(ClSerialDirectories().back(), system);
    }
    SetEnv("CLSERIALPATH", "");
    SetRegistryFolder("");

    SetEnv("CLSERIAL_PATH", Fixture("empty"));
    EXPECT_EQ(ClSerialCommonLibrary("clallserial"), Fixture("empty") + "\\clallserial.dll");
    EXPECT_THAT(ClSerialSearchedPlaces(), Not(HasSubstr(system)));
    SetEnv("CLSERIAL_PATH", "");
}

}  // namespace
}  // namespace vk
