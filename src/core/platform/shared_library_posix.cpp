#include <dirent.h>
#include <dlfcn.h>
#include <glob.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "core/platform/shared_library.h"

namespace vk {

bool SharedLibrary::Load(const std::string& pathOrName) {
    Unload();
    if (pathOrName.empty()) return false;
    // RTLD_NOW: a library with unresolved symbols fails here, not in the middle of a call.
    handle_ = ::dlopen(pathOrName.c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle_ != nullptr;
}

void SharedLibrary::Unload() {
    if (handle_) ::dlclose(handle_);
    handle_ = nullptr;
}

void* SharedLibrary::Symbol(const char* name) const {
    return handle_ ? ::dlsym(handle_, name) : nullptr;
}

std::string SharedLibrary::FileName(const std::string& stem) {
    return "lib" + stem + ".so";
}

std::vector<std::string> SharedLibrary::SystemDirectories() {
    std::vector<std::string> candidates = {"/usr/local/lib", "/usr/local/lib64"};
    glob_t g{};
    if (::glob("/usr/lib/*-linux-gnu*", GLOB_ONLYDIR, nullptr, &g) == 0) {
        candidates.insert(candidates.end(), g.gl_pathv, g.gl_pathv + g.gl_pathc);
    }
    ::globfree(&g);
    for (const char* d : {"/usr/lib64", "/usr/lib", "/lib64", "/lib"})
        candidates.push_back(d);

    // /lib is often a link to /usr/lib: list each real directory once.
    std::vector<std::string> dirs;
    std::vector<std::filesystem::path> seen;
    for (const auto& c : candidates) {
        std::error_code ec;
        const auto real = std::filesystem::canonical(c, ec);
        if (ec || !std::filesystem::is_directory(real, ec)) continue;
        if (std::find(seen.begin(), seen.end(), real) != seen.end()) continue;
        seen.push_back(real);
        dirs.push_back(c);
    }
    return dirs;
}

std::vector<std::string> SharedLibrary::FindFiles(const std::string& directory,
                                                  const std::string& prefix,
                                                  const std::string& suffix) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < prefix.size() + suffix.size() || !name.starts_with(prefix) ||
            !name.ends_with(suffix)) {
            continue;
        }
        struct stat st {};
        if (::stat(JoinPath(directory, name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            names.push_back(name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string SharedLibrary::JoinPath(const std::string& directory, const std::string& name) {
    if (directory.empty() || directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

}  // namespace vk
