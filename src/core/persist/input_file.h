#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vk {

// A whole input file. Opening never waits (a FIFO with no writer would block an ordinary
// open for ever), and only a regular file is read.
struct InputFile {
    enum class Status { Ok, Missing, NotAFile, TooLarge, CannotRead };
    Status status = Status::CannotRead;
    std::string bytes;
    std::string reason;  // for every status but Ok

    bool Ok() const { return status == Status::Ok; }
};

InputFile ReadInputFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

// "a folder", "a FIFO", "a device", ... for a path that exists but is no regular file;
// empty for a regular file or nothing.
std::string NonFileKind(const std::filesystem::path& path);

}  // namespace vk
