// 500 queries and 500 sets against the simulated camera at an emulated 115200 bit/s.
#include <cstdio>

#include "bench_support.h"

int main() {
    constexpr std::uint32_t kBaud = 115200;
    vk::bench::SimProcess sim({"--baud", std::to_string(kBaud)});
    vk::SilentUiPort ui;
    vk::MemorySettingsBackend backend;
    vk::CoreContext core(ui, backend);
    core.port.PinPort(sim.DevicePath());
    if (!core.channel.OpenChannel(0, kBaud, 0)) return 1;

    const vk::CommandId pe = core.command.FindCommand("PE");
    std::size_t wireBytes = 0;
    int failures = 0;
    vk::bench::Stopwatch watch;
    for (int i = 0; i < 500; ++i) {
        const std::int32_t value = 10 + i;
        if (!core.command.SendSetInt(pe, value, 2500)) ++failures;
        wireBytes += core.command.BuildSetCommand(pe, {vk::ValueKind::Int, value, 0, {}}, true)
                         .size() + std::string("COMPLETE\r\n").size();
        std::int32_t read = 0;
        if (!core.command.QueryInt(pe, read, 2500) || read != value) ++failures;
        wireBytes += std::string("PE?\r\n").size() + ("PE=" + std::to_string(value) + "\r\n").size();
    }
    vk::bench::Report("exchange", watch, vk::bench::LineSeconds(wireBytes, kBaud));
    if (failures) std::fprintf(stderr, "exchange: %d failed exchanges\n", failures);
    return failures ? 1 : 0;
}
