// The full read of the user-mode parameters against the simulated camera at an emulated
// 115200 bit/s, measured against the time the line itself needs for those bytes.
#include <cstdio>

#include "bench_support.h"
#include "core/protocol/parameter_reader.h"

int main() {
    vk::bench::BenchCamera camera(115200);
    if (!camera.Connect()) return 1;
    auto& core = camera.core;

    vk::bench::Stopwatch watch;
    vk::FullReadResult result;
    core.runner.Run({vk::kFullReadProgressText, true, true}, [&](vk::Operation& operation) {
        result =
            vk::ParameterReader().ReadAllParameters(operation, core.modelCheck.modelIndex, false);
        return result.outcome;
    });
    vk::bench::Report("full_read", watch, camera.LineLimitSeconds());
    if (!result.failedRows.empty() || result.readRows.empty()) {
        std::fprintf(stderr, "full_read: %zu queries failed, %zu read\n", result.failedRows.size(),
                     result.readRows.size());
        return 1;
    }
    return 0;
}
