#include "core/protocol/set_value_check.h"

#include <algorithm>
#include <cctype>

#include "core/protocol/control_table.h"
#include "core/protocol/reply_parser.h"

namespace vk {
namespace {

SetValueCheck Refuse(std::string why) {
    return {std::move(why), std::nullopt};
}

std::string RangeText(const ControlEntry& row) {
    return std::to_string(row.minimum) + " to " + std::to_string(row.maximum);
}

}  // namespace

SetValueCheck CheckSetValue(const ControlTable& table, CommandId id, const std::string& text,
                            bool factoryMode) {
    const std::string mnemonic = table.Commands().GetMnemonic(id);
    // A line end inside the value would send a second command to the camera.
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return std::iscntrl(static_cast<unsigned char>(c)); })) {
        return Refuse("the value of " + mnemonic + " holds a control character");
    }
    const ControlId control = table.ControlOf(id);
    const int rowIndex = table.RowOf(control);
    if (rowIndex < 0) {
        // A number for a numeric command goes as one; anything else as typed.
        if (table.Commands().Entry(id).kind != ValueKind::Int) return {};
        return {"", ReadIntValue(text)};
    }
    const ControlEntry& row = table.Row(rowIndex);
    if (row.level == ParamLevel::Factory && !factoryMode) {
        return Refuse(mnemonic + " is a factory parameter: setting it needs --factory");
    }
    if (row.controlKind == ControlKind::Button || row.Has(RowTrait::IndexedEntry)) return {};

    const bool ranged = row.minimum != 0 || row.maximum != 0;
    const std::string takes =
        mnemonic + " takes a whole number" + (ranged ? " from " + RangeText(row) : "");
    const std::optional<std::int32_t> number = ReadIntValue(text);
    if (!number) return Refuse(takes + ", not \"" + text + "\"");
    if (ranged && (*number < row.minimum || *number > row.maximum)) {
        return Refuse(takes + ", not " + text);
    }
    return {"", number};
}

}  // namespace vk
