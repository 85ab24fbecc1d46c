#pragma once

#include <string>
#include <vector>

namespace vk {

// A folder that may hold Camera Link serial libraries, and what named it.
struct CameraLinkFolder {
    std::string path;
    std::string origin;  // "the environment variable CLSERIALPATH", ...
};

// The folders the Camera Link standard names for the grabber makers' serial libraries,
// looked in before the system's own library folders: on Windows the folder in the
// environment variable CLSERIALPATH, then the one in the registry value CLSERIALPATH of
// HKEY_LOCAL_MACHINE\SOFTWARE\cameralink (each when set); none elsewhere.
std::vector<CameraLinkFolder> CameraLinkFolders();

}  // namespace vk
