#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/protocol/command_table.h"

namespace vk {

using ControlId = std::uint32_t;
inline constexpr ControlId kNoControl = 0xFFFFFFFF;

enum class ControlKind : std::uint32_t {
    Check = 1,   // value 0 or 1
    Radio = 2,   // a group of radio buttons as one value
    Combo = 4,   // drop-down list
    Edit = 6,    // numeric edit with a spin control
    Button = 7,  // triggers an action, holds no value
};

enum class ParamLevel : std::uint32_t { None = 0, User = 1, Factory = 2 };

// What a row is beyond its value: facts the code asks the table instead of keeping lists.
namespace RowTrait {
inline constexpr std::uint32_t ReadAtStart = 1u << 0;      // queried by the full read
inline constexpr std::uint32_t NotTransferable = 1u << 1;  // never read or written in bulk
inline constexpr std::uint32_t MonochromeOnly = 1u << 2;   // binning: not on colour cameras
inline constexpr std::uint32_t LongSend = 1u << 3;         // the camera takes long to set it
inline constexpr std::uint32_t HandlerOnly = 1u << 4;      // its page handler does the sending
inline constexpr std::uint32_t IndexedEntry = 1u << 5;     // one entry of an indexed table
}  // namespace RowTrait

// One parameter shown on a page: which control shows it, which command carries it and how
// it is edited. The rows are constant; what the camera holds is in the ParameterTable.
struct ControlEntry {
    ControlId controlId;
    CommandId commandId;
    ControlKind controlKind;
    ParamLevel level;
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t defaultValue;
    bool inSettingFile;
    std::uint32_t traits;  // RowTrait bits

    constexpr bool Has(std::uint32_t trait) const { return (traits & trait) != 0; }
};

// The rows in table order.
std::span<const ControlEntry> ControlRows();

// Lookups in the control rows. Lookups walk the rows from the first; the first match wins.
// A miss is a program error (the ids the code uses are the table's own): the failure value
// is returned.
class ControlTable {
public:
    static constexpr int kRowCount = 483;

    explicit ControlTable(const CommandTable& commands);

    int RowCount() const { return kRowCount; }
    const ControlEntry& Row(int index) const { return Rows()[static_cast<std::size_t>(index)]; }
    std::span<const ControlEntry> Rows() const { return ControlRows(); }
    const CommandTable& Commands() const { return commands_; }

    CommandId CommandOf(ControlId id) const;
    // The row index of a control id; -1 on a miss.
    int RowOf(ControlId id) const;
    // The first row of a command; -1 on a miss. An indexed table has two: index, then value.
    int RowOfCommand(CommandId id) const;
    ControlId ControlOf(CommandId id) const;
    // False on a miss.
    bool InSettingFile(ControlId id) const;
    struct ValueRange {
        std::int32_t minimum = 0;
        std::int32_t maximum = 0;
    };
    // Nothing on a miss.
    std::optional<ValueRange> Range(ControlId id) const;
    bool IsFactoryParameter(ControlId id) const;

    // False for push buttons and for the commands that are never read or written in bulk.
    bool IsTransferable(int row) const;
    int CountTransferable() const;
    int CountUserTransferable() const;

private:
    const CommandTable& commands_;
    int transferable_ = 0;
    int userTransferable_ = 0;
};

}  // namespace vk
