#pragma once

#include <optional>
#include <string>

namespace vk::sim {

// The whole state file; nothing when it does not exist. False with a reason (naming the
// path) when it cannot be read or is no regular file.
bool ReadTextFile(const std::string& path, std::optional<std::string>& text, std::string* error);

}  // namespace vk::sim
