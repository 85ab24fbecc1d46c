#include "sim/register_space.h"

#include "core/genicam/gencp.h"
#include "core/genicam/register_layout.h"
#include "core/protocol/reply_parser.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sim/description_zip.h"
#include "sim/register_map.h"

namespace vk::sim {
namespace {

using gencp::BigEndianBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kBootstrapSize = 0x20C;
constexpr std::uint32_t kGenCpVersion = 0x00010000;
constexpr std::uint32_t kMaxResponseMs = 500;
// Schema 1.1 with file type 1 (zip) in bits 15..10.
constexpr std::uint32_t kSchemaVersion = 0x01010000 | (1u << 10);
constexpr std::uint32_t kFileVersion = 0x00010000;

void Put(Bytes& memory, std::uint64_t at, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), memory.begin() + static_cast<std::ptrdiff_t>(at));
}

void PutText(Bytes& memory, std::uint64_t at, std::string_view text) {
    const std::size_t n = std::min(text.size(), gencp::kBootstrapTextLength - 1);
    std::memcpy(memory.data() + at, text.data(), n);
}

// A read of [address, address + length) inside a block that starts at `base`.
bool Within(std::uint64_t address, std::size_t length, std::uint64_t base, std::size_t size) {
    return address >= base && address - base <= size && length <= size - (address - base);
}

const SimRegister* RegisterAt(std::uint64_t address) {
    for (const SimRegister& r : SimRegisters()) {
        if (r.address == address) return &r;
    }
    return nullptr;
}

std::int32_t IntValue(const CameraModel& model, std::string_view mnemonic) {
    return ParseCInteger(model.Value(mnemonic).value_or("0"));
}

Bytes RegisterBytes(const CameraModel& model, const SimRegister& r) {
    switch (r.kind) {
        case RegisterKind::Text: {
            Bytes bytes(r.length, 0);
            const std::string text = model.Value(r.mnemonic).value_or("");
            std::copy_n(text.begin(), std::min<std::size_t>(text.size(), r.length), bytes.begin());
            return bytes;
        }
        case RegisterKind::Float:
            return gencp::FloatBytes(static_cast<float>(IntValue(model, r.mnemonic)));
        default:
            return BigEndianBytes(static_cast<std::uint32_t>(IntValue(model, r.mnemonic)), 4);
    }
}

// The set line that stores written register bytes; empty when they make no value.
std::string SetLine(const SimRegister& r, std::span<const std::uint8_t> data) {
    const std::string head = std::string(r.mnemonic) + "=";
    if (r.kind == RegisterKind::Text) {
        const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
        return head + std::string(data.begin(), end);
    }
    if (data.size() != 4) return {};
    if (r.kind == RegisterKind::Float) {
        const float value = gencp::FloatFromBytes(data);
        if (!std::isfinite(value) || std::fabs(value) > 2e9f) return {};
        return head + std::to_string(std::lround(value));
    }
    const auto value = static_cast<std::int32_t>(gencp::ReadBigEndian(data));
    if (r.kind == RegisterKind::Boolean && value != 0 && value != 1) return {};
    if (r.kind == RegisterKind::Enumeration &&
        std::none_of(r.entries.begin(), r.entries.end(),
                     [&](const RegisterEntry& e) { return e.value == value; })) {
        return {};
    }
    return head + std::to_string(value);
}

std::string Ack(std::uint16_t status, std::uint16_t command, std::uint16_t requestId,
                const Bytes& scd) {
    Bytes out;
    gencp::Header h;
    h.preamble = gencp::kPreamble;
    h.flagsOrStatus = status;
    h.command = command;
    h.scdLength = static_cast<std::uint16_t>(scd.size());
    h.requestId = requestId;
    gencp::AppendHeader(out, h);
    out.insert(out.end(), scd.begin(), scd.end());
    return std::string(out.begin(), out.end());
}

}  // namespace

RegisterSpace::RegisterSpace(CameraModel& model, const std::string& modelName, bool standard)
    : model_(model), bootstrap_(kBootstrapSize, 0) {
    // The standard-style description's registers are there whichever file is served, so
    // that file can be opened against either camera.
    memory_ = StandardDescriptionMemory();
    if (standard) {
        const std::string xml = StandardDescriptionXml();
        file_.assign(xml.begin(), xml.end());
    } else {
        file_.assign(SimDescriptionZip().begin(), SimDescriptionZip().end());
    }
    Put(bootstrap_, gencp::kVersionRegister, BigEndianBytes(kGenCpVersion, 4));
    PutText(bootstrap_, gencp::kManufacturerRegister, "VK");
    PutText(bootstrap_, gencp::kModelRegister, modelName);
    PutText(bootstrap_, gencp::kDeviceVersionRegister, "1.05");
    PutText(bootstrap_, gencp::kSerialNumberRegister, "VK00000001");
    Put(bootstrap_, gencp::kMaxResponseTimeRegister, BigEndianBytes(kMaxResponseMs, 4));
    Put(bootstrap_, gencp::kManifestAddressRegister,
        BigEndianBytes(kSimManifestAddress, gencp::kManifestAddressLength));

    manifest_.assign(gencp::kManifestHeaderLength + gencp::kManifestEntryLength, 0);
    Put(manifest_, 0, BigEndianBytes(1, 8));
    const std::size_t entry = gencp::kManifestHeaderLength;
    Put(manifest_, entry, BigEndianBytes(kFileVersion, 4));
    // A plain XML file has file type 0.
    Put(manifest_, entry + 4,
        BigEndianBytes(standard ? kSchemaVersion & ~(0x3Fu << 10) : kSchemaVersion, 4));
    Put(manifest_, entry + 8, BigEndianBytes(kSimFileAddress, 8));
    Put(manifest_, entry + 16, BigEndianBytes(file_.size(), 8));
}

RegisterSpace::Answer RegisterSpace::Read(std::uint64_t address, std::size_t length) const {
    const auto slice = [&](std::span<const std::uint8_t> block, std::uint64_t base) {
        const auto from = block.subspan(static_cast<std::size_t>(address - base), length);
        return Answer{gencp::kStatusSuccess, Bytes(from.begin(), from.end())};
    };
    if (Within(address, length, 0, bootstrap_.size())) return slice(bootstrap_, 0);
    if (Within(address, length, kSimManifestAddress, manifest_.size())) {
        return slice(manifest_, kSimManifestAddress);
    }
    if (Within(address, length, kSimFileAddress, file_.size())) {
        return slice(file_, kSimFileAddress);
    }
    for (const MemoryBlock& block : memory_) {
        if (Within(address, length, block.base, block.bytes.size()))
            return slice(block.bytes, block.base);
    }
    const SimRegister* r = RegisterAt(address);
    if (r == nullptr || length > r->length) return Answer{gencp::kStatusInvalidAddress, {}};
    if (r->access == "WO") return Answer{gencp::kStatusAccessDenied, {}};
    Bytes bytes = RegisterBytes(model_, *r);
    bytes.resize(length);
    return Answer{gencp::kStatusSuccess, std::move(bytes)};
}

RegisterSpace::Answer RegisterSpace::Write(std::uint64_t address,
                                           std::span<const std::uint8_t> data) {
    for (MemoryBlock& block : memory_) {
        if (!Within(address, data.size(), block.base, block.bytes.size())) continue;
        std::copy(data.begin(), data.end(),
                  block.bytes.begin() + static_cast<std::ptrdiff_t>(address - block.base));
        Bytes scd = {0, 0};
        const Bytes written = BigEndianBytes(data.size(), 2);
        scd.insert(scd.end(), written.begin(), written.end());
        return Answer{gencp::kStatusSuccess, std::move(scd)};
    }
    const SimRegister* r = RegisterAt(address);
    if (r == nullptr || data.size() > r->length) {
        const bool readOnlyBlock =
            Within(address, data.size(), 0, bootstrap_.size()) ||
            Within(address, data.size(), kSimManifestAddress, manifest_.size()) ||
            Within(address, data.size(), kSimFileAddress, file_.size());
        return Answer{readOnlyBlock ? gencp::kStatusWriteProtect : gencp::kStatusInvalidAddress,
                      {}};
    }
    if (r->access == "RO") return Answer{gencp::kStatusWriteProtect, {}};
    const std::string line = SetLine(*r, data);
    if (line.empty() || model_.Handle(line).text != CameraModel::kComplete) {
        return Answer{gencp::kStatusInvalidParameter, {}};
    }
    Bytes scd = {0, 0};
    const Bytes written = BigEndianBytes(data.size(), 2);
    scd.insert(scd.end(), written.begin(), written.end());
    return Answer{gencp::kStatusSuccess, std::move(scd)};
}

std::string RegisterSpace::PendingAck(std::string_view packet, int waitMs) {
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(packet.data()), packet.size());
    if (bytes.size() < gencp::kHeaderSize) return {};
    Bytes scd = {0, 0};
    const Bytes wait = BigEndianBytes(static_cast<std::uint32_t>(std::clamp(waitMs, 0, 0xFFFF)), 2);
    scd.insert(scd.end(), wait.begin(), wait.end());
    return Ack(gencp::kStatusSuccess, gencp::kPendingAck, gencp::ReadHeader(bytes).requestId, scd);
}

std::string RegisterSpace::Handle(std::string_view packet) {
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(packet.data()), packet.size());
    if (bytes.size() < gencp::kHeaderSize) return {};
    const gencp::Header h = gencp::ReadHeader(bytes);
    const auto scd = bytes.subspan(gencp::kHeaderSize);
    const auto answer = [&](const Answer& a) {
        return Ack(a.status, static_cast<std::uint16_t>(h.command + 1), h.requestId, a.scd);
    };
    switch (h.command) {
        case gencp::kReadMem:
            if (scd.size() != 12) return answer({gencp::kStatusInvalidParameter, {}});
            return answer(Read(gencp::ReadBigEndian(scd.first(8)),
                               static_cast<std::size_t>(gencp::ReadBigEndian(scd.subspan(10, 2)))));
        case gencp::kWriteMem:
            if (scd.size() < 8) return answer({gencp::kStatusInvalidParameter, {}});
            return answer(Write(gencp::ReadBigEndian(scd.first(8)), scd.subspan(8)));
        default:
            return answer({gencp::kStatusNotImplemented, {}});
    }
}

}  // namespace vk::sim
