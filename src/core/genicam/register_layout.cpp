#include "core/genicam/register_layout.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vk::gencp {
namespace {

constexpr unsigned kFileTypeShift = 10;
constexpr std::uint32_t kFileTypeMask = 0x3F;

}  // namespace

std::uint64_t ReadBigEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(bytes.size(), 8); ++i) {
        v = (v << 8) | bytes[i];
    }
    return v;
}

std::vector<std::uint8_t> BigEndianBytes(std::uint64_t value, std::size_t width) {
    std::vector<std::uint8_t> out(width);
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t shift = 8 * (width - 1 - i);
        out[i] = shift < 64 ? static_cast<std::uint8_t>((value >> shift) & 0xFF) : 0;
    }
    return out;
}

std::vector<std::uint8_t> FloatBytes(float value) {
    return BigEndianBytes(std::bit_cast<std::uint32_t>(value), 4);
}

float FloatFromBytes(std::span<const std::uint8_t> bytes) {
    std::uint8_t word[4] = {};
    std::memcpy(word, bytes.data(), std::min<std::size_t>(bytes.size(), 4));
    return std::bit_cast<float>(static_cast<std::uint32_t>(ReadBigEndian(word)));
}

std::uint64_t ManifestAddress(std::span<const std::uint8_t> reg) {
    const std::uint64_t value = ReadBigEndian(reg.first(std::min<std::size_t>(reg.size(), 8)));
    if (reg.size() < 8) return value;
    const std::uint64_t upper = value >> 32;
    return upper == 0 ? value : upper;
}

std::uint64_t ManifestEntryAddress(std::uint64_t manifest, std::size_t index) {
    return manifest + kManifestHeaderLength + kManifestEntryLength * index;
}

std::optional<ManifestEntry> ParseManifestEntry(std::span<const std::uint8_t> e) {
    if (e.size() < kManifestEntryLength) return std::nullopt;
    ManifestEntry entry;
    entry.fileVersion = static_cast<std::uint32_t>(ReadBigEndian(e.subspan(0, 4)));
    entry.schemaVersion = static_cast<std::uint32_t>(ReadBigEndian(e.subspan(4, 4)));
    const std::uint32_t type = (entry.schemaVersion >> kFileTypeShift) & kFileTypeMask;
    entry.type = type == 0 ? FileType::Xml : type == 1 ? FileType::Zip : FileType::Other;
    entry.address = ReadBigEndian(e.subspan(8, 8));
    entry.size = ReadBigEndian(e.subspan(16, 8));
    return entry;
}

std::vector<ReadChunk> ChunkRead(std::uint64_t address, std::uint64_t size, std::size_t maxChunk) {
    const std::uint64_t step = std::clamp<std::size_t>(maxChunk, 1, 0xFFFF);
    std::vector<ReadChunk> chunks;
    chunks.reserve(static_cast<std::size_t>(size / step + 1));
    for (std::uint64_t done = 0; done < size; done += step) {
        chunks.push_back(
            ReadChunk{address + done, static_cast<std::uint16_t>(std::min(step, size - done))});
    }
    return chunks;
}

}  // namespace vk::gencp
