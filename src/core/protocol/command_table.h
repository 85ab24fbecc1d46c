#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/protocol/command_mnemonics.h"
#include "core/protocol/param_value.h"

namespace vk {

inline constexpr CommandId kNoCommand = -1;

struct CommandEntry {
    std::uint32_t id = 0;
    std::string mnemonic;
    ValueKind kind = ValueKind::Int;
};

// Every camera command the tool can send, indexed by command id.
class CommandTable {
public:
    static constexpr int kCount = 524;

    CommandTable();

    int Count() const { return static_cast<int>(entries_.size()); }
    bool IsValid(CommandId id) const { return id >= 0 && id < Count(); }
    const CommandEntry& Entry(CommandId id) const { return entries_.at(id); }

    // Empty text for an id outside the table.
    std::string GetMnemonic(CommandId id) const;
    // First entry whose mnemonic matches exactly; kNoCommand when none does.
    CommandId Find(std::string_view mnemonic) const;

    // The mnemonic list in command-id order; shared with the simulated camera.
    static const std::vector<std::string_view>& Mnemonics();

private:
    std::vector<CommandEntry> entries_;
};

}  // namespace vk
