#include "core/protocol/command_table.h"

#include "core/protocol/command_mnemonics.h"

#include <algorithm>
#include <array>

namespace vk {
namespace {

// The user id is text too, although it is listed with the numbers: read as a number, every
// id but a plain one would be an unusable answer.
constexpr std::array<std::string_view, 5> kStringCommands = {"VN", "MD", "UD", "ID", "MD00"};

}  // namespace

const std::vector<std::string_view>& CommandTable::Mnemonics() {
    static const std::vector<std::string_view> list(kMnemonics.begin(), kMnemonics.end());
    return list;
}

CommandTable::CommandTable() {
    entries_.reserve(kMnemonics.size());
    for (std::size_t i = 0; i < kMnemonics.size(); ++i) {
        CommandEntry e;
        e.id = static_cast<std::uint32_t>(i);
        e.mnemonic = std::string(kMnemonics[i]);
        bool isText = std::find(kStringCommands.begin(), kStringCommands.end(), kMnemonics[i]) !=
                      kStringCommands.end();
        e.kind = isText ? ValueKind::String : ValueKind::Int;
        entries_.push_back(std::move(e));
    }
}

std::string CommandTable::GetMnemonic(CommandId id) const {
    return IsValid(id) ? entries_[id].mnemonic : std::string();
}

CommandId CommandTable::Find(std::string_view mnemonic) const {
    for (const auto& e : entries_) {
        if (e.mnemonic == mnemonic) return static_cast<CommandId>(e.id);
    }
    return kNoCommand;
}

}  // namespace vk
