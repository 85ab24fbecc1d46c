#include <windows.h>

#include <algorithm>

#include "core/platform/shared_library.h"

namespace vk {

bool SharedLibrary::Load(const std::string& pathOrName) {
    Unload();
    if (pathOrName.empty()) return false;
    handle_ = ::LoadLibraryA(pathOrName.c_str());
    return handle_ != nullptr;
}

void SharedLibrary::Unload() {
    if (handle_) ::FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

void* SharedLibrary::Symbol(const char* name) const {
    if (!handle_) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string SharedLibrary::FileName(const std::string& stem) {
    return stem + ".dll";
}

std::vector<std::string> SharedLibrary::SystemDirectories() {
    char buffer[1024] = {};
    const UINT length = ::GetSystemDirectoryA(buffer, 1023);
    if (length == 0 || length > 1023) return {};
    return {std::string(buffer, length)};
}

std::vector<std::string> SharedLibrary::FindFiles(const std::string& directory,
                                                  const std::string& prefix,
                                                  const std::string& suffix) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const std::string pattern = JoinPath(directory, prefix + "*" + suffix);
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string SharedLibrary::JoinPath(const std::string& directory, const std::string& name) {
    if (directory.empty() || directory.back() == '\\' || directory.back() == '/') {
        return directory + name;
    }
    return directory + "\\" + name;
}

}  // namespace vk
