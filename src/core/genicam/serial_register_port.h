#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/genicam/gencp.h"
#include "core/genicam/register_port.h"

namespace vk {

class Exchange;

inline constexpr int kRegisterTimeoutMs = 2500;

// How long register access waits for the camera.
struct RegisterTiming {
    // For an acknowledgement to begin, and for its data beyond the time the line needs
    // to carry them.
    int packetTimeoutMs = kRegisterTimeoutMs;
    // The line's rate; the slowest rate the tool offers when unknown.
    std::uint32_t baud = 9600;
    // All the waits pending acknowledgements ask for end this long after the first of them.
    int pendingTotalMs = 10000;
};

// Register access with GenCP packets over the camera's line, used inside a running
// operation: the operation holds the line, so every byte of an acknowledgement (CR and LF
// included) reaches this port and not the idle reader. Every wait is bounded; an
// acknowledgement is read header first and then exactly the length its header announces,
// once the codec has judged that length against the request; a late acknowledgement of an
// earlier request is read past, so the line stays in step after a time-out.
class SerialRegisterPort : public RegisterPort {
public:
    // A camera that asks for more time is given it this often per request.
    static constexpr int kMaxPending = 8;
    // An unanswered request is sent again this often, flagged as a resend.
    static constexpr int kMaxResends = 3;
    // The longest response time a device may announce that is believed.
    static constexpr int kMaxDeviceResponseMs = 60000;
    // Requests this far back whose acknowledgements may still arrive.
    static constexpr std::uint16_t kStaleWindow = 16;

    explicit SerialRegisterPort(Exchange& exchange, RegisterTiming timing = {});

    // At most gencp::kMaxReadLength bytes in one request.
    RegisterResult Read(std::uint64_t address, std::uint32_t length) override;
    // Whole 32-bit words; a remainder of 1 to 3 bytes is not sent.
    RegisterResult Write(std::uint64_t address, const std::vector<std::uint8_t>& bytes) override;

    // Waits for each acknowledgement as long as the camera's bootstrap register 0x1CC says
    // (when that is longer than the wait given); false when the camera does not say.
    bool AdoptDeviceResponseTime();

    void SetTiming(const RegisterTiming& timing) { timing_ = timing; }
    const RegisterTiming& Timing() const { return timing_; }
    std::uint16_t NextRequestId() const { return ids_.Peek(); }

private:
    RegisterResult Transact(gencp::Bytes request, const gencp::AckExpectation& expect);
    // Reads the SCD of an acknowledgement whose header is in `packet`; false when it did not
    // come whole (the reason is in `failure`).
    bool ReceiveData(gencp::Bytes& packet, std::size_t length, RegisterResult& failure);
    bool IsStale(const gencp::Header& header, const gencp::AckExpectation& expect) const;
    int DataWaitMs(std::size_t bytes) const;
    std::string PendingOverText() const;

    Exchange& exchange_;
    RegisterTiming timing_;
    gencp::RequestCounter ids_;
};

}  // namespace vk
