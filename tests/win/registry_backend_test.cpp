#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/persist/tool_settings.h"
#include "settings/registry_backend.h"

namespace vk {
namespace {

using settings::RegistryBackend;

// A key of its own under HKEY_CURRENT_USER for each test, removed afterwards.
class RegistryBackendTest : public ::testing::Test {
protected:
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, WideKey().c_str()); }

    std::wstring WideKey() const { return std::wstring(subKey.begin(), subKey.end()); }

    // What the registry holds: type and raw bytes; type 0 when there is no such value.
    std::pair<DWORD, std::vector<BYTE>> Raw(const wchar_t* name) const {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, WideKey().c_str(), 0, KEY_QUERY_VALUE, &key) !=
            ERROR_SUCCESS) {
            return {0, {}};
        }
        DWORD type = 0;
        std::vector<BYTE> data(1024);
        DWORD size = static_cast<DWORD>(data.size());
        const LONG result = ::RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
        ::RegCloseKey(key);
        if (result != ERROR_SUCCESS) return {0, {}};
        data.resize(size);
        return {type, data};
    }

    void Put(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, WideKey().c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
    }
    void PutText(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
        Put(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    static std::vector<BYTE> Bytes(const std::wstring& text) {
        const auto* p = reinterpret_cast<const BYTE*>(text.c_str());
        return {p, p + (text.size() + 1) * sizeof(wchar_t)};
    }

    const std::string subKey =
        "Software\\Ostra\\VK-4100 test " + std::to_string(::GetCurrentProcessId());
    RegistryBackend backend{subKey};
};

TEST_F(RegistryBackendTest, TheProgramsShareTheDesktopToolsKey) {
    EXPECT_EQ(RegistryBackend().Location(),
              "HKEY_CURRENT_USER\\Software\\Ostra\\VK-4100 Camera Control Tool");
    EXPECT_EQ(backend.Location(), "HKEY_CURRENT_USER\\" + subKey);
}

TEST_F(RegistryBackendTest, AFreshUserGetsTheDefaultsAndTheFirstWriteCreatesTheKey) {
    {
        // The defaults themselves are the settings tests'.
        ToolSettings store(backend);  // its first write already creates the key
        EXPECT_FALSE(store.PreviousRunEndedNormally());
        EXPECT_EQ(store.Number(SettingIndex::Baudrate), 9600u);
        EXPECT_TRUE(store.WriteNumber(static_cast<int>(SettingIndex::ComPortNo), 4));
        store.MarkNormalEnd();
    }
    ToolSettings next(backend);
    EXPECT_TRUE(next.PreviousRunEndedNormally());
    EXPECT_EQ(next.Number(SettingIndex::ComPortNo), 4u);
}

// The types QSettings writes: a number is a REG_DWORD of four bytes, a text a REG_SZ in
// UTF-16 with its terminating zero; a leading '@' is doubled as QSettings does.
TEST_F(RegistryBackendTest, ValuesAreStoredWithTheTypesOfTheDesktopTool) {
    ASSERT_TRUE(backend.Write("Baudrate", std::uint32_t{115200}));
    ASSERT_TRUE(backend.Write("Control Mode", std::uint32_t{0xFFFFFFFF}));
    ASSERT_TRUE(backend.Write("Camera File Path", std::string("C:\\Kamera\\M\xC3\xBCller")));
    ASSERT_TRUE(backend.Write("Command Log File Path", std::string("@logs")));

    const DWORD rate = 115200;
    const auto* rateBytes = reinterpret_cast<const BYTE*>(&rate);
    EXPECT_EQ(Raw(L"Baudrate"),
              std::make_pair(DWORD{REG_DWORD}, std::vector<BYTE>(rateBytes, rateBytes + 4)));
    EXPECT_EQ(Raw(L"Camera File Path"),
              std::make_pair(DWORD{REG_SZ}, Bytes(L"C:\\Kamera\\M\u00fcller")));
    EXPECT_EQ(Raw(L"Command Log File Path"), std::make_pair(DWORD{REG_SZ}, Bytes(L"@@logs")));

    EXPECT_EQ(backend.Read("Baudrate"), StoredValue(std::uint32_t{115200}));
    EXPECT_EQ(backend.Read("Control Mode"), StoredValue(std::uint32_t{0xFFFFFFFF}));
    EXPECT_EQ(backend.Read("Camera File Path"),
              StoredValue(std::string("C:\\Kamera\\M\xC3\xBCller")));
    EXPECT_EQ(backend.Read("Command Log File Path"), StoredValue(std::string("@logs")));
    EXPECT_EQ(backend.Read("Com Port No"), std::nullopt);

    // Rewriting a value with another type replaces it.
    ASSERT_TRUE(backend.Write("Baudrate", std::string("19200")));
    EXPECT_EQ(Raw(L"Baudrate").first, DWORD{REG_SZ});
}

// Values put there by hand or by other programs.
TEST_F(RegistryBackendTest, ForeignValuesAreReadAsFarAsTheyMakeSense) {
    PutText(L"Baudrate", L"19200");
    const std::uint64_t big = 0x100000003ull;
    Put(L"Com Port No", REG_QWORD, &big, sizeof big);
    const BYTE shortNumber[2] = {1, 0};
    Put(L"Communication Mode", REG_DWORD, shortNumber, sizeof shortNumber);
    PutText(L"Control Mode", L"@Invalid()");
    PutText(L"Cameralink 2000 Dll Index", L"%SYSTEMROOT%", REG_EXPAND_SZ);
    const std::wstring binary = L"2";
    Put(L"Cameralink 2001 Dll Index", REG_BINARY, binary.c_str(), sizeof(wchar_t));
    Put(L"Cameralink Ver11 Dll Index", REG_NONE, nullptr, 0);

    EXPECT_EQ(backend.Read("Baudrate"), StoredValue(std::string("19200")));
    EXPECT_EQ(backend.Read("Com Port No"), StoredValue(std::uint32_t{3}));
    EXPECT_EQ(backend.Read("Communication Mode"), std::nullopt);
    EXPECT_EQ(backend.Read("Control Mode"), std::nullopt);
    EXPECT_EQ(backend.Read("Cameralink 2000 Dll Index"), StoredValue(std::string("%SYSTEMROOT%")));
    EXPECT_EQ(backend.Read("Cameralink 2001 Dll Index"), StoredValue(std::string("2")));
    EXPECT_EQ(backend.Read("Cameralink Ver11 Dll Index"), std::nullopt);

    ToolSettings store(backend);
    EXPECT_EQ(store.Number(SettingIndex::Baudrate), 19200u);
    EXPECT_EQ(store.Number(SettingIndex::CommunicationMode), 0u);  // the default
    EXPECT_EQ(store.Number(SettingIndex::ClSerial2001Index), 2u);
}

}  // namespace
}  // namespace vk
