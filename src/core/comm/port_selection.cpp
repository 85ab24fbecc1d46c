#include "core/comm/port_selection.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/core_context.h"
#include "core/protocol/integer_text.h"

namespace vk {
namespace {

// Position = channel mode.
constexpr std::array<const char*, 4> kModeOptions = {"com", "cl2000", "cl2001", "cl11"};

}  // namespace

std::optional<ChannelMode> ParseChannelMode(const std::string& text) {
    for (std::size_t m = 0; m < kModeOptions.size(); ++m) {
        if (text == kModeOptions[m]) return ChannelModeOf(static_cast<std::uint32_t>(m));
    }
    return std::nullopt;
}

const char* ChannelModeOption(ChannelMode mode) {
    return ModeIndex(mode) < kModeOptions.size() ? kModeOptions[ModeIndex(mode)] : "?";
}

bool IsPortIndex(const std::string& text, std::uint32_t& index) {
    const std::optional<std::uint32_t> number = ReadTypedNumber<std::uint32_t>(text);
    if (number) index = *number;
    return number.has_value();
}

bool ResolvePort(CoreContext& core, ChannelMode mode, const std::string& port, std::uint32_t& index,
                 std::string& error) {
    if (IsPortIndex(port, index)) return true;
    SerialChannel& channel = core.channel;
    const ChannelMode previous = channel.GetMode();
    channel.SetMode(mode);
    const int count = channel.GetPortCount();
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i) {
        if (channel.GetPortName(i) == port) found = i;
    }
    channel.SetMode(previous);
    if (found >= 0) {
        index = static_cast<std::uint32_t>(found);
        return true;
    }
    if (mode == ChannelMode::ComPort) {
#ifdef _WIN32
        // A COM port the system's list lacks is still reached by its name.
        std::uint32_t number = 0;
        if (port.size() > 3 && (port.starts_with("COM") || port.starts_with("com")) &&
            IsPortIndex(port.substr(3), number) && number >= 1) {
            core.port.PinPort("COM" + std::to_string(number));
            index = 0;
            return true;
        }
#else
        // The path is kept for the next run, which may start in another folder.
        std::string device = port;
        if (port.starts_with("./") || port.starts_with("../")) {
            std::error_code ec;
            const auto absolute = std::filesystem::absolute(port, ec);
            if (!ec) device = absolute.lexically_normal().string();
        }
        core.port.PinPort(device);
        index = 0;
        return true;
#endif
    }
    error = "no port \"" + port + "\" in mode " + ChannelModeOption(mode);
    return false;
}

bool OpenPort(CoreContext& core, ChannelMode mode, const std::string& port, std::uint32_t baud,
              std::string& error) {
    std::uint32_t index = 0;
    if (!ResolvePort(core, mode, port, index, error)) return false;
    if (core.channel.OpenChannel(mode, baud, index)) return true;
    error = core.channel.LastOpenError();
    if (error.empty()) {
        error = "cannot open port " + port + " of mode " + ChannelModeOption(mode) + " at " +
                std::to_string(baud) + " bit/s";
    }
    return false;
}

}  // namespace vk
