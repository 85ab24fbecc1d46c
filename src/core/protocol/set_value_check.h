#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/protocol/command_table.h"

namespace vk {

class ControlTable;

// What a set from a script (the CLI's `set`, the Python module) may send for a command, decided
// before anything goes out.
struct SetValueCheck {
    std::string refusal;                 // empty when the value may be sent
    std::optional<std::int32_t> number;  // a number: sent as an integer, else the text as typed
};

// A parameter of a page takes a whole number within its row's range, and a factory row
// only with --factory; a table entry (LUT "index,value") and a command no page shows go as
// typed when they are no number, for the camera to judge. No value may hold a control
// character.
SetValueCheck CheckSetValue(const ControlTable& table, CommandId id, const std::string& text,
                            bool factoryMode);

}  // namespace vk
