#include "sim/state_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "sim/system_error.h"

namespace vk::sim {

bool ReadTextFile(const std::string& path, std::optional<std::string>& text, std::string* error) {
    text.reset();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT) {
            return true;
        }
        return FailWithErrno(error, "cannot read " + path);
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        return FailWithErrno(error, "cannot read " + path);
    }
    text = content.str();
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string* error) {
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return FailWithErrno(error, "cannot write " + temporary);
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const bool result = FailWithErrno(error, "cannot write " + temporary);
            ::close(fd);
            ::unlink(temporary.c_str());
            return result;
        }
        done += static_cast<std::size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced) {
        const bool result = FailWithErrno(error, "cannot write " + temporary);
        ::unlink(temporary.c_str());
        return result;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const bool result = FailWithErrno(error, "cannot replace " + path);
        ::unlink(temporary.c_str());
        return result;
    }
    return true;
}

}  // namespace vk::sim
