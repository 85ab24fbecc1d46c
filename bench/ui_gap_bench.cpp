// How long the desktop tool's event loop goes without a turn while it talks to the camera:
// a full read, then one reply the camera takes 2 s to give, then a LUT written to all three
// channels, against the simulated camera at an emulated 115200 bit/s. A timer that fires on
// every turn of the loop records the gaps.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "core/core_context.h"
#include "core/persist/settings_backend.h"
#include "gui/app/main_window.h"
#include "gui/app/tool_application.h"
#include "gui/lut/lut_feature.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"

namespace {

class GapMeter {
public:
    GapMeter() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Turn(); });
        timer_.start(0);
        clock_.start();
    }
    void Turn() {
        const qint64 now = clock_.nsecsElapsed();
        maxGap_ = std::max(maxGap_, now - last_);
        last_ = now;
    }
    void Restart() {
        last_ = clock_.nsecsElapsed();
        maxGap_ = 0;
    }
    double MaxGapMs() const { return maxGap_ / 1e6; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 maxGap_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    vk::sim::SimOptions simOptions;
    simOptions.baud = 115200;
    vk::sim::SimulatedCamera camera(simOptions);
    std::string error;
    if (!camera.Start(&error)) {
        std::fprintf(stderr, "ui_gap: %s\n", error.c_str());
        return 1;
    }
    vk::test::RecordingUserInterface ui;
    vk::MemorySettingsBackend settings;
    vk::gui::ProgramOptions options;
    options.port = QString::fromStdString(camera.DevicePath());
    vk::gui::ToolApplication tool(options, &ui, &settings);
    if (!tool.Create(&error)) return 1;
    vk::gui::MainWindow* window = tool.Window();
    window->show();
    vk::CoreContext& core = *tool.Core();
    if (!window->InitCommunication()) {
        std::fprintf(stderr, "ui_gap: the camera did not answer\n");
        return 1;
    }

    GapMeter meter;
    QElapsedTimer read;
    meter.Restart();
    read.start();
    window->ReadAllSettings();
    const double fullReadSeconds = read.elapsed() / 1000.0;

    camera.SetFault({vk::sim::Fault::Delay, 2000, 1, {}});
    const vk::ExchangeResult slow = core.runner.Run({"slow"}, [&](vk::Operation& operation) {
        return operation.exchange.QueryInt(vk::Cmd("PE"), 2500);
    });
    const double maxGapMs = meter.MaxGapMs();

    // A LUT written from its editor to all three channels: 768 sets.
    auto* lut = window->findChild<vk::gui::LutFeature*>("lutFeature");
    meter.Restart();
    lut->WriteToAllChannels(*lut->Editor(0));
    std::printf("ui_gap: max_gap_ms=%.1f full_read_s=%.3f lut_write_gap_ms=%.1f\n", maxGapMs,
                fullReadSeconds, meter.MaxGapMs());
    return slow.ok() ? 0 : 1;
}
