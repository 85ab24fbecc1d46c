#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>

namespace vk::test {

// One end of a pseudo-terminal, for tests that drive a line byte by byte: either a fresh
// pair whose far end a port opens by Path(), or the tool's end of an existing device.
class PtyPeer {
public:
    PtyPeer() {
        char name[256] = {};
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&fd_, &slave_, name, &raw, nullptr) == 0) path_ = name;
        ::fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    // Opens the device at `path` raw, as the tool does.
    explicit PtyPeer(const std::string& path) : path_(path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios tio{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(fd_, TCSANOW, &tio);
        }
    }
    ~PtyPeer() { HangUp(); }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& Path() const { return path_; }
    bool IsOpen() const { return fd_ >= 0; }

    bool Send(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return false;
            } else {
                pollfd p{fd_, POLLOUT, 0};
                if (::poll(&p, 1, 2000) <= 0) return false;
            }
        }
        return true;
    }

    // Exactly `count` bytes, or fewer when the time ran out.
    std::string Receive(std::size_t count, int timeoutMs = 2000) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (pending_.size() < count && Fill(end)) {
        }
        const std::string got = pending_.substr(0, count);
        pending_.erase(0, got.size());
        return got;
    }

    // One line up to and including its LF; empty when none came in time.
    std::string ReceiveLine(int timeoutMs = 2000) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (pending_.find('\n') == std::string::npos) {
            if (!Fill(end)) return {};
        }
        return Receive(pending_.find('\n') + 1);
    }

    // Sends a line with CR LF and returns its answer without CR LF.
    std::string Ask(const std::string& line, int timeoutMs = 5000) {
        if (!Send(line + "\r\n")) return "<send failed>";
        std::string answer = ReceiveLine(timeoutMs);
        if (answer.empty()) return "<no answer>";
        answer.resize(answer.size() - (answer.ends_with("\r\n") ? 2 : 1));
        return answer;
    }

    // True when the far end hangs up (or the line fails) before the time runs out.
    bool WaitForHangUp(int timeoutMs = 5000) {
        const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, MsUntil(end)) <= 0) return false;
            if ((p.revents & (POLLHUP | POLLERR)) != 0) return true;
            char buf[256];
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n == 0 || (n < 0 && errno == EIO)) return true;
        }
        return false;
    }

    // Hangs up: the other end sees the line go away.
    void HangUp() {
        if (slave_ >= 0) ::close(slave_);
        if (fd_ >= 0) ::close(fd_);
        slave_ = fd_ = -1;
    }

private:
    using Clock = std::chrono::steady_clock;

    static int MsUntil(Clock::time_point end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
    }
    // Appends what one read brings; false when nothing came before `end`.
    bool Fill(Clock::time_point end) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, MsUntil(end)) <= 0 || (p.revents & POLLIN) == 0) return false;
        char buf[512];
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n <= 0) return false;
        pending_.append(buf, static_cast<std::size_t>(n));
        return true;
    }

    int fd_ = -1;
    int slave_ = -1;
    std::string path_;
    std::string pending_;  // bytes read, not yet handed out
};

}  // namespace vk::test
