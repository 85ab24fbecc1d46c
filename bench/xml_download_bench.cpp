// The download of the simulated camera's description at an emulated 115200 bit/s, measured
// against the time the line needs for the bytes of its packets.
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "bench_support.h"
#include "core/genicam/description_download.h"
#include "core/genicam/serial_register_port.h"

namespace {

constexpr std::uint32_t kBaud = 115200;
constexpr int kRepeats = 3;
}  // namespace

int main() {
    vk::bench::BenchCamera camera(kBaud);
    if (!camera.Connect()) return 1;
    auto& core = camera.core;
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("vk-bench-" + std::to_string(::getpid()) + ".zip");

    vk::SerialRegisterPort serial(core.exchange, {vk::kRegisterTimeoutMs, kBaud});
    vk::bench::CountingPort port(serial);
    vk::bench::Stopwatch watch;
    bool ok = true;
    std::uint64_t bytes = 0;
    for (int i = 0; i < kRepeats && ok; ++i) {
        core.runner.Run({vk::kDownloadProgressText, true, true}, [&](vk::Operation& operation) {
            const vk::DownloadResult result = vk::DownloadDescription(operation, port, file);
            if (!result.ok()) std::fprintf(stderr, "xml_download: %s\n", result.error.c_str());
            ok = result.ok();
            bytes = result.bytes;
            return result.outcome;
        });
    }
    vk::bench::Report("xml_download", watch, vk::bench::LineSeconds(port.wireBytes, kBaud));
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (ok)
        std::fprintf(stderr, "xml_download: %llu bytes each time\n",
                     static_cast<unsigned long long>(bytes));
    return ok ? 0 : 1;
}
