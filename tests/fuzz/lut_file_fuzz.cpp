// A LUT file from another machine or another version.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/lut/lut_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    vk::lut::Tables current{};
    current[1].fill(7);
    const vk::lut::LutLoad load = vk::lut::ParseLutFile(in, current);
    if (!load.ok) {
        // A file that fails changes no table.
        if (load.tables != current) std::abort();
        return 0;
    }
    for (const auto& table : load.tables) {
        for (auto value : table) {
            if (value < 0 || value > 4095) std::abort();
        }
    }
    // What loaded saves and loads back the same.
    std::istringstream again(vk::lut::FormatLutFile(load.tables));
    const vk::lut::LutLoad reloaded = vk::lut::ParseLutFile(again, current);
    if (!reloaded.ok || reloaded.tables != load.tables) std::abort();
    return 0;
}
