#include "core/protocol/control_table.h"

#include <algorithm>

namespace vk {

ControlTable::ControlTable(const CommandTable& commands)
    : commands_(commands), rows_(InitialControlRows().begin(), InitialControlRows().end()) {
    for (int i = 0; i < kRowCount; ++i) {
        if (!IsTransferable(i)) continue;
        ++transferable_;
        if (Row(i).level == ParamLevel::User) ++userTransferable_;
    }
}

std::optional<std::size_t> ControlTable::FindControl(ControlId id) const {
    for (std::size_t i = 0; rows_[i].controlId != kEndControlId; ++i) {
        if (rows_[i].controlId == id) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> ControlTable::FindCommand(CommandId id) const {
    for (std::size_t i = 0; rows_[i].controlId != kEndControlId; ++i) {
        if (rows_[i].commandId == id) return i;
    }
    return std::nullopt;
}

bool ControlTable::SetPageValue(ControlId id, std::int32_t value) {
    const auto row = FindControl(id);
    if (row) rows_[*row].value = value;
    return row.has_value();
}

bool ControlTable::RecordCameraValue(ControlId id, std::int32_t value) {
    const auto row = FindControl(id);
    if (row) rows_[*row].value = rows_[*row].cameraValue = value;
    return row.has_value();
}

std::int32_t ControlTable::CameraValue(ControlId id) const {
    const auto row = FindControl(id);
    return row ? rows_[*row].cameraValue : kFailed;
}

CommandId ControlTable::CommandOf(ControlId id) const {
    const auto row = FindControl(id);
    return row ? rows_[*row].commandId : kNoCommand;
}

int ControlTable::RowOf(ControlId id) const {
    const auto row = FindControl(id);
    return row ? static_cast<int>(*row) : -1;
}

ControlId ControlTable::ControlOf(CommandId id) const {
    const auto row = FindCommand(id);
    return row ? rows_[*row].controlId : kEndControlId;
}

bool ControlTable::SetInSettingFile(CommandId id, std::uint32_t flag) {
    // Anything but 0 or 1 would be taken for "in the file" by some readers and not by others.
    const auto row = FindCommand(id);
    if (flag > 1 || !row) return false;
    rows_[*row].inSettingFile = flag;
    return true;
}

std::uint32_t ControlTable::InSettingFile(ControlId id) const {
    const auto row = FindControl(id);
    return row ? rows_[*row].inSettingFile : 0;
}

std::optional<ControlTable::ValueRange> ControlTable::Range(ControlId id) const {
    const auto row = FindControl(id);
    if (!row) return std::nullopt;
    return ValueRange{rows_[*row].minimum, rows_[*row].maximum};
}

std::uint32_t ControlTable::RangeMode(ControlId id) const {
    const auto row = FindControl(id);
    return row ? rows_[*row].rangeMode : 0xFFFFFFFF;
}

bool ControlTable::IsFactoryParameter(ControlId id) const {
    const auto row = FindControl(id);
    return row && rows_[*row].level == ParamLevel::Factory;
}

void ControlTable::CommitAll() {
    for (auto& row : rows_)
        row.cameraValue = row.value;
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
