#include "sim/state_file.h"

#include "core/persist/input_file.h"

namespace vk::sim {

namespace {
// Four flash areas, ids and three LUTs take a few dozen kilobytes.
constexpr std::uintmax_t kMaxStateFileBytes = 4u << 20;
}  // namespace

bool ReadTextFile(const std::string& path, std::optional<std::string>& text, std::string* error) {
    text.reset();
    InputFile file = ReadInputFile(path, kMaxStateFileBytes);
    if (file.status == InputFile::Status::Missing) return true;
    if (!file.Ok()) {
        if (error) *error = path + ": " + file.reason;
        return false;
    }
    text = std::move(file.bytes);
    return true;
}

}  // namespace vk::sim
