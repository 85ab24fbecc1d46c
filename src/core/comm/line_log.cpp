#include "comm/line_log.h"

#include <chrono>
#include <cstdio>

namespace vk {

void LineLog::Add(const std::string& text) {
    lines_.push_front(stamp_ == Stamp::None ? text : CurrentLogStamp() + text);
    if (lines_.size() > capacity_) lines_.pop_back();
    if (onAdded) onAdded(lines_.front());
}

void LineLog::Clear() {
    lines_.clear();
    if (onCleared) onCleared();
}

std::string FormatLogStamp(int minute, int second, int millisecond) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%03d  ", minute, second, millisecond);
    return buf;
}

std::string CurrentLogStamp() {
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto ms = duration_cast<milliseconds>(now).count();
    return FormatLogStamp(static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                          static_cast<int>(ms % 1000));
}

}  // namespace vk
