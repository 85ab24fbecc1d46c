#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace vk::sim::test {

// The tool's end of the simulated camera's line: the slave device opened raw.
class PtyClient {
public:
    explicit PtyClient(const std::string& path);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    bool Send(const std::string& bytes);
    // Bytes up to and including the next LF; nothing when none came within the time.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = kPatience);
    // Exactly `count` bytes, or fewer when the time ran out.
    std::string ReadBytes(std::size_t count, std::chrono::milliseconds timeout = kPatience);
    // Sends a line with CR LF and returns its answer without CR LF.
    std::string Ask(const std::string& line);
    // True when the line reports a hang-up (or error) before the time runs out.
    bool WaitForHangUp(std::chrono::milliseconds timeout = kPatience);

    static constexpr std::chrono::milliseconds kPatience{5000};

private:
    int fd_ = -1;
    std::string pending_;
};

}  // namespace vk::sim::test
