#include "sim/packet_framer.h"

#include "core/genicam/gencp.h"

namespace vk::sim {

bool PacketFramer::Active(Clock::time_point now) const {
    return !pending_.empty() && now - last_ < kStaleAfter;
}

bool PacketFramer::Push(char byte, Clock::time_point at) {
    if (!Active(at)) pending_.clear();
    last_ = at;
    pending_.push_back(byte);
    // The second byte of the preamble is 0x00; anything else was not a packet.
    if (pending_.size() == 2 && pending_[1] != 0x00) {
        pending_.clear();
        return false;
    }
    if (pending_.size() < gencp::kHeaderSize) return false;
    const auto* b = reinterpret_cast<const unsigned char*>(pending_.data());
    const std::size_t length = static_cast<std::size_t>((b[12] << 8) | b[13]);
    if (pending_.size() < gencp::kHeaderSize + length) return false;
    packet_.swap(pending_);
    pending_.clear();
    return true;
}

}  // namespace vk::sim
