// A LUT file from another machine or another version.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/lut/lut_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vk::lut::LutLoad load =
        vk::lut::ParseLutFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!load.ok) {
        // A refusal names the line.
        if (load.error.find(": Line(") == std::string::npos) std::abort();
        return 0;
    }
    for (const auto& table : load.tables) {
        for (auto value : table) {
            if (value < 0 || value > 4095) std::abort();
        }
    }
    // What loaded saves and loads back the same.
    const vk::lut::LutLoad reloaded = vk::lut::ParseLutFile(vk::lut::FormatLutFile(load.tables));
    if (!reloaded.ok || reloaded.tables != load.tables) std::abort();
    return 0;
}
