#pragma once

#include <cerrno>
#include <cstring>
#include <string>

namespace vk::sim {

// Fills `error` (when asked for) with what failed and the system's reason; always false.
inline bool FailWithErrno(std::string* error, const std::string& what) {
    if (error != nullptr) *error = what + ": " + std::strerror(errno);
    return false;
}

}  // namespace vk::sim
