#include "core/comm/init_communication.h"

#include "core/core_context.h"
#include "core/persist/flash_areas.h"

namespace vk {

std::optional<Notice> OpenFailureNotice(const SerialChannel& channel) {
    const std::string& reason = channel.LastOpenError();
    if (reason.empty()) return std::nullopt;
    return Notice{reason, kCommunicationErrorCaption, MessageIcon::Exclamation};
}

ConnectResult InitCommunication(CoreContext& core, std::uint32_t& currentArea,
                                std::optional<std::uint32_t> comPort) {
    ConnectResult result;
    SerialChannel& channel = core.channel;
    result.opened = comPort
                        ? channel.OpenChannel(ChannelMode::ComPort, channel.BaudRate(), *comPort)
                        : channel.ReopenChannel();
    if (!result.opened) {
        if (auto reason = OpenFailureNotice(channel)) result.failure.push_back(*reason);
        result.failure.push_back({kFailedToInitialize, "", MessageIcon::Exclamation});
        return result;
    }
    result.answered = core.modelCheck.Check().ok();
    if (const auto area = FlashAreas(core.exchange).QueryCurrentArea()) currentArea = area.value;
    return result;
}

}  // namespace vk
