#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vk::gencp {

// Bootstrap registers every GenCP device has at the start of its memory.
constexpr std::uint64_t kVersionRegister = 0x000;
constexpr std::uint64_t kManufacturerRegister = 0x004;
constexpr std::uint64_t kModelRegister = 0x044;
constexpr std::uint64_t kDeviceVersionRegister = 0x0C4;
constexpr std::uint64_t kSerialNumberRegister = 0x144;
constexpr std::uint64_t kCapabilityRegister = 0x1C4;
constexpr std::uint64_t kMaxResponseTimeRegister = 0x1CC;
constexpr std::uint64_t kManifestAddressRegister = 0x1D0;
constexpr std::size_t kManifestAddressLength = 8;
constexpr std::size_t kBootstrapTextLength = 64;

// The manifest: a 64-bit entry count, then 64-byte entries.
constexpr std::size_t kManifestHeaderLength = 8;
constexpr std::size_t kManifestEntryLength = 64;

enum class FileType : std::uint8_t { Xml = 0, Zip = 1, Other = 0xFF };

struct ManifestEntry {
    std::uint32_t fileVersion = 0;
    std::uint32_t schemaVersion = 0;
    FileType type = FileType::Other;
    std::uint64_t address = 0;
    std::uint64_t size = 0;
};

// Big-endian numbers as registers hold them.
std::uint64_t ReadBigEndian(std::span<const std::uint8_t> bytes);  // up to 8 bytes
std::vector<std::uint8_t> BigEndianBytes(std::uint64_t value, std::size_t width);
std::vector<std::uint8_t> FloatBytes(float value);
float FloatFromBytes(std::span<const std::uint8_t> bytes);  // the first 4 bytes

// The manifest table address from the 8-byte register at 0x1D0: the 64-bit value when its
// upper half is zero; otherwise only its first four bytes hold the address (a device that
// keeps a 32-bit address there).
std::uint64_t ManifestAddress(std::span<const std::uint8_t> reg);

// Where entry `index` of the manifest at `manifest` lies.
std::uint64_t ManifestEntryAddress(std::uint64_t manifest, std::size_t index);

// A 64-byte manifest entry; nothing when fewer bytes are given.
std::optional<ManifestEntry> ParseManifestEntry(std::span<const std::uint8_t> entry);

// One register read of a file read in pieces.
struct ReadChunk {
    std::uint64_t address = 0;
    std::uint16_t length = 0;
};

// The reads that fetch `size` bytes from `address`, none longer than `maxChunk` (at most
// 65535, the largest read a request can ask for).
std::vector<ReadChunk> ChunkRead(std::uint64_t address, std::uint64_t size,
                                 std::size_t maxChunk = 0xFFFF);

}  // namespace vk::gencp
