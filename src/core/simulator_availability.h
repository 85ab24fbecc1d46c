#pragma once

namespace vk {

// Builds without a POSIX pseudo-terminal (Windows) carry no simulated camera.
inline constexpr const char* kNoSimulatorText =
    "--simulate is not available in this build; run vk4100-sim on Linux and connect to it "
    "with --port";

}  // namespace vk
