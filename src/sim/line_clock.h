#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace vk::sim {

using Clock = std::chrono::steady_clock;

// One direction of an 8N1 serial line: each byte takes 10 bit times, and bytes follow one
// another. With a speed of 0 the line is infinitely fast.
class LineClock {
public:
    explicit LineClock(std::uint32_t baud);

    Clock::duration ByteTime() const { return byteTime_; }
    bool Paced() const { return byteTime_ != Clock::duration::zero(); }

    // Puts `count` bytes on the line no earlier than `ready`; returns when the first of them
    // starts. Byte i (from 0) has crossed the line at start + (i + 1) * ByteTime().
    Clock::time_point Reserve(Clock::time_point ready, std::size_t count);

    // How many of `count` bytes that started at `start` have crossed the line by `now`.
    std::size_t CrossedBy(Clock::time_point start, std::size_t count, Clock::time_point now) const;
    Clock::time_point CrossingOf(Clock::time_point start, std::size_t index) const {
        return start + byteTime_ * static_cast<Clock::rep>(index + 1);
    }

private:
    Clock::duration byteTime_;
    Clock::time_point free_{};
};

}  // namespace vk::sim
