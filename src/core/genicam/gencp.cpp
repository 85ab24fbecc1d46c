#include "core/genicam/gencp.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vk::gencp {
namespace {

struct StatusText {
    std::uint16_t code;
    const char* name;
};

constexpr std::array kStatusNames = {
    StatusText{kStatusSuccess, "Success"},
    StatusText{kStatusNotImplemented, "Not implemented"},
    StatusText{kStatusInvalidParameter, "Invalid parameter"},
    StatusText{kStatusInvalidAddress, "Invalid address"},
    StatusText{kStatusWriteProtect, "Write protect"},
    StatusText{kStatusBadAlignment, "Bad alignment"},
    StatusText{kStatusAccessDenied, "Access denied"},
    StatusText{kStatusBusy, "Busy"},
    StatusText{kStatusMessageTimeout, "Message time-out"},
    StatusText{kStatusInvalidHeader, "Invalid header"},
    StatusText{kStatusWrongConfig, "Wrong configuration"},
    StatusText{kStatusGenericError, "Generic error"},
};

constexpr std::uint16_t kErrorBit = 0x8000;
constexpr std::size_t kPendingScdLength = 4;

std::uint16_t Get16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

void Put16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

void Put64(Bytes& out, std::uint64_t v) {
    for (int shift = 56; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
    }
}

std::string Hex16(std::uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", v);
    return text;
}

AckCheck Invalid(const Header& header, std::string reason) {
    AckCheck check;
    check.header = header;
    check.reason = std::move(reason);
    return check;
}

}  // namespace

Header ReadHeader(std::span<const std::uint8_t> b) {
    Header h;
    h.preamble = Get16(b, 0);
    h.ccdChecksum = Get16(b, 2);
    h.scdChecksum = Get16(b, 4);
    h.channel = Get16(b, 6);
    h.flagsOrStatus = Get16(b, 8);
    h.command = Get16(b, 10);
    h.scdLength = Get16(b, 12);
    h.requestId = Get16(b, 14);
    return h;
}

void AppendHeader(Bytes& out, const Header& h) {
    for (std::uint16_t v : {h.preamble, h.ccdChecksum, h.scdChecksum, h.channel, h.flagsOrStatus,
                            h.command, h.scdLength, h.requestId}) {
        Put16(out, v);
    }
}

Bytes BuildReadRequest(std::uint16_t requestId, std::uint64_t address, std::uint16_t length) {
    Bytes out;
    out.reserve(kHeaderSize + 12);
    Header h;
    h.preamble = kPreamble;
    h.command = kReadMem;
    h.scdLength = 12;
    h.requestId = requestId;
    AppendHeader(out, h);
    Put64(out, address);
    Put16(out, 0);
    Put16(out, length);
    return out;
}

std::size_t WrittenLength(std::size_t size) {
    return std::min(size, kMaxWriteLength) / 4 * 4;
}

Bytes BuildWriteRequest(std::uint16_t requestId, std::uint64_t address,
                        std::span<const std::uint8_t> data) {
    const std::size_t n = WrittenLength(data.size());
    Bytes out;
    out.reserve(kHeaderSize + 8 + n);
    Header h;
    h.preamble = kPreamble;
    h.command = kWriteMem;
    h.scdLength = static_cast<std::uint16_t>(8 + n);
    h.requestId = requestId;
    AppendHeader(out, h);
    Put64(out, address);
    out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
}

void SetResendFlag(Bytes& request) {
    if (request.size() >= kHeaderSize) request[8] |= static_cast<std::uint8_t>(kFlagResend >> 8);
}

std::string StatusName(std::uint16_t status) {
    for (const StatusText& s : kStatusNames) {
        if (s.code == status) return s.name;
    }
    return ((status & kErrorBit) != 0 ? "Unknown error " : "Unknown status ") + Hex16(status);
}

AckCheck CheckAckHeader(std::span<const std::uint8_t> bytes, const AckExpectation& expect) {
    if (bytes.size() < kHeaderSize) {
        return Invalid({}, "short acknowledgement (" + std::to_string(bytes.size()) + " bytes)");
    }
    const Header h = ReadHeader(bytes);
    if (h.preamble != kPreamble) {
        return Invalid(h, "no acknowledgement preamble (" + Hex16(h.preamble) + ")");
    }
    if (h.requestId != expect.requestId) {
        return Invalid(h, "acknowledgement of request " + std::to_string(h.requestId) +
                              " instead of " + std::to_string(expect.requestId));
    }
    AckCheck check;
    check.header = h;
    check.dataLength = h.scdLength;
    if (h.command == kPendingAck) {
        if (h.scdLength != kPendingScdLength) {
            return Invalid(h, "pending acknowledgement with length " + std::to_string(h.scdLength));
        }
        check.state = AckState::Pending;
        return check;
    }
    if (h.command != expect.command) {
        return Invalid(
            h, "acknowledge command " + Hex16(h.command) + " instead of " + Hex16(expect.command));
    }
    if (h.scdLength > expect.maxLength || h.scdLength > expect.bufferSize) {
        return Invalid(h, "acknowledgement length " + std::to_string(h.scdLength) +
                              " exceeds the " +
                              std::to_string(std::min(expect.maxLength, expect.bufferSize)) +
                              " bytes asked for");
    }
    if ((h.flagsOrStatus & kErrorBit) != 0) {
        check.state = AckState::Refused;
        check.reason = "status " + Hex16(h.flagsOrStatus) + " " + StatusName(h.flagsOrStatus);
        return check;
    }
    check.state = AckState::Done;
    return check;
}

Ack ParseAck(std::span<const std::uint8_t> packet, const AckExpectation& expect) {
    Ack ack;
    ack.check = CheckAckHeader(packet, expect);
    if (ack.check.state == AckState::Invalid) return ack;
    const std::size_t length = ack.check.dataLength;
    if (packet.size() != kHeaderSize + length) {
        ack.check = Invalid(ack.check.header,
                            "acknowledgement of " + std::to_string(packet.size()) +
                                " bytes announces " + std::to_string(kHeaderSize + length));
        return ack;
    }
    const auto scd = packet.subspan(kHeaderSize);
    if (ack.check.state == AckState::Pending) {
        ack.check.pendingTimeoutMs = Get16(scd, 2);
    } else if (ack.check.state == AckState::Done) {
        ack.data.assign(scd.begin(), scd.end());
    }
    return ack;
}

AckExpectation ReadAckExpectation(std::uint16_t requestId, std::size_t length,
                                  std::size_t bufferSize) {
    return AckExpectation{kReadMemAck, requestId, length, bufferSize};
}

AckExpectation WriteAckExpectation(std::uint16_t requestId) {
    return AckExpectation{kWriteMemAck, requestId, 4, 4};
}

}  // namespace vk::gencp
