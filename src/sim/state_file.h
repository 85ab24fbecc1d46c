#pragma once

#include <optional>
#include <string>

namespace vk::sim {

// The whole file; nothing when it does not exist. False with a reason when it cannot be read.
bool ReadTextFile(const std::string& path, std::optional<std::string>& text, std::string* error);

// Writes a temporary file beside `path` and renames it over `path`, so a failed write leaves
// the previous file as it was.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string* error);

}  // namespace vk::sim
