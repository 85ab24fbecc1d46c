#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/protocol/command_table.h"

namespace vk {

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

// What a row is beyond its value: facts the code asks the table instead of keeping lists.
namespace RowTrait {
inline constexpr std::uint32_t ReadAtStart = 1u << 0;      // queried by the full read
inline constexpr std::uint32_t NotTransferable = 1u << 1;  // never read or written in bulk
inline constexpr std::uint32_t MonochromeOnly = 1u << 2;   // binning: not on colour cameras
inline constexpr std::uint32_t LongSend = 1u << 3;         // the camera takes long to set it
inline constexpr std::uint32_t HandlerOnly = 1u << 4;      // its page handler does the sending
inline constexpr std::uint32_t IndexedEntry = 1u << 5;     // one entry of an indexed table
}  // namespace RowTrait

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
    std::uint32_t traits;  // RowTrait bits

    bool Has(std::uint32_t trait) const { return (traits & trait) != 0; }
};

// The rows as the program starts, in table order, the end row last.
std::span<const ControlEntry> InitialControlRows();

// The parameter database. Lookups walk the rows from the first and stop at the end row; the
// first match wins. A miss is a program error (the ids the code uses are the table's own):
// the failure value is returned and nothing changes.
class ControlTable {
public:
    static constexpr int kRowCount = 483;
    static constexpr std::int32_t kFailed = -1;  // 0xFFFFFFFF

    explicit ControlTable(const CommandTable& commands);

    // Rows without the end row.
    int RowCount() const { return kRowCount; }
    const ControlEntry& Row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
    std::span<const ControlEntry> Rows() const { return {rows_.data(), rows_.size() - 1}; }
    const CommandTable& Commands() const { return commands_; }

    // The value the page holds for the row, not yet known to be the camera's.
    bool SetPageValue(ControlId id, std::int32_t value);
    // The camera took or reported this value: the page and the camera hold it.
    bool RecordCameraValue(ControlId id, std::int32_t value);
    // The camera's value of the row; kFailed on a miss.
    std::int32_t CameraValue(ControlId id) const;
    CommandId CommandOf(ControlId id) const;
    // The row index of a control id; -1 on a miss.
    int RowOf(ControlId id) const;
    ControlId ControlOf(CommandId id) const;
    bool SetInSettingFile(CommandId id, std::uint32_t flag);
    // 0 on a miss.
    std::uint32_t InSettingFile(ControlId id) const;
    struct ValueRange {
        std::int32_t minimum = 0;
        std::int32_t maximum = 0;
    };
    // Nothing on a miss.
    std::optional<ValueRange> Range(ControlId id) const;
    std::uint32_t RangeMode(ControlId id) const;
    bool IsFactoryParameter(ControlId id) const;

    // The camera now holds every row's value.
    void CommitAll();

    // False for push buttons and for the commands that are never read or written in bulk.
    bool IsTransferable(int row) const;
    int CountTransferable() const;
    int CountUserTransferable() const;

private:
    std::optional<std::size_t> FindControl(ControlId id) const;
    std::optional<std::size_t> FindCommand(CommandId id) const;

    const CommandTable& commands_;
    std::vector<ControlEntry> rows_;
    int transferable_ = 0;
    int userTransferable_ = 0;
};

}  // namespace vk
