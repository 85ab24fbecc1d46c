// The full read of the user-mode parameters against the simulated camera at an emulated
// 115200 bit/s, measured against the time the line itself needs for those bytes.
#include <cstdio>

#include "bench_support.h"
#include "protocol/parameter_reader.h"

int main() {
    constexpr std::uint32_t kBaud = 115200;
    vk::bench::SimProcess sim({"--baud", std::to_string(kBaud)});
    vk::SilentUiPort ui;
    vk::MemorySettingsBackend backend;
    vk::CoreContext core(ui, backend);
    core.port.PinPort(sim.DevicePath());
    if (!core.channel.OpenChannel(0, kBaud, 0) || !core.modelCheck.Check()) {
        std::fprintf(stderr, "full_read: no camera\n");
        return 1;
    }

    vk::ParameterReader reader(core.command, core.notifier, ui);
    vk::bench::Stopwatch watch;
    const vk::FullReadResult result = reader.ReadAllParameters(core.modelCheck.modelIndex, false);

    // Every query line and its answer, as they went over the line.
    std::size_t wireBytes = 0;
    const vk::ControlTable& table = core.command.Controls();
    for (int row : result.readRows) {
        const vk::ControlEntry& entry = table.Row(row);
        const std::string mnemonic = core.command.GetMnemonic(entry.commandId);
        wireBytes += mnemonic.size() + std::string("?\r\n").size();
        wireBytes += mnemonic.size() + 1 + std::to_string(entry.value).size() + 2;
    }
    vk::bench::Report("full_read", watch, vk::bench::LineSeconds(wireBytes, kBaud));
    if (!result.failedRows.empty() || result.readRows.empty()) {
        std::fprintf(stderr, "full_read: %zu queries failed, %zu read\n", result.failedRows.size(),
                     result.readRows.size());
        return 1;
    }
    return 0;
}
