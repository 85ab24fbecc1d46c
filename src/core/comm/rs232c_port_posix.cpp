// The serial port on POSIX systems: termios raw mode, a reader thread that waits with
// poll() and is woken through a pipe on close.
#include <fcntl.h>
#include <glob.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <system_error>

#include "core/comm/rs232c_port.h"

namespace vk {

struct Rs232cPort::Platform {
    int fd = -1;
    int wake[2] = {-1, -1};
};

namespace {

constexpr int kWriteTimeoutMs = 20000;

bool ToSpeed(std::uint32_t rate, speed_t& speed) {
    switch (rate) {
        case 1200:
            speed = B1200;
            return true;
        case 2400:
            speed = B2400;
            return true;
        case 4800:
            speed = B4800;
            return true;
        case 9600:
            speed = B9600;
            return true;
        case 19200:
            speed = B19200;
            return true;
        case 38400:
            speed = B38400;
            return true;
        case 57600:
            speed = B57600;
            return true;
        case 115200:
            speed = B115200;
            return true;
        case 230400:
            speed = B230400;
            return true;
        case 460800:
            speed = B460800;
            return true;
        case 921600:
            speed = B921600;
            return true;
        default:
            return false;
    }
}

tcflag_t ToCharSize(int byteSize) {
    switch (byteSize) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// An on-board UART placeholder reports port 0x0; real ones have an address.
bool IsRealUart(const std::string& device) {
    const auto name = device.substr(device.rfind('/') + 1);
    std::ifstream port("/sys/class/tty/" + name + "/port");
    std::string value;
    return port && (port >> value) && value != "0x0" && value != "0x00000000";
}

}  // namespace

Rs232cPort::Rs232cPort() : platform_(std::make_unique<Platform>()) {}

Rs232cPort::~Rs232cPort() {
    Close();
}

bool Rs232cPort::IsOpen() const {
    return platform_->fd >= 0;
}

std::string Rs232cPort::DevicePath(const std::string& portName) {
    // "./cam" and "../cam" are paths like "/dev/ttyUSB0"; a bare name lives under /dev.
    const bool path =
        portName.starts_with('/') || portName.starts_with("./") || portName.starts_with("../");
    return path ? portName : "/dev/" + portName;
}

bool Rs232cPort::OpenDevice(const std::string& portName, std::uint32_t baudRate, int byteSize,
                            int stopBits, int xonXoff, int parityCheck, OpenFailure& failure) {
    auto& p = *platform_;
    // Each failure keeps the call that failed and the system's words for errno.
    auto fail = [&failure](const char* step, int error) {
        failure.step = step;
        failure.reason = std::generic_category().message(error);
        return false;
    };
    const std::string path = DevicePath(portName);
    p.fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (p.fd < 0) {
        const int error = errno;
        failure.inUse = error == EBUSY;
        struct ::stat st {};
        failure.noPermission = (error == EACCES || error == EPERM) &&
                               ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
        return fail("open()", error);
    }
    if (!::isatty(p.fd)) {
        failure.step = "open()";
        failure.reason = path + " is not a serial device.";
        return false;
    }
    // Opening the multiplexer makes a new pseudo-terminal with nobody on its other side.
    if (int number = 0; ::ioctl(p.fd, TIOCGPTN, &number) == 0) {
        failure.step = "open()";
        failure.reason = path + " is a pseudo-terminal master, not a port.";
        return false;
    }
    // Two programs on one line would take each other's replies. The lock goes with the file
    // descriptor, so a program that ends without closing still frees the port.
    if (::flock(p.fd, LOCK_EX | LOCK_NB) != 0) {
        failure.inUse = errno == EWOULDBLOCK;
        return fail("flock()", errno);
    }
    ::ioctl(p.fd, TIOCEXCL);

    termios tio{};
    if (::tcgetattr(p.fd, &tio) != 0) return fail("tcgetattr()", errno);
    speed_t speed{};
    if (!ToSpeed(baudRate, speed)) {
        failure.step = "tcsetattr()";
        failure.reason = "The port cannot run at " + std::to_string(baudRate) + " bit/s.";
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= ToCharSize(byteSize) | CLOCAL | CREAD;
    if (stopBits != 0) tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (xonXoff) tio.c_iflag |= IXON | IXOFF;
    if (parityCheck) tio.c_iflag |= INPCK;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 ||
        ::tcsetattr(p.fd, TCSANOW, &tio) != 0) {
        return fail("tcsetattr()", errno);
    }
    ::tcflush(p.fd, TCIOFLUSH);

    int dtr = TIOCM_DTR;
    ::ioctl(p.fd, TIOCMBIS, &dtr);  // a pseudo-terminal has no DTR line; that is fine

    if (::pipe2(p.wake, O_CLOEXEC | O_NONBLOCK) != 0) return fail("pipe2()", errno);
    return true;
}

void Rs232cPort::WakeReader() {
    const char b = 1;
    [[maybe_unused]] const auto n = ::write(platform_->wake[1], &b, 1);
}

void Rs232cPort::ReleaseDevice() {
    auto& p = *platform_;
    // Exclusive mode belongs to the terminal, not to this descriptor: on a terminal that
    // someone else keeps open (a pseudo-terminal's other side) it would outlive the close.
    if (p.fd >= 0) ::ioctl(p.fd, TIOCNXCL);
    CloseFd(p.fd);
    CloseFd(p.wake[0]);
    CloseFd(p.wake[1]);
}

void Rs232cPort::ReaderLoop() {
    auto& p = *platform_;
    char chunk[ByteRing::kCapacity];
    while (running_) {
        // A full ring leaves further bytes in the driver's queue instead of losing them.
        if (!ring_.WaitForSpace()) break;
        pollfd fds[2] = {{p.fd, POLLIN, 0}, {p.wake[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents) break;
        if (!(fds[0].revents & POLLIN) && (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))) {
            broken_ = true;
            break;
        }
        std::lock_guard lock(lock_);
        const ssize_t n = ::read(p.fd, chunk, ring_.Free());
        if (n > 0) {
            ring_.Write(chunk, static_cast<std::size_t>(n));
            NotifyData();
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            broken_ = true;
            break;
        }
    }
    if (broken_) {
        ring_.Shutdown();
        NotifyData();
    }
}

bool Rs232cPort::WriteDevice(const char* bytes, int length) {
    auto& p = *platform_;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
    int done = 0;
    while (done < length) {
        const ssize_t n = ::write(p.fd, bytes + done, static_cast<std::size_t>(length - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            broken_ = true;
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return false;
        pollfd fd{p.fd, POLLOUT, 0};
        ::poll(&fd, 1, static_cast<int>(left));
    }
    return true;
}

std::vector<std::string> Rs232cPort::PortNames() const {
    std::vector<std::string> names = pinned_;
    auto add = [&names](const std::string& path) {
        if (std::find(names.begin(), names.end(), path) == names.end()) names.push_back(path);
    };
    for (const char* pattern : {"/dev/ttyUSB*", "/dev/ttyACM*", "/dev/ttyAMA*", "/dev/ttyS*"}) {
        glob_t g{};
        if (::glob(pattern, 0, nullptr, &g) == 0) {
            for (std::size_t i = 0; i < g.gl_pathc; ++i) {
                const std::string path = g.gl_pathv[i];
                if (!path.starts_with("/dev/ttyS") || IsRealUart(path)) add(path);
            }
        }
        ::globfree(&g);
    }
    return names;
}

}  // namespace vk
