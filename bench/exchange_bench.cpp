// 500 sets and 500 queries against the simulated camera at an emulated 115200 bit/s.
#include <cstdio>

#include "bench_support.h"

int main() {
    vk::bench::BenchCamera camera(115200);
    if (!camera.Connect()) return 1;
    auto& exchange = camera.core.exchange;
    const vk::CommandId pe = exchange.FindCommand("PE");

    int failures = 0;
    vk::bench::Stopwatch watch;
    for (int i = 0; i < 500; ++i) {
        const std::int32_t value = 10 + i;
        if (!exchange.SendSetInt(pe, value, 2500)) ++failures;
        const auto read = exchange.QueryInt(pe, 2500);
        if (!read || read.value != value) ++failures;
    }
    vk::bench::Report("exchange", watch, camera.LineLimitSeconds());
    if (failures) std::fprintf(stderr, "exchange: %d failed exchanges\n", failures);
    return failures ? 1 : 0;
}
