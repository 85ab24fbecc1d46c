#pragma once

#include <filesystem>
#include <string_view>

namespace vk {

// Writes the file through a temporary file in the same folder and a rename, so a save that
// fails half-way leaves the previous file as it was. False when anything fails.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace vk
