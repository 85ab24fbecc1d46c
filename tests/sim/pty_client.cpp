#include "sim/pty_client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace vk::sim::test {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

}  // namespace

PtyClient::PtyClient(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        return;
    }
    termios tio{};
    if (tcgetattr(fd_, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd_, TCSANOW, &tio);
    }
}

PtyClient::~PtyClient() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool PtyClient::Send(const std::string& bytes) {
    std::size_t done = 0;
    const Clock::time_point deadline = Clock::now() + kPatience;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, MillisecondsUntil(deadline)) <= 0) {
            return false;
        }
    }
    return true;
}

std::string PtyClient::ReadBytes(std::size_t count, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (pending_.size() < count) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsUntil(deadline)) <= 0 || (p.revents & POLLIN) == 0) {
            break;
        }
        std::array<char, 512> buffer{};
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n <= 0) {
            break;
        }
        pending_.append(buffer.data(), static_cast<std::size_t>(n));
    }
    const std::string got = pending_.substr(0, count);
    pending_.erase(0, got.size());
    return got;
}

std::optional<std::string> PtyClient::ReadLine(std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    std::size_t lf = pending_.find('\n');
    while (lf == std::string::npos) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsUntil(deadline)) <= 0 || (p.revents & POLLIN) == 0) {
            return std::nullopt;
        }
        std::array<char, 512> buffer{};
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n <= 0) {
            return std::nullopt;
        }
        pending_.append(buffer.data(), static_cast<std::size_t>(n));
        lf = pending_.find('\n');
    }
    std::string line = pending_.substr(0, lf + 1);
    pending_.erase(0, lf + 1);
    return line;
}

std::string PtyClient::Ask(const std::string& line) {
    if (!Send(line + "\r\n")) {
        return "<send failed>";
    }
    std::optional<std::string> answer = ReadLine();
    if (!answer) {
        return "<no answer>";
    }
    if (answer->size() >= 2 && answer->ends_with("\r\n")) {
        answer->resize(answer->size() - 2);
    }
    return *answer;
}

bool PtyClient::WaitForHangUp(std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, MillisecondsUntil(deadline)) <= 0) {
            return false;
        }
        if ((p.revents & (POLLHUP | POLLERR)) != 0) {
            return true;
        }
        std::array<char, 512> buffer{};
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n < 0 && errno == EIO) {
            return true;
        }
        if (n == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace vk::sim::test
