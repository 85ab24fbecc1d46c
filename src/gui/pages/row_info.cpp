#include "gui/pages/row_info.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vk::gui {

const ControlEntry* RowOfControl(int controlId) {
    for (const ControlEntry& row : ControlRows()) {
        if (row.controlId == static_cast<ControlId>(controlId)) return &row;
    }
    return nullptr;
}

std::string MnemonicOf(const ControlEntry& row) {
    const auto& mnemonics = CommandTable::Mnemonics();
    if (row.commandId < 0 || static_cast<std::size_t>(row.commandId) >= mnemonics.size()) {
        return {};
    }
    return std::string(mnemonics[static_cast<std::size_t>(row.commandId)]);
}

std::string RangeText(const ControlEntry& row) {
    if (row.minimum == 0 && row.maximum == 0) return {};
    return std::to_string(row.minimum) + " to " + std::to_string(row.maximum);
}

}  // namespace vk::gui
