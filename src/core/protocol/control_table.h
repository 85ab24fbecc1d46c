#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "protocol/command_table.h"

namespace vk {

class Command;
class UiPort;

using ControlId = std::uint32_t;
inline constexpr ControlId kEndControlId = 0xFFFFFFFF;

enum class ControlKind : std::uint32_t {
    Check = 1,   // value 0 or 1
    Radio = 2,   // a group of radio buttons as one value
    Combo = 4,   // drop-down list
    Edit = 6,    // numeric edit with a spin control
    Button = 7,  // triggers an action, holds no value
    End = 8,     // only in the end row
};

enum class ParamLevel : std::uint32_t { None = 0, User = 1, Factory = 2 };

// One parameter shown on a page: which control shows it, which command carries it, how it
// is edited, and its value as last set from the page and as last known in the camera.
struct ControlEntry {
    ControlId controlId;
    CommandId commandId;
    ControlKind controlKind;
    std::uint32_t rangeMode;  // 0: minimum..maximum; 1: one step wider on each side
    ParamLevel level;
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t value;
    std::int32_t cameraValue;
    std::uint32_t inSettingFile;
};

// The rows as the program starts, in table order, the end row last.
std::span<const ControlEntry> InitialControlRows();

// The parameter database. Lookups walk the rows from the first and stop at the end row; the
// first match wins. A miss is a program error: it is shown (exclamation icon) and the
// failure value returned, nothing is changed.
class ControlTable {
public:
    static constexpr int kRowCount = 483;
    static constexpr std::int32_t kFailed = -1;  // 0xFFFFFFFF

    ControlTable(const CommandTable& commands, UiPort& ui);

    // Rows without the end row.
    int RowCount() const { return kRowCount; }
    const ControlEntry& Row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
    std::span<const ControlEntry> Rows() const { return {rows_.data(), rows_.size() - 1}; }
    const CommandTable& Commands() const { return commands_; }

    bool SetDataValue(ControlId id, std::int32_t value);
    // The camera's value of the row; kFailed on a miss.
    std::int32_t GetDataValue(ControlId id);
    CommandId ToCmdId(ControlId id);
    int CtrlId2TblIndex(ControlId id);
    ControlId ToCtrlId(CommandId id);
    bool SetMasterFileCommand(CommandId id, std::uint32_t flag);
    bool GetRange(ControlId id, std::int32_t& minimum, std::int32_t& maximum);
    std::uint32_t GetRangeMode(ControlId id);
    // 0 on a miss, without a message.
    std::uint32_t GetMasterFileFlag(ControlId id) const;
    bool IsFactoryParam(ControlId id);

    // The camera now holds every row's value.
    void CommitAll();
    // Takes the camera's value back into the page value, from `fromRow` to the end: for rows
    // whose set the camera refused or never saw.
    void RevertFrom(int fromRow);

    // False for push buttons and for the commands that are never read or written in bulk.
    bool IsTransferable(int row) const;
    int CountTransferable();
    int CountUserTransferable();

private:
    std::optional<std::size_t> FindControl(ControlId id) const;
    std::optional<std::size_t> FindCommand(CommandId id) const;
    void Report(const std::string& text);

    const CommandTable& commands_;
    UiPort& ui_;
    std::vector<ControlEntry> rows_;
    std::optional<int> transferable_;
    std::optional<int> userTransferable_;
};

// Sends a set for every row whose page value differs from the camera's, in table order,
// stopping at the first failure. Rows whose set failed or was not sent take the camera's
// value back, so the following CommitAll records only what the camera accepted. True when
// every changed row was accepted.
bool SendChangedValues(Command& command, int timeoutMs);

}  // namespace vk
