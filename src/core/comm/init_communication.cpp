#include "comm/init_communication.h"

#include "core_context.h"

namespace vk {

bool QueryCurrentArea(Command& command, std::uint32_t& area) {
    std::int32_t value = 0;
    if (!command.QueryInt(command.FindCommand("EA"), value, kAreaQueryTimeoutMs)) return false;
    area = static_cast<std::uint32_t>(value);
    return true;
}

bool InitCommunication(CoreContext& core, std::uint32_t& currentArea) {
    if (!core.channel.ReopenChannel()) {
        core.ui.ShowMessage("Failed to initialize!", "", MessageIcon::Exclamation);
        return false;
    }
    const bool answered = core.modelCheck.Check();
    QueryCurrentArea(core.command, currentArea);
    return answered;
}

}  // namespace vk
