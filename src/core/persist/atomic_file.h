#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vk {

// How a file operation went: the reason, ready to follow the path in a message, when not.
struct FileOutcome {
    bool ok = false;
    std::string reason;

    explicit operator bool() const { return ok; }
    static FileOutcome Done() { return {true, {}}; }
    static FileOutcome Failed(std::string reason) { return {false, std::move(reason)}; }
};

// The file that writing `path` should replace: the last target of a chain of symbolic links
// (which need not exist yet). Refused for a loop of links and for anything that is there
// but is no regular file (a folder, a FIFO, a device), with the reason.
struct WriteTarget {
    std::filesystem::path path;
    FileOutcome outcome;
};
WriteTarget ResolveWriteTarget(const std::filesystem::path& path);

// Every file the programs write goes through here. The bytes go to a temporary file beside
// the target and are renamed over it, so a save that fails half-way leaves the previous file
// as it was. A link stays a link (its target is replaced), the target keeps its permissions,
// and a folder, FIFO or device is refused without being touched.
FileOutcome WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The question asked before any save replaces a file that exists.
inline std::string ReplaceFileQuestion(const std::string& path) {
    return path + "\nThis file already exists.\nReplace existing file?";
}

}  // namespace vk
