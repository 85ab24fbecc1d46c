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
constexpr std::size_t kReadRequestBytes = 28;

// Counts the bytes each read puts on the line: the request, the acknowledgement's header
// and its data.
class CountingPort : public vk::RegisterPort {
public:
    explicit CountingPort(vk::RegisterPort& port) : port_(port) {}
    vk::RegisterResult Read(std::uint64_t address, std::uint32_t length) override {
        vk::RegisterResult r = port_.Read(address, length);
        wireBytes += kReadRequestBytes + vk::gencp::kHeaderSize + r.bytes.size();
        return r;
    }
    vk::RegisterResult Write(std::uint64_t address,
                             const std::vector<std::uint8_t>& bytes) override {
        return port_.Write(address, bytes);
    }
    std::size_t wireBytes = 0;

private:
    vk::RegisterPort& port_;
};

}  // namespace

int main() {
    vk::bench::BenchCamera camera(kBaud);
    if (!camera.Connect()) return 1;
    auto& core = camera.core;
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("vk-bench-" + std::to_string(::getpid()) + ".zip");

    vk::SerialRegisterPort serial(core.exchange, {vk::kRegisterTimeoutMs, kBaud});
    CountingPort port(serial);
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
