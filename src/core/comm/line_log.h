#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace vk {

// A bounded list of logged lines, newest first. The terminal log stamps each line; the
// connection window's message list keeps it bare.
class LineLog {
public:
    enum class Stamp { None, MinuteSecondMillis };

    static constexpr std::size_t kTerminalCapacity = 32786;
    static constexpr std::size_t kMessageCapacity = 4096;

    LineLog(std::size_t capacity, Stamp stamp) : capacity_(capacity), stamp_(stamp) {}

    void Add(const std::string& text);
    void Clear();

    std::size_t Size() const { return lines_.size(); }
    // 0 is the newest line.
    const std::string& At(std::size_t i) const { return lines_.at(i); }
    const std::deque<std::string>& Lines() const { return lines_; }

    // Called after a line was added (with the stored text) and after Clear (with nothing).
    std::function<void(const std::string&)> onAdded;
    std::function<void()> onCleared;

private:
    std::size_t capacity_;
    Stamp stamp_;
    std::deque<std::string> lines_;
};

// "%02d:%02d:%03d  " of minute, second and millisecond (UTC); the hour is not shown.
std::string FormatLogStamp(int minute, int second, int millisecond);
std::string CurrentLogStamp();

// The two sinks that every sent and received line goes to.
struct TrafficLogs {
    LineLog terminal{LineLog::kTerminalCapacity, LineLog::Stamp::MinuteSecondMillis};
    LineLog messages{LineLog::kMessageCapacity, LineLog::Stamp::None};

    void Transmitted(const std::string& line) { Log("Tx: ", line); }
    void Received(const std::string& line) { Log("Rx: ", line); }

private:
    void Log(const char* prefix, const std::string& line) {
        terminal.Add(prefix + line);
        messages.Add(line);
    }
};

}  // namespace vk
