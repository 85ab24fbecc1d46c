#include <windows.h>

#include <cstdlib>

#include "core/platform/camera_link_folders.h"

namespace vk {
namespace {

constexpr const char* kValueName = "CLSERIALPATH";
constexpr const char* kKey = "SOFTWARE\\cameralink";

// The folder of the value (a REG_EXPAND_SZ expanded), without a trailing separator; empty
// when there is none.
std::string RegistryFolder() {
    char data[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, kKey, kValueName, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::string path(data);
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

}  // namespace

std::vector<CameraLinkFolder> CameraLinkFolders() {
    std::vector<CameraLinkFolder> folders;
    if (const char* env = std::getenv(kValueName); env && *env) {
        folders.push_back({env, "the environment variable CLSERIALPATH"});
    }
    if (std::string path = RegistryFolder(); !path.empty()) {
        folders.push_back({path, "HKEY_LOCAL_MACHINE\\SOFTWARE\\cameralink\\CLSERIALPATH"});
    }
    return folders;
}

}  // namespace vk
