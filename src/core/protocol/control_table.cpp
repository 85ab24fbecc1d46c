#include "core/protocol/control_table.h"

#include "core/protocol/control_rows.h"

namespace vk {
namespace {

// The named controls share the rows' id space: a name must not stand for a row, nor two
// names for one control.
consteval bool NamesAreApart() {
    for (const ControlName& name : controls::kAll) {
        for (const ControlEntry& row : kControlRows) {
            if (static_cast<int>(row.controlId) == name.id) return false;
        }
        int same = 0;
        for (const ControlName& other : controls::kAll)
            same += other.id == name.id ? 1 : 0;
        if (same != 1) return false;
    }
    return true;
}
static_assert(NamesAreApart());

// Each row has its own control id and a command of the table; only push buttons belong to
// neither mode.
consteval bool RowsAreSound() {
    for (std::size_t i = 0; i < kControlRows.size(); ++i) {
        const ControlEntry& row = kControlRows[i];
        if (row.commandId < 0 || static_cast<std::size_t>(row.commandId) >= kMnemonics.size())
            return false;
        if (row.level == ParamLevel::None && row.controlKind != ControlKind::Button) return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (kControlRows[j].controlId == row.controlId) return false;
        }
    }
    return true;
}
static_assert(RowsAreSound());

}  // namespace

std::span<const ControlEntry> ControlRows() {
    return kControlRows;
}

ControlTable::ControlTable(const CommandTable& commands) : commands_(commands) {
    for (int i = 0; i < kRowCount; ++i) {
        if (!IsTransferable(i)) continue;
        ++transferable_;
        if (Row(i).level == ParamLevel::User) ++userTransferable_;
    }
}

int ControlTable::RowOf(ControlId id) const {
    for (int i = 0; i < kRowCount; ++i) {
        if (Row(i).controlId == id) return i;
    }
    return -1;
}

int ControlTable::RowOfCommand(CommandId id) const {
    for (int i = 0; i < kRowCount; ++i) {
        if (Row(i).commandId == id) return i;
    }
    return -1;
}

CommandId ControlTable::CommandOf(ControlId id) const {
    const int row = RowOf(id);
    return row >= 0 ? Row(row).commandId : kNoCommand;
}

ControlId ControlTable::ControlOf(CommandId id) const {
    const int row = RowOfCommand(id);
    return row >= 0 ? Row(row).controlId : kNoControl;
}

bool ControlTable::InSettingFile(ControlId id) const {
    const int row = RowOf(id);
    return row >= 0 && Row(row).inSettingFile;
}

std::optional<ControlTable::ValueRange> ControlTable::Range(ControlId id) const {
    const int row = RowOf(id);
    if (row < 0) return std::nullopt;
    return ValueRange{Row(row).minimum, Row(row).maximum};
}

bool ControlTable::IsFactoryParameter(ControlId id) const {
    const int row = RowOf(id);
    return row >= 0 && Row(row).level == ParamLevel::Factory;
}

bool ControlTable::IsTransferable(int row) const {
    if (row < 0 || row >= kRowCount) return false;
    const ControlEntry& entry = Row(row);
    return entry.controlKind != ControlKind::Button && !entry.Has(RowTrait::NotTransferable);
}

int ControlTable::CountTransferable() const {
    return transferable_;
}

int ControlTable::CountUserTransferable() const {
    return userTransferable_;
}

}  // namespace vk
