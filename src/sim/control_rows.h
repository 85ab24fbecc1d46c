#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vk::sim {

// What the camera takes from one row of the tool's control table: whether the command is an
// action (push button) or a stored value, its accepted range and its default.
struct ControlRow {
    std::string_view mnemonic;
    bool button = false;
    bool hasRange = false;  // false where the row gives no range (minimum = maximum = 0)
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t defaultValue = 0;
};

// Every row in table order; a command with two rows appears twice.
std::vector<ControlRow> ControlRows();

}  // namespace vk::sim
