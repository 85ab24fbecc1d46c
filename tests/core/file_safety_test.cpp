#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/persist/atomic_file.h"
#include "core/persist/input_file.h"
#include "support/temp_dir.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode;
}

// Every kind of output a user may name: what the write does to it.
TEST(FileSafety, OutputsAreWrittenThroughLinksAndOnlyIntoRegularFiles) {
    test::TempDir dir;
    const std::string file = dir / "file", closed = dir / "closed", link = dir / "link",
                      dangling = dir / "dangling", fifo = dir / "fifo", null = dir / "null",
                      folder = dir / "folder", loop = dir / "loop";
    test::WriteFile(file, "old");
    test::WriteFile(closed, "old");
    ::chmod(closed.c_str(), 0600);
    fs::create_symlink(file, link);
    fs::create_symlink("made-by-write", dangling);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink("/dev/null", null);
    fs::create_directory(folder);
    fs::create_symlink("loop", loop);

    const struct {
        std::string path;
        std::string reason;  // empty: written
    } cases[] = {
        {dir / "new", ""},
        {closed, ""},
        {link, ""},
        {dangling, ""},
        {fifo, "is a FIFO, not a file; nothing was written"},
        {null, "is a device, not a file; nothing was written"},
        {folder, "is a folder, not a file; nothing was written"},
        {loop, "is a loop of symbolic links"},
    };
    for (const auto& c : cases) {
        const FileOutcome written = WriteFileAtomically(c.path, "new");
        EXPECT_EQ(written.ok, c.reason.empty()) << c.path;
        EXPECT_EQ(written.reason, c.reason) << c.path;
        if (written) {
            EXPECT_EQ(test::ReadFile(c.path), "new") << c.path;
        }
    }
    EXPECT_EQ(ModeOf(closed) & 07777, 0600u);
    EXPECT_TRUE(S_ISLNK(ModeOf(link)));
    EXPECT_EQ(test::ReadFile(file), "new");
    EXPECT_TRUE(S_ISLNK(ModeOf(dangling)));
    EXPECT_EQ(test::ReadFile(dir / "made-by-write"), "new");
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
    EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null")));
    EXPECT_TRUE(fs::is_empty(folder));
    // No temporary file stays behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 10);
}

// Inputs are opened without waiting, so a FIFO with no writer is refused, not waited on.
TEST(FileSafety, OnlyRegularFilesAreReadAndWithinTheirLimit) {
    test::TempDir dir;
    const std::string fifo = dir / "fifo", zero = dir / "zero", file = dir / "file";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", zero);
    test::WriteFile(file, "12345");
    const struct {
        std::string path;
        std::uintmax_t limit;
        InputFile::Status status;
        std::string reason;
    } cases[] = {
        {file, 5, InputFile::Status::Ok, ""},
        {file, 4, InputFile::Status::TooLarge, "is too large (5 bytes; at most 4)"},
        {fifo, 100, InputFile::Status::NotAFile, "is a FIFO, not a file"},
        {zero, 100, InputFile::Status::NotAFile, "is a device, not a file"},
        {dir.Path().string(), 100, InputFile::Status::NotAFile, "is a folder, not a file"},
        {dir / "absent", 100, InputFile::Status::Missing, "does not exist"},
    };
    for (const auto& c : cases) {
        const InputFile read = ReadInputFile(c.path, c.limit);
        EXPECT_EQ(read.status, c.status) << c.path;
        EXPECT_EQ(read.reason, c.reason) << c.path;
    }
    EXPECT_EQ(ReadInputFile(file, 5).bytes, "12345");
}

}  // namespace
}  // namespace vk
