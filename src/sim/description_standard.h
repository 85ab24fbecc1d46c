#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vk::sim {

// A block of the simulated camera's GenCP memory that a description's registers live in.
struct MemoryBlock {
    std::uint64_t base = 0;
    std::vector<std::uint8_t> bytes;
};

// A second description of the simulated camera, written the way most makers write theirs:
// little-endian registers, converters and formulas, bit fields, a selector, availability
// that depends on other features, an enumeration of more than 16 entries, a chunk port.
std::string StandardDescriptionXml();

// The memory its registers live in, with the values the camera starts with.
std::vector<MemoryBlock> StandardDescriptionMemory();

}  // namespace vk::sim
