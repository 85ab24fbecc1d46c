#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "sim/line_clock.h"

namespace vk::sim {

// Collects a GenCP packet that arrives between text lines: it starts with the preamble's
// first byte (0x01, which no text line holds) and ends after the 16-byte header and the
// data length the header announces. A packet left unfinished for a while is dropped, so a
// broken sender cannot keep text lines from being heard.
class PacketFramer {
public:
    static constexpr std::chrono::milliseconds kStaleAfter{1000};

    static bool StartsPacket(char byte) { return byte == 0x01; }

    // Adds one byte that arrived at `at`; true when it completed a packet, then in Packet().
    bool Push(char byte, Clock::time_point at);
    // True while a packet is being collected (and not gone stale by `now`).
    bool Active(Clock::time_point now) const;
    bool Partial() const { return !pending_.empty(); }
    const std::string& Packet() const { return packet_; }

private:
    std::string pending_;
    std::string packet_;
    Clock::time_point last_{};
};

}  // namespace vk::sim
