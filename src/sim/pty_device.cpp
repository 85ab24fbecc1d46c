#include "sim/pty_device.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "sim/system_error.h"

namespace vk::sim {

PtyDevice::PtyDevice(PtyDevice&& other) noexcept
    : master_(std::exchange(other.master_, -1)),
      slave_(std::exchange(other.slave_, -1)),
      slavePath_(std::move(other.slavePath_)) {}

PtyDevice& PtyDevice::operator=(PtyDevice&& other) noexcept {
    if (this != &other) {
        Close();
        master_ = std::exchange(other.master_, -1);
        slave_ = std::exchange(other.slave_, -1);
        slavePath_ = std::move(other.slavePath_);
    }
    return *this;
}

bool PtyDevice::Open(std::string* error) {
    Close();
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) {
        return FailWithErrno(error, "cannot open a pseudo-terminal");
    }
    std::array<char, 128> name{};
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 ||
        ptsname_r(master_, name.data(), name.size()) != 0) {
        const bool result = FailWithErrno(error, "cannot prepare the pseudo-terminal");
        Close();
        return result;
    }
    slavePath_ = name.data();
    slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        const bool result = FailWithErrno(error, "cannot open " + slavePath_);
        Close();
        return result;
    }
    termios tio{};
    if (tcgetattr(slave_, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(slave_, TCSANOW, &tio);
    }
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
        const bool result = FailWithErrno(error, "cannot make the pseudo-terminal non-blocking");
        Close();
        return result;
    }
    return true;
}

void PtyDevice::Close() {
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

bool DeviceLink::Make(const std::string& linkPath, const std::string& target, std::string* error) {
    Remove();
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        if (error != nullptr) {
            *error = linkPath + " exists and is not a symbolic link";
        }
        return false;
    }
    // Made under a temporary name and renamed over the old link, so the path is never missing.
    const std::string temporary = linkPath + ".tmp" + std::to_string(getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0) {
        return FailWithErrno(error, "cannot make the link " + linkPath);
    }
    if (std::rename(temporary.c_str(), linkPath.c_str()) != 0) {
        const bool result = FailWithErrno(error, "cannot make the link " + linkPath);
        ::unlink(temporary.c_str());
        return result;
    }
    link_ = linkPath;
    target_ = target;
    return true;
}

void DeviceLink::Remove() {
    if (link_.empty()) {
        return;
    }
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink(link_.c_str(), buffer.data(), buffer.size() - 1);
    if (n >= 0 && std::string(buffer.data(), static_cast<std::size_t>(n)) == target_) {
        ::unlink(link_.c_str());
    }
    link_.clear();
    target_.clear();
}

}  // namespace vk::sim
