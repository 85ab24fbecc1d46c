#include "protocol/control_table.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "protocol/command.h"
#include "ui_port.h"

namespace vk {
namespace {

// Never read or written in bulk: ABA starts an automatic function, the blemish positions
// are table entries rather than single values.
constexpr std::array<std::string_view, 3> kNotTransferable = {"ABA", "BMPXW", "BMPYW"};

std::string Unexpected(const char* operation) {
    return std::string("Unexpected error occurred in ") + operation + "().";
}

}  // namespace

ControlTable::ControlTable(const CommandTable& commands, UiPort& ui)
    : commands_(commands),
      ui_(ui),
      rows_(InitialControlRows().begin(), InitialControlRows().end()) {}

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

void ControlTable::Report(const std::string& text) {
    ui_.ShowMessage(text, "", MessageIcon::Exclamation);
}

bool ControlTable::SetDataValue(ControlId id, std::int32_t value) {
    const auto row = FindControl(id);
    if (!row) {
        Report(Unexpected("SetDataValue"));
        return false;
    }
    rows_[*row].value = value;
    return true;
}

std::int32_t ControlTable::GetDataValue(ControlId id) {
    const auto row = FindControl(id);
    if (!row) {
        Report(Unexpected("GetDataValue"));
        return kFailed;
    }
    return rows_[*row].cameraValue;
}

CommandId ControlTable::ToCmdId(ControlId id) {
    const auto row = FindControl(id);
    if (!row) {
        Report(Unexpected("ToCmdId"));
        return kNoCommand;
    }
    return rows_[*row].commandId;
}

int ControlTable::CtrlId2TblIndex(ControlId id) {
    const auto row = FindControl(id);
    if (!row) {
        Report(Unexpected("CtrlId2TblIndex"));
        return -1;
    }
    return static_cast<int>(*row);
}

ControlId ControlTable::ToCtrlId(CommandId id) {
    const auto row = FindCommand(id);
    if (!row) {
        Report("Unexpected error occurred in ToCtrlId(): Command id is " + std::to_string(id));
        return kEndControlId;
    }
    return rows_[*row].controlId;
}

bool ControlTable::SetMasterFileCommand(CommandId id, std::uint32_t flag) {
    // Anything but 0 or 1 would be taken for "in the file" by some readers and not by others.
    if (flag > 1) {
        Report("Invalid Parameter in SetMasterFileCommand().");
        return false;
    }
    const auto row = FindCommand(id);
    if (!row) {
        Report(Unexpected("SetMasterFileCommand"));
        return false;
    }
    rows_[*row].inSettingFile = flag;
    return true;
}

bool ControlTable::GetRange(ControlId id, std::int32_t& minimum, std::int32_t& maximum) {
    const int row = CtrlId2TblIndex(id);
    if (row < 0) return false;
    minimum = rows_[static_cast<std::size_t>(row)].minimum;
    maximum = rows_[static_cast<std::size_t>(row)].maximum;
    return true;
}

std::uint32_t ControlTable::GetRangeMode(ControlId id) {
    const int row = CtrlId2TblIndex(id);
    if (row < 0) return 0xFFFFFFFF;
    return rows_[static_cast<std::size_t>(row)].rangeMode;
}

std::uint32_t ControlTable::GetMasterFileFlag(ControlId id) const {
    const auto row = FindControl(id);
    return row ? rows_[*row].inSettingFile : 0;
}

bool ControlTable::IsFactoryParam(ControlId id) {
    const auto row = FindControl(id);
    if (!row) {
        char text[128];
        std::snprintf(text, sizeof text,
                      "ERROR: IsFactoryParam(): Control id \"%d: 0x%x\" is not registered in "
                      "database table",
                      static_cast<int>(id), id);
        Report(text);
        return false;
    }
    return rows_[*row].level == ParamLevel::Factory;
}

void ControlTable::CommitAll() {
    for (auto& row : rows_)
        row.cameraValue = row.value;
}

void ControlTable::RevertFrom(int fromRow) {
    for (int i = std::max(fromRow, 0); i < kRowCount; ++i) {
        rows_[static_cast<std::size_t>(i)].value = rows_[static_cast<std::size_t>(i)].cameraValue;
    }
}

bool ControlTable::IsTransferable(int row) const {
    if (row < 0 || row >= kRowCount) return false;
    const ControlEntry& entry = Row(row);
    if (entry.controlKind == ControlKind::Button) return false;
    const std::string mnemonic = commands_.GetMnemonic(entry.commandId);
    return std::find(kNotTransferable.begin(), kNotTransferable.end(), mnemonic) ==
           kNotTransferable.end();
}

int ControlTable::CountTransferable() {
    if (!transferable_) {
        int count = 0;
        for (int i = 0; i < kRowCount; ++i)
            count += IsTransferable(i) ? 1 : 0;
        transferable_ = count;
    }
    return *transferable_;
}

int ControlTable::CountUserTransferable() {
    if (!userTransferable_) {
        int count = 0;
        for (int i = 0; i < kRowCount; ++i) {
            count += IsTransferable(i) && Row(i).level == ParamLevel::User ? 1 : 0;
        }
        userTransferable_ = count;
    }
    return *userTransferable_;
}

bool SendChangedValues(Command& command, int timeoutMs) {
    ControlTable& table = command.Controls();
    for (int i = 0; i < table.RowCount(); ++i) {
        const ControlEntry& row = table.Row(i);
        if (row.value == row.cameraValue) continue;
        if (!command.SendSetInt(row.commandId, row.value, timeoutMs)) {
            // The camera refused this value or never saw it, and nothing after it was sent:
            // those rows must go on showing what the camera holds.
            table.RevertFrom(i);
            return false;
        }
    }
    return true;
}

}  // namespace vk
