#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vk::gencp {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kPreamble = 0x0100;
constexpr std::size_t kHeaderSize = 16;
constexpr std::uint16_t kFlagRequestAck = 0x4000;
constexpr std::uint16_t kFlagResend = 0x8000;  // the same request again, under the same id

constexpr std::uint16_t kReadMem = 0x0800;
constexpr std::uint16_t kReadMemAck = 0x0801;
constexpr std::uint16_t kWriteMem = 0x0802;
constexpr std::uint16_t kWriteMemAck = 0x0803;
constexpr std::uint16_t kPendingAck = 0x0805;

constexpr std::uint16_t kStatusSuccess = 0x0000;
constexpr std::uint16_t kStatusNotImplemented = 0x8001;
constexpr std::uint16_t kStatusInvalidParameter = 0x8002;
constexpr std::uint16_t kStatusInvalidAddress = 0x8003;
constexpr std::uint16_t kStatusWriteProtect = 0x8004;
constexpr std::uint16_t kStatusBadAlignment = 0x8005;
constexpr std::uint16_t kStatusAccessDenied = 0x8006;
constexpr std::uint16_t kStatusBusy = 0x8007;
constexpr std::uint16_t kStatusMessageTimeout = 0x800B;
constexpr std::uint16_t kStatusInvalidHeader = 0x800E;
constexpr std::uint16_t kStatusWrongConfig = 0x800F;
constexpr std::uint16_t kStatusGenericError = 0x8FFF;

// The largest read one request can ask for: the read length field has 16 bits.
constexpr std::size_t kMaxReadLength = 0xFFFF;
// The data bytes one write request can carry: the SCD length (8 + data) has 16 bits.
constexpr std::size_t kMaxWriteLength = 0xFFFF - 8 - 3;

// The 16-byte header both directions share; the checksum fields are sent as zero.
struct Header {
    std::uint16_t preamble = 0;
    std::uint16_t ccdChecksum = 0;
    std::uint16_t scdChecksum = 0;
    std::uint16_t channel = 0;
    std::uint16_t flagsOrStatus = 0;  // flags in a command, status in an acknowledgement
    std::uint16_t command = 0;
    std::uint16_t scdLength = 0;
    std::uint16_t requestId = 0;
};

// Numbers requests: each request takes the current id, the next one gets the id plus one.
class RequestCounter {
public:
    std::uint16_t Take() { return next_++; }
    std::uint16_t Peek() const { return next_; }

private:
    std::uint16_t next_ = 0;
};

// The header as it stands in the first 16 bytes; the caller checks the size.
Header ReadHeader(std::span<const std::uint8_t> bytes);
void AppendHeader(Bytes& out, const Header& header);

// Read request (28 bytes): header with command 0x0800 and SCD length 12, the 64-bit address,
// two reserved bytes and the read length.
Bytes BuildReadRequest(std::uint16_t requestId, std::uint64_t address, std::uint16_t length);

// Write request: header with command 0x0802, the 64-bit address, then the data in whole
// 32-bit words; a remainder of 1 to 3 bytes is not sent. `data` is already in the order the
// camera stores it (big-endian for numbers). At most kMaxWriteLength bytes are sent.
Bytes BuildWriteRequest(std::uint16_t requestId, std::uint64_t address,
                        std::span<const std::uint8_t> data);
// The number of data bytes a write request carries for `size` bytes given.
std::size_t WrittenLength(std::size_t size);

// Marks a built request as a resend of itself.
void SetResendFlag(Bytes& request);

// The name of a status code ("Success", "Invalid address", ...); unknown error codes read
// as "Unknown error 0x8123".
std::string StatusName(std::uint16_t status);

// What an acknowledgement must match: the request it answers and the room for its data.
struct AckExpectation {
    std::uint16_t command = 0;    // the acknowledge command id (kReadMemAck, kWriteMemAck)
    std::uint16_t requestId = 0;  // the id of the request
    std::size_t maxLength = 0;    // the SCD length the request allows (read length, or 4)
    std::size_t bufferSize = 0;   // the room the caller has for the data
};

enum class AckState {
    Done,     // a valid acknowledgement with success status
    Pending,  // the device asks for more time; the header's SCD carries the time-out
    Refused,  // a valid acknowledgement with an error status
    Invalid,  // not an acknowledgement of this request
};

struct AckCheck {
    AckState state = AckState::Invalid;
    Header header;
    std::size_t dataLength = 0;          // data bytes that follow the header
    std::uint16_t pendingTimeoutMs = 0;  // for Pending, once its SCD is read
    std::string reason;                  // for Refused and Invalid
};

// Judges a received 16-byte acknowledgement header before its data are read: preamble,
// command id, request id, and an SCD length within the request and the buffer.
AckCheck CheckAckHeader(std::span<const std::uint8_t> header, const AckExpectation& expect);

// A complete acknowledgement (header and SCD): the data of a read, the pending time-out.
struct Ack {
    AckCheck check;
    Bytes data;
};
Ack ParseAck(std::span<const std::uint8_t> packet, const AckExpectation& expect);

// The expectation for the answer to a read of `length` bytes into a buffer of `bufferSize`.
AckExpectation ReadAckExpectation(std::uint16_t requestId, std::size_t length,
                                  std::size_t bufferSize);
AckExpectation WriteAckExpectation(std::uint16_t requestId);

}  // namespace vk::gencp
