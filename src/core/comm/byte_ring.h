#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace vk {

// The 1024-byte receive ring between the port's reader thread and the consumer.
// Unread bytes are never overwritten: a full ring makes the producer wait (the bytes stay
// in the driver's queue), so everything arrives in order. A separate count tells a full
// ring from an empty one.
class ByteRing {
public:
    static constexpr std::size_t kCapacity = 1024;
    using Clock = std::chrono::steady_clock;

    // Stores as many bytes as fit; returns how many.
    std::size_t Write(const char* data, std::size_t length);
    // Takes up to maxCount bytes without waiting.
    std::size_t Read(char* buffer, std::size_t maxCount);
    std::size_t Available() const;
    std::size_t Free() const;
    void Reset();

    // Until a byte is waiting, the deadline passes or the ring is shut; true when data waits.
    bool WaitForData(Clock::time_point deadline);
    // Until there is room or the ring is shut; true when there is room.
    bool WaitForSpace();
    // Wakes every waiter for good (until Reopen); used when the port closes or fails.
    void Shutdown();
    void Reopen();

private:
    mutable std::mutex mutex_;
    std::condition_variable dataReady_;
    std::condition_variable spaceReady_;
    std::array<char, kCapacity> bytes_{};
    std::size_t head_ = 0;  // next position the producer fills
    std::size_t tail_ = 0;  // next position the consumer takes
    std::size_t count_ = 0;
    bool shut_ = false;
};

}  // namespace vk
