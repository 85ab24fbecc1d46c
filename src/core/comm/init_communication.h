#pragma once

#include <cstdint>
#include <optional>

namespace vk {

class CoreContext;

inline constexpr const char* kFailedToInitialize = "Failed to initialize!";

struct ConnectResult {
    bool opened = false;    // the channel opened
    bool answered = false;  // the camera answered the model query
};

// The start-up connect: opens the stored channel (or the COM port of `comPort`), checks the
// model and asks for the current flash area. A channel that cannot open is reported with
// the port's reason and "Failed to initialize!".
ConnectResult InitCommunication(CoreContext& core, std::uint32_t& currentArea,
                                std::optional<std::uint32_t> comPort = {});

// Shows why the channel did not open, when the port gave a reason.
void ReportOpenFailure(CoreContext& core);

}  // namespace vk
