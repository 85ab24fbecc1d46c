#include "sim/line_clock.h"

#include <algorithm>

namespace vk::sim {

namespace {
constexpr std::int64_t kBitsPerByte = 10;  // start bit, 8 data bits, stop bit
}

LineClock::LineClock(std::uint32_t baud)
    : byteTime_(baud == 0 ? Clock::duration::zero()
                          : std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
                                kBitsPerByte * 1'000'000'000 / static_cast<std::int64_t>(baud)))) {}

Clock::time_point LineClock::Reserve(Clock::time_point ready, std::size_t count) {
    const Clock::time_point start = std::max(ready, free_);
    free_ = start + byteTime_ * static_cast<Clock::rep>(count);
    return start;
}

std::size_t LineClock::CrossedBy(Clock::time_point start, std::size_t count,
                                 Clock::time_point now) const {
    if (now < start) {
        return 0;
    }
    if (!Paced()) {
        return count;
    }
    const auto crossed = static_cast<std::size_t>((now - start) / byteTime_);
    return std::min(crossed, count);
}

}  // namespace vk::sim
