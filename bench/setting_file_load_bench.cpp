// Loading an All Data setting file of the simulated colour camera at an emulated 115200 bit/s,
// measured against the time the line itself needs for those bytes; then the same file with
// only the lines that differ after ten values changed in the camera.
#include <cstdio>

#include "bench_support.h"
#include "core/persist/setting_file.h"
#include "core/persist/setting_file_compare.h"
#include "core/persist/setting_file_loader.h"

namespace {

constexpr std::uint32_t kBaud = 115200;

// Runs `body` as one operation and reports its time against the line time of its bytes.
template <typename Body>
void Measure(vk::bench::BenchCamera& camera, const char* name, Body body) {
    const std::size_t before = camera.WireBytes();
    vk::bench::Stopwatch watch;
    camera.core.runner.Run({vk::kLoadingSettingFile, true, true}, body);
    vk::bench::Report(name, watch, vk::bench::LineSeconds(camera.WireBytes() - before, kBaud));
}

}  // namespace

int main() {
    vk::bench::BenchCamera camera(kBaud);
    if (!camera.Connect()) return 1;
    vk::CoreContext& core = camera.core;
    const auto variant = vk::SettingFileVariant::AllData;

    std::string text;
    core.runner.Run({"read"}, [&](vk::Operation& operation) {
        const auto read =
            vk::ReadSettingFileRows(operation, variant, false, core.modelCheck.modelIndex);
        text = vk::FormatSettingFile(
            core.exchange, variant, false,
            vk::QuerySettingFileHeader(core.exchange, core.modelCheck, variant, false));
        return read.outcome;
    });
    const vk::SettingFilePlan plan = vk::ParseSettingFile(core.exchange, text, false);

    vk::SettingFileLoadResult result;
    Measure(camera, "setting_file_load", [&](vk::Operation& operation) {
        result = vk::SettingFileLoader().Load(operation, core.modelCheck, plan);
        return result.outcome;
    });
    if (!result.Clean()) {
        std::fprintf(stderr, "setting_file_load: %s\n", vk::LoadSummary(result).c_str());
        return 1;
    }

    // Ten parameters of the file changed in the camera.
    int changed = 0;
    for (const vk::SettingLine& line : plan.lines) {
        if (changed == 10) break;
        if (line.action != vk::SettingAction::Parameter) continue;
        const auto range = core.exchange.Controls().Range(line.control);
        if (!range || range->maximum <= range->minimum) continue;
        const std::int32_t minimum = range->minimum;
        const std::int32_t other = line.value == minimum ? minimum + 1 : minimum;
        core.runner.Run({"change"}, [&](vk::Operation& operation) {
            return operation.exchange.SendSetInt(line.command, other, 2500);
        });
        ++changed;
    }
    std::size_t differing = 0;
    Measure(camera, "setting_file_load_changed_only", [&](vk::Operation& operation) {
        const vk::SettingFileComparison comparison =
            vk::CompareWithCamera(operation, core.modelCheck, plan);
        differing = comparison.differences.size();
        result = vk::SettingFileLoader().Load(operation, core.modelCheck,
                                              vk::OnlyLines(plan, comparison.DifferingLines()));
        return result.outcome;
    });
    if (differing != static_cast<std::size_t>(changed) || !result.Clean()) {
        std::fprintf(stderr, "setting_file_load_changed_only: %zu lines differed, %d changed\n",
                     differing, changed);
        return 1;
    }
    return 0;
}
