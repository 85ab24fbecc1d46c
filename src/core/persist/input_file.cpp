#include "core/persist/input_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vk {
namespace {

namespace fs = std::filesystem;

InputFile Failed(InputFile::Status status, std::string reason) {
    InputFile file;
    file.status = status;
    file.reason = std::move(reason);
    return file;
}

std::string KindOf(fs::file_type type) {
    switch (type) {
        case fs::file_type::directory:
            return "a folder";
        case fs::file_type::fifo:
            return "a FIFO";
        case fs::file_type::character:
        case fs::file_type::block:
            return "a device";
        case fs::file_type::socket:
            return "a socket";
        case fs::file_type::regular:
        case fs::file_type::not_found:
        case fs::file_type::none:
            return {};
        default:
            return "not a regular file";
    }
}

InputFile TooLarge(std::uintmax_t size, std::uintmax_t maxBytes) {
    return Failed(InputFile::Status::TooLarge, "is too large (" + std::to_string(size) +
                                                   " bytes; at most " + std::to_string(maxBytes) +
                                                   ")");
}

}  // namespace

std::string NonFileKind(const fs::path& path) {
    std::error_code ec;
    return KindOf(fs::status(path, ec).type());
}

InputFile ReadInputFile(const fs::path& path, std::uintmax_t maxBytes) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        return Failed(InputFile::Status::Missing, "does not exist");
    }
    if (const std::string kind = KindOf(status.type()); !kind.empty()) {
        return Failed(InputFile::Status::NotAFile, "is " + kind + ", not a file");
    }
#ifndef _WIN32
    // Checked again on the opened file: the path may have changed since.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Failed(InputFile::Status::CannotRead, std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Failed(InputFile::Status::NotAFile, "is not a regular file");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        ::close(fd);
        return TooLarge(static_cast<std::uintmax_t>(info.st_size), maxBytes);
    }
    InputFile file;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return Failed(InputFile::Status::CannotRead, std::strerror(error));
        }
        if (n == 0) break;
        // A file that grows while it is read is still held to the limit.
        if (file.bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            return TooLarge(file.bytes.size() + static_cast<std::size_t>(n), maxBytes);
        }
        file.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
#else
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return Failed(InputFile::Status::CannotRead, ec.message());
    if (size > maxBytes) return TooLarge(size, maxBytes);
    std::ifstream in(path, std::ios::binary);
    if (!in) return Failed(InputFile::Status::CannotRead, "cannot be opened");
    InputFile file;
    file.bytes.assign(static_cast<std::size_t>(size), '\0');
    in.read(file.bytes.data(), static_cast<std::streamsize>(size));
    file.bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return Failed(InputFile::Status::CannotRead, "cannot be read");
#endif
    file.status = InputFile::Status::Ok;
    return file;
}

}  // namespace vk
