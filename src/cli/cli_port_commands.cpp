#include "cli/cli_port_commands.h"

#include <ostream>

#include "cli/json_output.h"
#include "core/comm/port_selection.h"
#include "core/core_context.h"
#include "core/protocol/printable.h"

namespace vk::cli {

bool OpenSelectedChannel(CoreContext& core, const CliOptions& options, std::ostream& err) {
    SerialChannel& channel = core.channel;
    std::uint32_t index = 0;
    // Without --mode a device path means the COM port, a number the stored mode's port.
    const bool path = options.port && !IsPortIndex(*options.port, index);
    const ChannelMode mode = options.mode.value_or(path ? ChannelMode::ComPort : channel.GetMode());
    const std::uint32_t baud = options.baud ? options.baud : channel.BaudRate();
    bool opened = false;
    if (options.port) {
        std::string error;
        if (!ResolvePort(core, mode, *options.port, index, error)) {
            err << "vk4100ctl: " << error << " (vk4100ctl --mode " << ChannelModeOption(mode)
                << " ports lists them)\n";
            return false;
        }
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
    const ChannelMode stored = channel.GetMode();
    const ChannelMode mode = s.options.mode.value_or(stored);
    channel.SetMode(mode);  // listing selects nothing: the stored mode comes back below
    const int count = channel.GetPortCount();
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(channel.GetPortName(i));
    if (JsonWanted(s) && count > 0) PrintJson(s.out, PortsJson(names));
    for (int i = 0; i < (JsonWanted(s) ? 0 : count); ++i)
        s.out << i << '\t' << Printable(names[static_cast<std::size_t>(i)]) << '\n';
    channel.SetMode(stored);
    if (count > 0) return kExitOk;
    s.err << "vk4100ctl: mode " << ChannelModeOption(mode) << " offers no ports\n";
    return kExitFailed;
}

}  // namespace vk::cli
