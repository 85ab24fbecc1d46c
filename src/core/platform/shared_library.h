#pragma once

#include <string>
#include <vector>

namespace vk {

// A dynamic library loaded at run time (dlopen / LoadLibrary). The platform part lives in
// shared_library_posix.cpp / shared_library_win32.cpp.
class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary() { Unload(); }
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // A path with a directory loads that file; a bare file name goes through the
    // platform's ordinary search order. Unloads what was loaded before.
    bool Load(const std::string& pathOrName);
    void Unload();
    bool IsLoaded() const { return handle_ != nullptr; }
    // Null when the library is not loaded or does not export the name.
    void* Symbol(const char* name) const;

    // "lib<stem>.so" on POSIX, "<stem>.dll" on Windows.
    static std::string FileName(const std::string& stem);
    // Where the system keeps its shared libraries: the system directory on Windows, the
    // usual library directories elsewhere (those that exist).
    static std::vector<std::string> SystemDirectories();
    // Names (without directory) of the files in `directory` that start with `prefix` and
    // end with `suffix`, sorted; case-insensitive where the file system is.
    static std::vector<std::string> FindFiles(const std::string& directory,
                                              const std::string& prefix, const std::string& suffix);
    static std::string JoinPath(const std::string& directory, const std::string& name);

private:
    void* handle_ = nullptr;
};

}  // namespace vk
