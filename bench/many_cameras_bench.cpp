// An All Data setting-file load on 1, 2, 4 and 8 simulated cameras at an emulated 115200
// bit/s, each on its own line, in one vk4100ctl run: the line is the limit, so eight cameras
// should take about the time of one. The cameras are separate processes; the CPU counted
// is the tool's.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include "bench_support.h"
#include "cli/cli_app.h"

namespace {

constexpr std::uint32_t kBaud = 115200;

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;
};

bool Load(int cameras, const std::string& file, Run& run) {
    std::vector<std::unique_ptr<vk::bench::SimProcess>> sims;
    std::vector<std::string> args;
    for (int i = 0; i < cameras; ++i) {
        sims.push_back(std::make_unique<vk::bench::SimProcess>(
            std::vector<std::string>{"--baud", std::to_string(kBaud)}));
        args.insert(args.end(), {"--port", sims.back()->DevicePath()});
    }
    args.insert(args.end(), {"--baud", std::to_string(kBaud), "load", file});
    std::ostringstream out;
    std::ostringstream err;
    vk::bench::Stopwatch watch;
    const int code = vk::cli::RunCli(args, out, err);
    run = {watch.WallSeconds(), watch.CpuSeconds()};
    if (code != 0) std::fprintf(stderr, "many_cameras: %s%s", out.str().c_str(), err.str().c_str());
    return code == 0;
}

}  // namespace

int main() {
    const std::string file =
        (std::filesystem::temp_directory_path() / "vk4100_many_cameras_bench.cam").string();
    {
        vk::bench::SimProcess sim({"--baud", std::to_string(kBaud)});
        std::ostringstream out;
        std::ostringstream err;
        if (vk::cli::RunCli(
                {"--port", sim.DevicePath(), "--baud", std::to_string(kBaud), "save", file}, out,
                err) != 0) {
            std::fprintf(stderr, "many_cameras: the file was not saved: %s", err.str().c_str());
            return 1;
        }
    }
    Run one;
    Run last;
    for (int cameras : {1, 2, 4, 8}) {
        Run run;
        if (!Load(cameras, file, run)) return 1;
        if (cameras == 1) one = run;
        last = run;
        std::printf("many_cameras_%d: cameras=%d time_s=%.2f cpu_per_camera_s=%.3f\n", cameras,
                    cameras, run.seconds, run.cpuSeconds / cameras);
    }
    std::printf("many_cameras: cameras=8 time_s=%.2f one_s=%.2f ratio=%.2f cpu_per_camera_s=%.3f\n",
                last.seconds, one.seconds, last.seconds / one.seconds, last.cpuSeconds / 8);
    std::filesystem::remove(file);
    return 0;
}
