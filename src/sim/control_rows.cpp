#include "sim/control_rows.h"

#include "core/protocol/command_table.h"
#include "core/protocol/control_table.h"

namespace vk::sim {

std::vector<ControlRow> ControlRows() {
    const auto& mnemonics = CommandTable::Mnemonics();
    std::vector<ControlRow> rows;
    for (const ControlEntry& entry : vk::ControlRows()) {
        ControlRow row;
        row.mnemonic = mnemonics.at(static_cast<std::size_t>(entry.commandId));
        row.button = entry.controlKind == ControlKind::Button;
        row.hasRange = entry.minimum != 0 || entry.maximum != 0;
        row.minimum = entry.minimum;
        row.maximum = entry.maximum;
        row.defaultValue = entry.defaultValue;
        rows.push_back(row);
    }
    return rows;
}

}  // namespace vk::sim
