#include "core/genicam/serial_register_port.h"

#include <algorithm>
#include <chrono>

#include "core/genicam/register_layout.h"
#include "core/protocol/exchange.h"

namespace vk {
namespace {

constexpr int kBitsPerByte = 10;  // 8N1: start, eight data bits, stop

RegisterResult Failed(std::string reason) {
    return RegisterResult::Failure(ExchangeStatus::Refused, std::move(reason));
}

// A failed send or wait, in the words the port gives its callers.
RegisterResult Failed(const ExchangeResult& exchange, const std::string& timeoutText) {
    const bool timedOut = exchange.status == ExchangeStatus::TimedOut;
    return RegisterResult::Failure(exchange.status,
                                   timedOut ? timeoutText : StatusName(exchange.status));
}

// The wait a pending acknowledgement asks for, cut to what is left before `end`.
int PendingWaitMs(int askedMs, std::chrono::steady_clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          end - std::chrono::steady_clock::now())
                          .count();
    return static_cast<int>(std::min<long long>(askedMs, left));
}

std::string DurationText(int ms) {
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

bool IsAcknowledge(std::uint16_t exchange) {
    return exchange == gencp::kReadMemAck || exchange == gencp::kWriteMemAck ||
           exchange == gencp::kPendingAck;
}

}  // namespace

SerialRegisterPort::SerialRegisterPort(Exchange& exchange, RegisterTiming timing)
    : exchange_(exchange), timing_(timing) {}

RegisterResult SerialRegisterPort::Read(std::uint64_t address, std::uint32_t length) {
    if (length == 0 || length > gencp::kMaxReadLength) {
        return Failed("a read of " + std::to_string(length) + " bytes cannot be asked for");
    }
    const std::uint16_t id = ids_.Take();
    const auto size = static_cast<std::uint16_t>(length);
    return Transact(gencp::BuildReadRequest(id, address, size),
                    gencp::ReadAckExpectation(id, size, size));
}

RegisterResult SerialRegisterPort::Write(std::uint64_t address,
                                         const std::vector<std::uint8_t>& bytes) {
    if (gencp::WrittenLength(bytes.size()) == 0) {
        return Failed("a write of " + std::to_string(bytes.size()) +
                      " bytes holds no whole 32-bit word");
    }
    if (bytes.size() > gencp::kMaxWriteLength) {
        return Failed("a write of " + std::to_string(bytes.size()) + " bytes is too long");
    }
    const std::uint16_t id = ids_.Take();
    return Transact(gencp::BuildWriteRequest(id, address, bytes), gencp::WriteAckExpectation(id));
}

bool SerialRegisterPort::AdoptDeviceResponseTime() {
    const RegisterResult r = Read(gencp::kMaxResponseTimeRegister, 4);
    if (!r.ok() || r.bytes.size() != 4) return false;
    const std::uint64_t ms = gencp::ReadBigEndian(r.bytes);
    if (ms == 0 || ms > static_cast<std::uint64_t>(kMaxDeviceResponseMs)) return false;
    timing_.packetTimeoutMs = std::max(timing_.packetTimeoutMs, static_cast<int>(ms));
    return true;
}

RegisterResult SerialRegisterPort::Transact(gencp::Bytes request,
                                            const gencp::AckExpectation& expect) {
    const ExchangeResult sent = exchange_.SendBytes(request);
    if (!sent) return Failed(sent, {});

    int headerWaitMs = timing_.packetTimeoutMs;
    int pending = 0;
    int resends = 0;
    std::chrono::steady_clock::time_point pendingEnd;
    bool pendingOver = false;  // the wait was cut short by the bound on pending waits
    // Each round reads one acknowledgement: ours, a pending one, or a late one owed to an
    // earlier request. Stale ones are bounded by the window, pending ones by kMaxPending.
    for (int round = 0; round <= kMaxPending + kStaleWindow; ++round) {
        gencp::Bytes packet(gencp::kHeaderSize);
        const ExchangeResult header = exchange_.ReceiveBytes(packet, headerWaitMs);
        if (!header && header.status == ExchangeStatus::TimedOut && pending == 0 &&
            resends < kMaxResends) {
            // Lost on the way, or its answer was: the same request again, flagged.
            ++resends;
            gencp::SetResendFlag(request);
            const ExchangeResult again = exchange_.SendBytes(request);
            if (!again) return Failed(again, {});
            --round;
            continue;
        }
        if (!header && header.status == ExchangeStatus::TimedOut && pendingOver) {
            return RegisterResult::Failure(ExchangeStatus::TimedOut, PendingOverText());
        }
        if (!header) {
            return Failed(
                header,
                "no acknowledgement within " + std::to_string(headerWaitMs) + " ms" +
                    (resends > 0 ? " (sent " + std::to_string(resends + 1) + " times)" : ""));
        }
        const gencp::AckCheck check = gencp::CheckAckHeader(packet, expect);
        RegisterResult failure;
        if (check.state == gencp::AckState::Invalid) {
            if (!IsStale(check.header, expect)) {
                // What came was no acknowledgement: ours may still follow it.
                exchange_.ExpectStrayBytes(headerWaitMs);
                return Failed(check.reason);
            }
            if (!ReceiveData(packet, check.header.scdLength, failure)) return failure;
            continue;
        }
        if (!ReceiveData(packet, check.dataLength, failure)) return failure;
        gencp::Ack ack = gencp::ParseAck(packet, expect);
        switch (ack.check.state) {
            case gencp::AckState::Done:
                return RegisterResult::Success(std::move(ack.data));
            case gencp::AckState::Pending:
                if (++pending > kMaxPending) {
                    return Failed("the camera asked for more time " + std::to_string(pending) +
                                  " times");
                }
                if (pending == 1) {
                    pendingEnd = std::chrono::steady_clock::now() +
                                 std::chrono::milliseconds(timing_.pendingTotalMs);
                }
                {
                    const int asked =
                        std::max<int>(timing_.packetTimeoutMs, ack.check.pendingTimeoutMs);
                    headerWaitMs = PendingWaitMs(asked, pendingEnd);
                    pendingOver = headerWaitMs < asked;
                }
                if (headerWaitMs <= 0) {
                    return RegisterResult::Failure(ExchangeStatus::TimedOut, PendingOverText());
                }
                continue;
            case gencp::AckState::Refused:
            case gencp::AckState::Invalid:
                return Failed(ack.check.reason);
        }
    }
    return Failed("no acknowledgement of this request among the late ones");
}

bool SerialRegisterPort::ReceiveData(gencp::Bytes& packet, std::size_t length,
                                     RegisterResult& failure) {
    if (length == 0) return true;
    const std::size_t at = packet.size();
    packet.resize(at + length);
    const int waitMs = DataWaitMs(length);
    const ExchangeResult data =
        exchange_.ReceiveBytes(std::span(packet).subspan(at, length), waitMs);
    if (data) return true;
    failure =
        Failed(data, "the acknowledgement's " + std::to_string(length) +
                         " data bytes did not arrive within " + std::to_string(waitMs) + " ms");
    return false;
}

bool SerialRegisterPort::IsStale(const gencp::Header& header,
                                 const gencp::AckExpectation& expect) const {
    const auto behind = static_cast<std::uint16_t>(expect.requestId - header.requestId);
    return header.preamble == gencp::kPreamble && IsAcknowledge(header.command) && behind > 0 &&
           behind <= kStaleWindow;
}

std::string SerialRegisterPort::PendingOverText() const {
    return "the camera kept asking for more time; gave up " + DurationText(timing_.pendingTotalMs) +
           " after its first request for it";
}

int SerialRegisterPort::DataWaitMs(std::size_t bytes) const {
    const std::uint32_t baud = std::max<std::uint32_t>(timing_.baud, 1);
    const auto lineMs =
        static_cast<long long>(bytes) * kBitsPerByte * 1000 / static_cast<long long>(baud) + 1;
    return static_cast<int>(std::min<long long>(timing_.packetTimeoutMs + lineMs, 600000));
}

}  // namespace vk
