#include "core/persist/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#include "core/persist/input_file.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vk {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;  // where the kernel, too, gives up on a loop

fs::path TemporaryBeside(const fs::path& target) {
    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(std::random_device{}() % 1000000);
    return temporary;
}

#ifndef _WIN32
std::string SystemReason() {
    return std::strerror(errno);
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The temporary file, written and closed with the target's permissions and owner when the
// target exists (a new file gets the ordinary ones).
FileOutcome WriteTemporary(const fs::path& temporary, const fs::path& target,
                           std::string_view bytes) {
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
    if (fd < 0) return FileOutcome::Failed(SystemReason());
    bool ok = true;
    if (replacing) {
        // Another owner is kept where the system allows it (as root); else the file is ours.
        if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, existing.st_uid, existing.st_gid);
        }
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const std::string reason = ok ? std::string() : SystemReason();
    if (::close(fd) != 0 && ok) return FileOutcome::Failed(SystemReason());
    return ok ? FileOutcome::Done() : FileOutcome::Failed(reason);
}
#else
FileOutcome WriteTemporary(const fs::path& temporary, const fs::path& target,
                           std::string_view bytes) {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return FileOutcome::Failed("cannot be created");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) return FileOutcome::Failed("cannot be written");
    out.close();
    std::error_code ec;
    const fs::file_status existing = fs::status(target, ec);
    if (fs::exists(existing)) fs::permissions(temporary, existing.permissions(), ec);
    return FileOutcome::Done();
}
#endif

}  // namespace

WriteTarget ResolveWriteTarget(const fs::path& path) {
    WriteTarget target{path, FileOutcome::Done()};
    std::error_code ec;
    for (int hops = 0; fs::is_symlink(target.path, ec); ++hops) {
        if (hops == kMaxLinkHops) {
            target.outcome = FileOutcome::Failed("is a loop of symbolic links");
            return target;
        }
        const fs::path next = fs::read_symlink(target.path, ec);
        if (ec) {
            target.outcome = FileOutcome::Failed(ec.message());
            return target;
        }
        target.path = next.is_absolute() ? next : target.path.parent_path() / next;
    }
    target.path = target.path.lexically_normal();
    if (const std::string kind = NonFileKind(target.path); !kind.empty()) {
        target.outcome = FileOutcome::Failed("is " + kind + ", not a file; nothing was written");
    }
    return target;
}

FileOutcome WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    const WriteTarget target = ResolveWriteTarget(path);
    if (!target.outcome) return target.outcome;
    const fs::path temporary = TemporaryBeside(target.path);
    FileOutcome written = WriteTemporary(temporary, target.path, bytes);
    std::error_code ec;
    if (written) {
        fs::rename(temporary, target.path, ec);
        if (ec) written = FileOutcome::Failed(ec.message());
    }
    if (!written) fs::remove(temporary, ec);
    return written;
}

}  // namespace vk
