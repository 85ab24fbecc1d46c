#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vk::lut {

inline constexpr int kEntries = 256;
inline constexpr std::int32_t kMaxValue = 4095;

// One channel's table: 256 output values of 0 to 4095.
using Table = std::array<std::int32_t, kEntries>;
// Red, green, blue.
using Tables = std::array<Table, 3>;

// The input level of entry i on the 4096-wide axis: 16·i, except 4095 for the last entry.
constexpr std::int32_t InputPosition(int entry) {
    return entry == kEntries - 1 ? kMaxValue : 16 * entry;
}

struct ChannelInfo {
    std::string_view name;         // "Red"
    std::string_view mnemonic;     // the command that steps through the camera's table
    std::string_view progressTag;  // put after the reading message
};

inline constexpr std::array<ChannelInfo, 3> kChannels = {{
    {"Red", "LUTSR", "[R]. "},
    {"Green", "LUTSG", "[G]. "},
    {"Blue", "LUTSB", "[B]. "},
}};

}  // namespace vk::lut
