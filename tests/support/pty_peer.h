#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace vk::test {

// The far end of a pseudo-terminal, for tests that drive the port byte by byte.
class PtyPeer {
public:
    PtyPeer() {
        char name[256] = {};
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&master_, &slave_, name, &raw, nullptr) == 0) path_ = name;
        ::fcntl(master_, F_SETFL, O_NONBLOCK);
    }
    ~PtyPeer() {
        CloseMaster();
        if (slave_ >= 0) ::close(slave_);
    }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& Path() const { return path_; }

    bool Send(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else {
                pollfd p{master_, POLLOUT, 0};
                if (::poll(&p, 1, 2000) <= 0) return false;
            }
        }
        return true;
    }

    // Reads until the text holds `count` bytes or the time runs out.
    std::string Receive(std::size_t count, int timeoutMs = 2000) {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  end - std::chrono::steady_clock::now())
                                  .count();
            pollfd p{master_, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) break;
            char buf[256];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0) got.append(buf, static_cast<std::size_t>(n));
        }
        return got;
    }

    // Reads one line (up to and including LF).
    std::string ReceiveLine(int timeoutMs = 2000) {
        std::string got;
        while (got.empty() || got.back() != '\n') {
            std::string one = Receive(1, timeoutMs);
            if (one.empty()) break;
            got += one;
        }
        return got;
    }

    // Hangs up: the tool's end sees the line go away.
    void HangUp() {
        if (slave_ >= 0) ::close(slave_);
        slave_ = -1;
        CloseMaster();
    }

private:
    void CloseMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace vk::test
