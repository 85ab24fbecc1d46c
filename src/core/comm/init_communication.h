#pragma once

#include <cstdint>

namespace vk {

class Command;
class CoreContext;

inline constexpr int kAreaQueryTimeoutMs = 2500;

// Asks the camera which flash area it runs from ("EA"); `area` is unchanged on failure.
bool QueryCurrentArea(Command& command, std::uint32_t& area);

// Reopens the stored channel ("Failed to initialize!" when it cannot), checks the model
// and asks for the current flash area. True when the camera answered the model query.
bool InitCommunication(CoreContext& core, std::uint32_t& currentArea);

}  // namespace vk
