// The LUT transfers against the simulated camera at an emulated 115200 bit/s: one table
// under all three channels (768 sets), then all three read back (768 queries), each
// measured against the time the line itself needs for its bytes.
#include <cstdio>

#include "bench_support.h"
#include "core/lut/lut_transfer.h"
#include "core/lut/standard_curve.h"

int main() {
    vk::bench::BenchCamera camera(115200);
    if (!camera.Connect()) return 1;
    auto& core = camera.core;
    const vk::lut::Table table = *vk::lut::GammaTable(0.45);

    vk::bench::Stopwatch writing;
    const vk::ExchangeResult written = core.runner.Run(
        vk::lut::TransferInfo(vk::lut::kWritingText), [&](vk::Operation& operation) {
            return vk::lut::LutTransfer(operation).WriteToAllChannels(table);
        });
    vk::bench::Report("lut_write", writing, camera.LineLimitSeconds());

    core.logs.messages.Clear();
    vk::lut::Tables read{};
    vk::bench::Stopwatch reading;
    const vk::ExchangeResult wasRead = core.runner.Run(
        vk::lut::TransferInfo(vk::lut::ReadingText(0)), [&](vk::Operation& operation) {
            return vk::lut::LutTransfer(operation).ReadAllTables(read);
        });
    vk::bench::Report("lut_read", reading, camera.LineLimitSeconds());

    if (!written || !wasRead || read != vk::lut::Tables{table, table, table}) {
        std::fprintf(stderr, "lut: the tables did not make the round trip (%s, %s)\n",
                     written.Describe().c_str(), wasRead.Describe().c_str());
        return 1;
    }
    return 0;
}
