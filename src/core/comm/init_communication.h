#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/user_interface.h"

namespace vk {

class CoreContext;
class SerialChannel;

inline constexpr const char* kFailedToInitialize = "Failed to initialize!";

struct ConnectResult {
    bool opened = false;          // the channel opened
    bool answered = false;        // the camera answered the model query
    std::vector<Notice> failure;  // for the caller to show, in order, when it did not open
};

// The start-up connect: opens the stored channel (or the COM port of `comPort`), checks the
// model and asks for the current flash area. A channel that cannot open gives the port's
// reason and "Failed to initialize!" to show.
ConnectResult InitCommunication(CoreContext& core, std::uint32_t& currentArea,
                                std::optional<std::uint32_t> comPort = {});

// Why the channel did not open, when the port gave a reason.
std::optional<Notice> OpenFailureNotice(const SerialChannel& channel);

}  // namespace vk
