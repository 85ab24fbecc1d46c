#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vk {

// Collects received bytes into lines. A line ends at LF; the CR before it is not part of
// the line, a bare LF gives the line as received. The buffer holds 1024 bytes: a run that
// long without LF is an overflow, and collection starts again from an empty buffer.
class LineReceiver {
public:
    static constexpr std::size_t kBufferSize = 1024;

    enum class Event { None, Line, Overflow };

    // Takes one byte. After Event::Line the line is in TakeLine().
    Event Feed(char c);
    std::string TakeLine() { return std::move(line_); }

    // Bytes of a line not yet ended.
    std::string_view Partial() const { return {buffer_.data(), count_}; }
    void Clear() { count_ = 0; }

private:
    std::array<char, kBufferSize> buffer_{};
    std::size_t count_ = 0;
    std::string line_;
};

}  // namespace vk
