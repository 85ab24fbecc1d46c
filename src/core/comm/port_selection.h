#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/comm/serial_channel.h"

namespace vk {

class CoreContext;

// "com", "cl2000", "cl2001", "cl11"; nothing for another word.
std::optional<ChannelMode> ParseChannelMode(const std::string& text);
const char* ChannelModeOption(ChannelMode mode);

// Whether the text is a port index rather than a name or a path.
bool IsPortIndex(const std::string& text, std::uint32_t& index);

// The index of a port given by a script (a number, a name of the mode's list, or a COM
// device path) in the mode's list. A device path outside the COM port list is put at its
// head for this run. False with the reason when the mode has no such port.
bool ResolvePort(CoreContext& core, ChannelMode mode, const std::string& port, std::uint32_t& index,
                 std::string& error);

// Resolves and opens the port; false with the reason (the channel's own when it has one).
bool OpenPort(CoreContext& core, ChannelMode mode, const std::string& port, std::uint32_t baud,
              std::string& error);

}  // namespace vk
