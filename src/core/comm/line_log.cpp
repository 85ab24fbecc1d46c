#include "core/comm/line_log.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace vk {

void LineLog::Add(const std::string& text) {
    lines_.push_front(stamp_ == Stamp::None ? text : CurrentLogStamp() + text);
    if (lines_.size() > capacity_) lines_.pop_back();
    ++totalAdded_;
    // A copy: an observer may stop watching from inside its call.
    const auto observers = observers_;
    for (LineLogObserver* o : observers)
        o->OnLineAdded(lines_.front());
}

void LineLog::Clear() {
    lines_.clear();
    const auto observers = observers_;
    for (LineLogObserver* o : observers)
        o->OnCleared();
}

void LineLog::AddObserver(LineLogObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void LineLog::RemoveObserver(LineLogObserver* observer) {
    std::erase(observers_, observer);
}

std::string TrafficLogs::HexText(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!text.empty()) text += ' ';
        text += kDigits[b >> 4];
        text += kDigits[b & 0xF];
    }
    return text;
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
