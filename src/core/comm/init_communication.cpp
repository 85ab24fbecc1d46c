#include "core/comm/init_communication.h"

#include "core/core_context.h"
#include "core/persist/flash_areas.h"

namespace vk {

void ReportOpenFailure(CoreContext& core) {
    const std::string& reason = core.channel.LastOpenError();
    if (!reason.empty()) {
        core.ui.ShowMessage(reason, kCommunicationErrorCaption, MessageIcon::Exclamation);
    }
}

ConnectResult InitCommunication(CoreContext& core, std::uint32_t& currentArea,
                                std::optional<std::uint32_t> comPort) {
    ConnectResult result;
    SerialChannel& channel = core.channel;
    result.opened = comPort ? channel.OpenChannel(static_cast<std::uint32_t>(ChannelMode::ComPort),
                                                  channel.BaudRate(), *comPort)
                            : channel.ReopenChannel();
    if (!result.opened) {
        ReportOpenFailure(core);
        core.ui.ShowMessage(kFailedToInitialize, "", MessageIcon::Exclamation);
        return result;
    }
    result.answered = core.modelCheck.Check().ok();
    if (const auto area = FlashAreas(core.exchange).QueryCurrentArea()) currentArea = area.value;
    return result;
}

}  // namespace vk
