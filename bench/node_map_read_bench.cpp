// Every feature of the standard-style simulated description read through the node map
// over an emulated 115200 bit/s line, against the time the line needs for the packets.
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "core/genicam/description_download.h"
#include "core/genicam/feature_rows.h"
#include "core/genicam/node_map.h"
#include "core/genicam/serial_register_port.h"

namespace {

constexpr std::uint32_t kBaud = 115200;
constexpr int kRepeats = 3;

}  // namespace

int main() {
    vk::bench::BenchCamera camera(kBaud, {"--description", "standard"});
    if (!camera.Connect()) return 1;
    auto& core = camera.core;
    vk::SerialRegisterPort serial(core.exchange, {vk::kRegisterTimeoutMs, kBaud});
    std::unique_ptr<vk::genicam::NodeMap> map;
    core.runner.Run({"description", true, false}, [&](vk::Operation& op) {
        std::string xml, error;
        const vk::DownloadResult fetched = vk::FetchDescription(op, serial, xml);
        if (fetched.ok()) map = vk::genicam::BuildNodeMap(xml, error);
        return fetched.outcome;
    });
    if (!map) {
        std::fprintf(stderr, "node_map_read: no description from the camera\n");
        return 1;
    }
    vk::bench::CountingPort port(serial);
    map->SetPort(&port);
    int read = 0, failed = 0;
    vk::bench::Stopwatch watch;
    for (int i = 0; i < kRepeats; ++i) {
        core.runner.Run({"read all", true, false}, [&](vk::Operation&) {
            map->ClearCache();
            for (const vk::genicam::FeatureRow& row : vk::genicam::ListFeatures(*map)) {
                if (row.kind == "Command") continue;
                (vk::genicam::FeatureText(*map, *map->Find(row.name)) ? read : failed)++;
            }
            return vk::ExchangeResult::Success();
        });
    }
    vk::bench::Report("node_map_read", watch, vk::bench::LineSeconds(port.wireBytes, kBaud));
    std::fprintf(stderr, "node_map_read: %d features read, %d refused each time\n", read / kRepeats,
                 failed / kRepeats);
    return 0;
}
