#include "sim/line_server.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace vk::sim {
namespace {

timespec Remaining(Clock::time_point until) {
    const auto left = std::max(Clock::duration::zero(), until - Clock::now());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

}  // namespace

LineServer::LineServer(PtyDevice device, std::uint32_t baud, Hooks hooks)
    : device_(std::move(device)), hooks_(std::move(hooks)), rx_(baud), tx_(baud) {}

LineServer::~LineServer() {
    Stop();
}

bool LineServer::Start(std::string* error) {
    std::array<int, 2> fds{};
    if (pipe2(fds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        if (error != nullptr) {
            *error = std::string("cannot make a wake-up pipe: ") + std::strerror(errno);
        }
        return false;
    }
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void LineServer::Stop() {
    if (thread_.joinable()) {
        stop_ = true;
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
        thread_.join();
    }
    for (int* fd : {&wakeRead_, &wakeWrite_}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
    device_.Close();
}

void LineServer::Run() {
#ifdef __linux__
    // Wake when a byte is due, not up to 50 us later: the pacing is finer than the default slack.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    while (!stop_) {
        const Clock::time_point now = Clock::now();
        std::optional<Clock::time_point> wake = WriteDue(now);
        std::optional<Clock::time_point> timerWake;
        const bool quiet = output_.empty() && !splitter_.Partial() && !framer_.Active(now);
        const Outgoing own = hooks_.onTimer(now, quiet, &timerWake);
        if (!own.bytes.empty() || own.hangUp) {
            Send(own, now);
            continue;
        }
        if (timerWake && (!wake || *timerWake < *wake)) {
            wake = timerWake;
        }

        std::array<pollfd, 2> fds{};
        fds[0] = {wakeRead_, POLLIN, 0};
        nfds_t count = 1;
        if (device_.IsOpen()) {
            const short events = static_cast<short>(POLLIN | (waitWritable_ ? POLLOUT : 0));
            fds[1] = {device_.MasterFd(), events, 0};
            count = 2;
        }
        timespec timeout{};
        if (wake) {
            timeout = Remaining(*wake);
        }
        const int ready = ppoll(fds.data(), count, wake ? &timeout : nullptr, nullptr);
        if (ready < 0) {
            continue;  // interrupted; the loop re-checks everything
        }
        if ((fds[0].revents & POLLIN) != 0) {
            std::array<char, 64> drain{};
            while (::read(wakeRead_, drain.data(), drain.size()) > 0) {
            }
        }
        if (count == 2) {
            if ((fds[1].revents & POLLOUT) != 0) {
                waitWritable_ = false;
            }
            if ((fds[1].revents & (POLLIN | POLLERR | POLLHUP)) != 0) {
                ReadInput(Clock::now());
            }
        }
    }
}

void LineServer::ReadInput(Clock::time_point now) {
    std::array<char, 4096> buffer{};
    while (device_.IsOpen()) {
        const ssize_t n = ::read(device_.MasterFd(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        }
        if (n <= 0) {
            HangUp();  // the terminal is gone; nothing more can arrive
            return;
        }
        const auto size = static_cast<std::size_t>(n);
        const Clock::time_point start = rx_.Reserve(now, size);
        for (std::size_t i = 0; i < size && device_.IsOpen(); ++i) {
            const Clock::time_point at = rx_.CrossingOf(start, i);
            if (framer_.Active(at) ||
                (!splitter_.Partial() && PacketFramer::StartsPacket(buffer[i]))) {
                if (framer_.Push(buffer[i], at) && hooks_.onPacket) {
                    Send(hooks_.onPacket(framer_.Packet()), at);
                }
                continue;
            }
            if (splitter_.Push(buffer[i])) {
                const ReceivedLine line{splitter_.Line(), splitter_.TooLong(),
                                        rx_.CrossingOf(start, i)};
                Send(hooks_.onLine(line), line.arrival);
            }
        }
        if (size < buffer.size()) {
            return;
        }
    }
}

void LineServer::Send(const Outgoing& out, Clock::time_point ready) {
    if (out.hangUp) {
        HangUp();
        return;
    }
    if (out.bytes.empty() || !device_.IsOpen()) {
        return;
    }
    const Clock::time_point start = tx_.Reserve(ready + out.delay, out.bytes.size());
    output_.push_back(Pending{out.bytes, 0, start});
    if (!out.later.empty()) {
        const Clock::time_point next =
            tx_.Reserve(ready + out.delay + out.laterDelay, out.later.size());
        output_.push_back(Pending{out.later, 0, next});
    }
}

std::optional<Clock::time_point> LineServer::WriteDue(Clock::time_point now) {
    while (!output_.empty() && device_.IsOpen()) {
        Pending& front = output_.front();
        const std::size_t size = front.bytes.size();
        const std::size_t due = tx_.CrossedBy(front.start, size, now);
        if (due > front.sent && !waitWritable_) {
            const ssize_t n =
                ::write(device_.MasterFd(), front.bytes.data() + front.sent, due - front.sent);
            if (n > 0) {
                front.sent += static_cast<std::size_t>(n);
            } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                waitWritable_ = true;
            } else if (n < 0 && errno != EINTR) {
                HangUp();
                return std::nullopt;
            }
        }
        if (front.sent == size) {
            output_.pop_front();
            continue;
        }
        if (waitWritable_) {
            return std::nullopt;  // poll reports when the tool has read some
        }
        if (due > front.sent) {
            continue;  // a short write; try the rest
        }
        // Wake up about once a millisecond while sending, and exactly when the last byte is due.
        const auto perMs =
            tx_.Paced() ? static_cast<std::size_t>(std::chrono::milliseconds(1) / tx_.ByteTime())
                        : size;
        const std::size_t target = std::min(size, front.sent + std::max<std::size_t>(1, perMs));
        return tx_.CrossingOf(front.start, target - 1);
    }
    return std::nullopt;
}

void LineServer::HangUp() {
    device_.Close();
    output_.clear();
    waitWritable_ = false;
}

}  // namespace vk::sim
