#pragma once

#include <cstddef>
#include <string>

namespace vk::sim {

// Collects received bytes into lines ended by LF, dropping the CR before it. A line that
// grows past the limit keeps its first `limit` bytes and is flagged, so a sender that never
// ends its line cannot make the camera grow without bound.
class LineSplitter {
public:
    static constexpr std::size_t kDefaultLimit = 1024;

    explicit LineSplitter(std::size_t limit = kDefaultLimit) : limit_(limit) {}

    // Adds one byte; true when it completed a line, which is then in `line` / `tooLong`.
    bool Push(char byte);

    const std::string& Line() const { return line_; }
    bool TooLong() const { return tooLong_; }
    bool Partial() const { return !pending_.empty() || pendingTooLong_; }

private:
    std::size_t limit_;
    std::string pending_;
    bool pendingTooLong_ = false;
    std::string line_;
    bool tooLong_ = false;
};

}  // namespace vk::sim
