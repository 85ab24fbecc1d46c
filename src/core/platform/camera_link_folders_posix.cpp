#include "core/platform/camera_link_folders.h"

namespace vk {

// The Linux libraries have no standard place of their own: the system's search finds them.
std::vector<CameraLinkFolder> CameraLinkFolders() {
    return {};
}

}  // namespace vk
