#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

namespace vk {

// Told of every change of a log; any number may watch one log.
class LineLogObserver {
public:
    virtual ~LineLogObserver() = default;
    virtual void OnLineAdded(const std::string& line) = 0;
    virtual void OnCleared() {}
};

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

    // Lines added since the log was made, dropped and cleared ones included: a view that
    // catches up in batches learns from it how many lines are new.
    std::uint64_t TotalAdded() const { return totalAdded_; }

    void AddObserver(LineLogObserver* observer);
    void RemoveObserver(LineLogObserver* observer);

private:
    std::size_t capacity_;
    Stamp stamp_;
    std::deque<std::string> lines_;
    std::uint64_t totalAdded_ = 0;
    std::vector<LineLogObserver*> observers_;
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
    // A line that could not be written: the log must not claim it went out.
    void TransmitFailed(const std::string& line) { Log("Tx failed: ", line, kNotSent); }
    // Binary traffic, in hex.
    void TransmittedBytes(std::span<const std::uint8_t> bytes, bool sent) {
        Log(sent ? "Tx: " : "Tx failed: ", HexText(bytes), sent ? "" : kNotSent);
    }
    void ReceivedBytes(std::span<const std::uint8_t> bytes) { Log("Rx: ", HexText(bytes)); }

    // "01 0A FF" for the bytes.
    static std::string HexText(std::span<const std::uint8_t> bytes);

private:
    static constexpr const char* kNotSent = "  (not sent)";

    void Log(const char* prefix, const std::string& line, const char* messageSuffix = "") {
        terminal.Add(prefix + line);
        messages.Add(line + messageSuffix);
    }
};

}  // namespace vk
