// The stored tool settings file (an INI file on Linux), as a user, another version or a
// damaged disk may leave it: read, used and written back through the programs' store.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "persist/tool_settings.h"
#include "settings/qsettings_backend.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

struct ScratchDir {
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vk-fuzz-XXXXXX").string();
        Check(::mkdtemp(pattern.data()) != nullptr);
        path = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchDir dir;
    static unsigned serial = 0;
    // A fresh name each time: QSettings keeps files it has read and may not read a
    // rewritten one again within the same millisecond.
    const std::string ini = (dir.path / ("s" + std::to_string(++serial) + ".ini")).string();
    {
        std::ofstream out(ini, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    {
        vk::settings::QSettingsBackend backend(ini);
        vk::ToolSettings settings(backend);
        for (int i = 0; i < vk::ToolSettings::kCount; ++i) {
            const vk::SettingDefinition& d = vk::ToolSettings::Definition(i);
            if (d.isText) {
                std::string text;
                settings.ReadText(i, text);
                continue;
            }
            // Whatever the file holds, a number read is one the tool can use.
            const std::uint32_t n = settings.Number(static_cast<vk::SettingIndex>(i));
            Check(n == d.defaultNumber || d.valid(n));
        }
        if (settings.WriteNumber(static_cast<int>(vk::SettingIndex::ComPortNo), 3)) {
            Check(settings.Number(vk::SettingIndex::ComPortNo) == 3);
        }
    }
    std::error_code ec;
    std::filesystem::remove(ini, ec);
    std::filesystem::remove(ini + ".lock", ec);
    return 0;
}
