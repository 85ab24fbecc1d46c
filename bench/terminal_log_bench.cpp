// The terminal window with its log full (32786 lines) while a line arrives every
// millisecond for three seconds: how many lines the view took, the longest time the event
// loop went without a turn, and the CPU the process used.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "core/core_context.h"
#include "core/persist/settings_backend.h"
#include "gui/app/window_list.h"
#include "gui/comm/line_log_model.h"
#include "gui/comm/terminal_window.h"

namespace {

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vk::SilentUserInterface ui;
    vk::MemorySettingsBackend settings;
    vk::CoreContext core(ui, settings);
    vk::gui::WindowList windows;
    vk::gui::TerminalWindow terminal(core, windows);
    terminal.show();

    vk::LineLog& log = core.logs.terminal;
    for (std::size_t i = 0; i < vk::LineLog::kTerminalCapacity; ++i)
        log.Add("Rx: PE=" + std::to_string(i));
    terminal.LogModel()->CatchUp();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 maxGap = 0;
    int added = 0;
    QTimer line;
    line.setTimerType(Qt::PreciseTimer);
    QObject::connect(&line, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        maxGap = std::max(maxGap, now - last);
        last = now;
        log.Add(++added % 2 ? "Tx: PE?" : "Rx: PE=" + std::to_string(added));
        if (now > 3'000'000'000LL) QCoreApplication::quit();
    });
    const double cpuStart = CpuSeconds();
    line.start(1);
    QApplication::exec();
    const double wall = clock.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpuStart;
    terminal.LogModel()->CatchUp();
    std::printf("terminal_log: lines=%d rows=%d wall_s=%.2f cpu_pct=%.0f max_gap_ms=%.1f\n", added,
                terminal.LogModel()->rowCount(), wall, 100.0 * cpu / wall, maxGap / 1e6);
    return terminal.LogModel()->rowCount() == static_cast<int>(log.Size()) ? 0 : 1;
}
