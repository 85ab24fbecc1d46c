// The stored tool settings file (an INI file on Linux), as a user, another version or a
// damaged disk may leave it: read, used and written back through the programs' store.
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/persist/tool_settings.h"
#include "settings/qsettings_backend.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// In memory when the machine offers it: every write of the store is synced to disk.
std::filesystem::path ScratchBase() {
    std::error_code ec;
    if (!std::getenv("TMPDIR") && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return std::filesystem::temp_directory_path(ec);
}

struct ScratchDir {
    ScratchDir() {
        std::string pattern = (ScratchBase() / "vk-fuzz-XXXXXX").string();
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
    static const std::string ini = (dir.path / "store.ini").string();
    static int serial = 0;
    {
        std::ofstream out(ini, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // QSettings keeps the files it has read and reads one again only when its size or time
    // changed: give every input a time of its own.
    std::filesystem::last_write_time(
        ini, std::filesystem::file_time_type(std::chrono::seconds(1'000'000'000 + ++serial)));
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
    return 0;
}
