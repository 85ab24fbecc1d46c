#include "cli/cli_port_commands.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "core/core_context.h"
#include "core/protocol/printable.h"

namespace vk::cli {
namespace {

// Position = channel mode.
constexpr std::array<const char*, 4> kModeOptions = {"com", "cl2000", "cl2001", "cl11"};

bool ParseIndex(const std::string& text, std::uint32_t& index) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
    return ec == std::errc() && end == text.data() + text.size();
}

// The index of --port in the mode's list: a number is taken as it is, a name is looked
// up. A device path outside the COM port list is put at its head for this run.
bool ResolvePort(CoreContext& core, std::uint32_t mode, const std::string& port,
                 std::uint32_t& index, std::ostream& err) {
    if (ParseIndex(port, index)) return true;
    SerialChannel& channel = core.channel;
    const std::uint32_t previous = channel.GetMode();
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
    if (mode == static_cast<std::uint32_t>(ChannelMode::ComPort)) {
#ifdef _WIN32
        // Windows opens COM ports by number: one past the listed sixteen is COMn itself.
        std::uint32_t number = 0;
        if (port.size() > 3 && (port.starts_with("COM") || port.starts_with("com")) &&
            ParseIndex(port.substr(3), number) && number >= 1) {
            index = number - 1;
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
    err << "vk4100ctl: no port \"" << port << "\" in mode " << ChannelModeOption(mode)
        << " (vk4100ctl --mode " << ChannelModeOption(mode) << " ports lists them)\n";
    return false;
}

}  // namespace

bool ParseChannelMode(const std::string& text, std::uint32_t& mode) {
    for (std::size_t m = 0; m < kModeOptions.size(); ++m) {
        if (text == kModeOptions[m]) {
            mode = static_cast<std::uint32_t>(m);
            return true;
        }
    }
    return false;
}

const char* ChannelModeOption(std::uint32_t mode) {
    return mode < kModeOptions.size() ? kModeOptions[mode] : "?";
}

bool OpenSelectedChannel(CoreContext& core, const CliOptions& options, std::ostream& err) {
    SerialChannel& channel = core.channel;
    std::uint32_t index = 0;
    // Without --mode a device path means the COM port, a number the stored mode's port.
    const bool path = options.port && !ParseIndex(*options.port, index);
    const std::uint32_t mode = options.mode.value_or(
        path ? static_cast<std::uint32_t>(ChannelMode::ComPort) : channel.GetMode());
    const std::uint32_t baud = options.baud ? options.baud : channel.BaudRate();
    bool opened = false;
    if (options.port) {
        if (!ResolvePort(core, mode, *options.port, index, err)) return false;
        opened = channel.OpenChannel(mode, baud, index);
    } else {
        // The port stored for the mode, found by its name.
        opened = channel.OpenChosenPort(mode, baud);
        index = channel.CurrentPortIndex();
    }
    if (opened) return true;
    if (!channel.LastOpenError().empty()) {
        core.ui.ShowMessage(channel.LastOpenError(), kCommunicationErrorCaption,
                            MessageIcon::Exclamation);
    }
    // Only a selection that opened is stored: the next run still opens the last good one.
    err << "vk4100ctl: cannot open port " << index << " of mode " << ChannelModeOption(mode)
        << " at " << baud << " bit/s; the stored selection is unchanged\n";
    return false;
}

int ListPorts(CliSession& s, const std::vector<std::string>&) {
    SerialChannel& channel = s.core.channel;
    const std::uint32_t stored = channel.GetMode();
    const std::uint32_t mode = s.options.mode.value_or(stored);
    channel.SetMode(mode);  // listing selects nothing: the stored mode comes back below
    const int count = channel.GetPortCount();
    for (int i = 0; i < count; ++i)
        s.out << i << '\t' << Printable(channel.GetPortName(i)) << '\n';
    channel.SetMode(stored);
    if (count > 0) return kExitOk;
    s.err << "vk4100ctl: mode " << ChannelModeOption(mode) << " offers no ports\n";
    return kExitFailed;
}

}  // namespace vk::cli
