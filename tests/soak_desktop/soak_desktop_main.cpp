// The desktop tool over a working day: the real main window against the simulated camera
// while the camera garbles, delays, falls silent and is unplugged. It reconnects through the
// Communication window, reads everything, changes pages, saves and loads setting files,
// writes LUTs and answers every message box. Fails when resident memory keeps growing after
// the warm-up, a descriptor or a thread is left behind, the event loop stalls for more than
// a second, or a saved value is not the camera's.
//
//   vk-soak-desktop MINUTES [SEED]     the soak
//   vk-soak-desktop --reconnects N     only the Communication window's mode switches, with
//                                      the resident memory after the first and the last
#include <execinfo.h>
#include <malloc.h>
#include <pthread.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/core_context.h"
#include "core/persist/setting_file_compare.h"
#include "core/persist/settings_backend.h"
#include "gui/app/main_window.h"
#include "gui/app/tool_application.h"
#include "gui/comm/communication_window.h"
#include "gui/comm/setting_file_feature.h"
#include "gui/lut/lut_editor.h"
#include "gui/lut/lut_feature.h"
#include "sim/simulated_camera.h"

namespace {

using vk::gui::CommunicationWindow;
using vk::gui::LutFeature;
using vk::gui::MainWindow;
using vk::gui::SettingFileFeature;
using vk::sim::Fault;

constexpr long kMemoryMarginKb = 3072;
constexpr qint64 kLongestGapMs = 1000;
constexpr int kComPort = 0;
constexpr int kCameraLinkMode = 1;  // no library is bound: the switch fails

// What the process holds, from /proc.
struct Usage {
    long residentKb = 0;
    int descriptors = 0;
    int threads = 0;
};

int CountEntries(const char* folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

Usage Measure() {
    // What the allocator keeps free is not held by the program.
    ::malloc_trim(0);
    Usage usage;
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long pages = 0;
    statm >> size >> pages;
    usage.residentKb = pages * (::sysconf(_SC_PAGESIZE) / 1024);
    usage.descriptors = CountEntries("/proc/self/fd");
    usage.threads = CountEntries("/proc/self/task");
    return usage;
}

std::string Describe(const Usage& u) {
    return std::to_string(u.residentKb) + " kB resident, " + std::to_string(u.descriptors) +
           " descriptors, " + std::to_string(u.threads) + " threads";
}

// Answers every message box and question as a person would: the default button.
class BoxAnswerer : public QObject {
public:
    BoxAnswerer() {
        connect(&timer_, &QTimer::timeout, this, [this] { Answer(); });
        timer_.start(40);
    }
    long answered = 0;

private:
    void Answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        ++answered;
        if (QAbstractButton* button = box->defaultButton()) {
            button->click();
        } else {
            box->accept();
        }
    }
    QTimer timer_;
};

// Nanoseconds this thread has waited for a CPU while it could have run.
long long RunQueueWaitNs() {
    std::ifstream schedstat("/proc/thread-self/schedstat");
    long long running = 0;
    long long waiting = 0;
    schedstat >> running >> waiting;
    return waiting;
}

qint64 NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void PrintStack(int) {
    void* frames[48];
    ::backtrace_symbols_fd(frames, ::backtrace(frames, 48), STDERR_FILENO);
}

// A second clock beside the event loop's: a thread of its own that wakes every 20 ms. When
// the event loop stops ticking while this thread keeps its time, the GUI thread is held by
// the tool, and its stack is printed; when this thread is late as well, the machine gave
// the process no CPU.
class StallWatch {
public:
    StallWatch() : gui_(::pthread_self()) {
        std::signal(SIGUSR2, PrintStack);
        void* frame = nullptr;
        ::backtrace(&frame, 1);  // loads the unwinder now, not inside the handler
        Beat();
        thread_ = std::thread([this] { Watch(); });
    }
    ~StallWatch() {
        stop_ = true;
        thread_.join();
    }
    void Beat() { beatMs_ = NowMs(); }
    // How late this thread woke at most since the last call.
    qint64 TakeLateness() { return lateMs_.exchange(0); }
    std::atomic<const char*> doing{"start"};

private:
    static constexpr qint64 kPeriodMs = 20;
    static constexpr qint64 kHeldMs = 300;
    static constexpr int kMostStacks = 12;

    void Watch() {
        qint64 expected = NowMs() + kPeriodMs;
        qint64 sampledBeat = 0;
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kPeriodMs));
            const qint64 now = NowMs();
            const qint64 late = std::max<qint64>(now - expected, 0);
            lateMs_ = std::max(lateMs_.load(), late);
            expected = now + kPeriodMs;
            const qint64 beat = beatMs_;
            if (now - beat > kHeldMs && late < kPeriodMs && beat != sampledBeat &&
                stacks_ < kMostStacks) {
                sampledBeat = beat;
                ++stacks_;
                std::cerr << "event loop held " << now - beat << " ms during " << doing.load()
                          << ", at:\n";
                ::pthread_kill(gui_, SIGUSR2);
            }
        }
    }
    pthread_t gui_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<qint64> beatMs_{0};
    std::atomic<qint64> lateMs_{0};
    int stacks_ = 0;
};

// The longest time the event loop went without running a short timer, less the time the
// process was given no CPU (the GUI thread's own wait in the run queue, or the watch
// thread's lateness, whichever is more: other work on a loaded machine is no fault of the
// tool's), and what the soak was doing then.
class GapMeter : public QObject {
public:
    explicit GapMeter(StallWatch& watch) : watch_(watch) {
        connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
        Restart();
        timer_.start(20);
    }
    // The soak's own work on the camera (not the tool's) does not count.
    void Restart() {
        clock_.restart();
        waitedNs_ = RunQueueWaitNs();
        watch_.TakeLateness();
        watch_.Beat();
    }
    void SetDoing(const char* what) { watch_.doing = what; }
    qint64 longestMs = 0;
    qint64 longestWallMs = 0;
    std::string longestDuring;

private:
    void Tick() {
        const qint64 wall = clock_.restart();
        const long long waited = RunQueueWaitNs();
        const qint64 starved =
            std::max<qint64>((waited - waitedNs_) / 1000000, watch_.TakeLateness());
        const qint64 gap = wall - std::min(starved, wall);
        waitedNs_ = waited;
        watch_.Beat();
        longestWallMs = std::max(longestWallMs, wall);
        if (gap > longestMs) {
            longestMs = gap;
            longestDuring = watch_.doing.load();
        }
    }
    StallWatch& watch_;
    QTimer timer_;
    QElapsedTimer clock_;
    long long waitedNs_ = 0;
};

class DesktopSoak {
public:
    DesktopSoak(unsigned seed, const QString& dir) : random_(seed), dir_(dir) {}

    bool Start() {
        if (!Plug()) return false;
        vk::gui::ProgramOptions options;
        options.port = Link();
        app_ = std::make_unique<vk::gui::ToolApplication>(options, nullptr, &settings_);
        std::string error;
        if (!app_->Create(&error)) {
            faults.push_back("the tool did not start: " + error);
            return false;
        }
        app_->Start();
        window_ = app_->Window();
        communication_ = window_->Communication();
        files_ = window_->findChild<SettingFileFeature*>();
        luts_ = window_->findChild<LutFeature*>();
        files_->chooseLoad = [](const QString&, const vk::SettingFileComparison&) {
            return SettingFileFeature::LoadChoice::All;
        };
        inStep_ = true;
        return true;
    }

    void End() {
        app_.reset();
        camera_.reset();
    }

    // The Communication window: a Camera Link mode that cannot open, then the COM port again,
    // which reopens and reads the camera.
    void SwitchModes() {
        Activate("category", kCameraLinkMode);
        Activate("category", kComPort);
        ++reconnects;
        camera_->ClearReceivedLines();  // the camera's record is not the tool's memory
    }

    // One step of a working day, picked at random.
    void Step() {
        const int pick = Uniform(0, 99);
        if (pick < 15) {
            gaps_->SetDoing("mode switch");
            SwitchModes();
        } else if (pick < 30) {
            gaps_->SetDoing("full read");
            InjectFault();
            window_->ReadAllSettings();
            ++fullReads;
        } else if (pick < 45) {
            gaps_->SetDoing("page change");
            QTabWidget* tabs = window_->Tabs();
            tabs->setCurrentIndex(Uniform(0, tabs->count() - 1));
            ++pageChanges;
        } else if (pick < 60) {
            gaps_->SetDoing("setting-file save");
            SaveAndCheck();
        } else if (pick < 70) {
            gaps_->SetDoing("setting-file load");
            LoadSaved();
        } else if (pick < 85) {
            gaps_->SetDoing("LUT write");
            InjectFault();
            luts_->WriteTable(*luts_->Editor(Uniform(0, 2)));
            ++lutWrites;
        } else if (pick < 92) {
            gaps_->SetDoing("unplug");
            Unplug();
        } else {
            gaps_->SetDoing("port re-selected");
            // A port re-selected through the window, as after a cable was checked.
            Activate("portName", kComPort);
            ++reconnects;
        }
        camera_->ClearFault();
        camera_->ClearReceivedLines();
        gaps_->SetDoing("reconnect after a step");
        if (!window_->Core().channel.IsUsable()) Activate("portName", kComPort);
    }

    void SetGapMeter(GapMeter* gaps) { gaps_ = gaps; }
    StallWatch& Watch() { return watch_; }

    Usage warm{};
    std::vector<std::string> faults;
    long reconnects = 0, fullReads = 0, pageChanges = 0, saves = 0, loads = 0, lutWrites = 0,
         unplugs = 0, faultsInjected = 0, valuesChecked = 0;

private:
    QString Link() const { return dir_ + "/ttyCAM"; }
    int Uniform(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

    bool Plug() {
        vk::sim::SimOptions options;
        options.linkPath = Link().toStdString();
        camera_ = std::make_unique<vk::sim::SimulatedCamera>(options);
        std::string error;
        if (!camera_->Start(&error)) {
            faults.push_back("the camera did not start: " + error);
            return false;
        }
        return true;
    }

    void Activate(const char* list, int index) {
        auto* combo = communication_->findChild<QComboBox*>(list);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    void InjectFault() {
        static constexpr Fault kFaults[] = {Fault::Garbage, Fault::Delay, Fault::Silent,
                                            Fault::WrongMnemonic, Fault::Overlong};
        if (Uniform(0, 2) != 0) return;
        const Fault fault = kFaults[Uniform(0, 4)];
        camera_->SetFault({fault, Uniform(50, 600), Uniform(1, 3), "ERROR", Uniform(0, 40)});
        ++faultsInjected;
        inStep_ = false;
    }

    // The cable pulled during work, then the camera back on the same device.
    void Unplug() {
        camera_->SetFault({Fault::Unplug, 0, 1, "ERROR", Uniform(0, 30)});
        window_->ReadAllSettings();
        camera_.reset();
        Plug();
        gaps_->Restart();
        Activate("portName", kComPort);
        ++unplugs;
        inStep_ = false;
    }

    // Saves All Data after a clean read and checks every line against the camera.
    void SaveAndCheck() {
        if (!inStep_) {
            window_->ReadAllSettings();
            inStep_ = window_->Core().channel.IsUsable();
            if (!inStep_) return;
        }
        const QString path = dir_ + "/day.cam";
        if (!files_->SaveTo(path, vk::SettingFileVariant::AllData)) {
            faults.push_back("a save after a clean read failed");
            return;
        }
        ++saves;
        std::ifstream file(path.toStdString());
        std::string line;
        while (std::getline(file, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos) continue;
            const std::string mnemonic = line.substr(0, equals);
            const std::string camera = camera_->Value(mnemonic);
            if (camera.empty() || mnemonic == "MD00" || mnemonic == "DVW") continue;
            ++valuesChecked;
            if (std::stol(camera) != std::stol(line.substr(equals + 1))) {
                faults.push_back("saved " + line + " but the camera holds " + camera);
            }
        }
    }

    void LoadSaved() {
        const QString path = dir_ + "/day.cam";
        if (!QFile::exists(path)) return;
        files_->LoadFrom(path);
        ++loads;
    }

    std::mt19937 random_;
    QString dir_;
    vk::MemorySettingsBackend settings_;
    std::unique_ptr<vk::sim::SimulatedCamera> camera_;
    std::unique_ptr<vk::gui::ToolApplication> app_;
    MainWindow* window_ = nullptr;
    CommunicationWindow* communication_ = nullptr;
    SettingFileFeature* files_ = nullptr;
    LutFeature* luts_ = nullptr;
    bool inStep_ = false;  // the tool's values are the camera's
    StallWatch watch_;
    GapMeter ownGaps_{watch_};
    GapMeter* gaps_ = &ownGaps_;
};

int MeasureReconnects(DesktopSoak& soak, int count) {
    soak.SwitchModes();
    const Usage first = Measure();
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i < count; ++i)
        soak.SwitchModes();
    const Usage last = Measure();
    std::cout << "reconnects: " << count << " in " << clock.elapsed() / 1000.0 << " s\n"
              << "  after the first: " << Describe(first) << "\n"
              << "  after the last:  " << Describe(last) << "\n"
              << "  per reconnect:   "
              << double(last.residentKb - first.residentKb) / std::max(1, count - 1) << " kB\n";
    return 0;
}

int RunSoak(DesktopSoak& soak, const BoxAnswerer& boxes, double minutes) {
    const Usage start = Measure();
    GapMeter gaps(soak.Watch());
    soak.SetGapMeter(&gaps);
    QElapsedTimer clock;
    clock.start();
    const qint64 totalMs = static_cast<qint64>(minutes * 60000);
    // Warm-up: the logs fill and every path has run once.
    const qint64 warmMs = std::min<qint64>(totalMs / 3, 5 * 60000);
    bool warm = false;
    QTimer stepper;
    stepper.setSingleShot(true);
    QObject::connect(&stepper, &QTimer::timeout, [&] {
        soak.Step();
        if (!warm && clock.elapsed() >= warmMs) {
            soak.warm = Measure();
            warm = true;
        }
        if (clock.elapsed() >= totalMs) {
            QCoreApplication::quit();
            return;
        }
        stepper.start(10);
    });
    gaps.Restart();
    stepper.start(0);
    QApplication::exec();
    const Usage end = Measure();

    std::cout << "desktop soak: " << minutes << " min, " << soak.reconnects << " reconnects, "
              << soak.fullReads << " full reads, " << soak.pageChanges << " page changes, "
              << soak.saves << " saves, " << soak.loads << " loads, " << soak.lutWrites
              << " LUT writes, " << soak.unplugs << " unplugs, " << soak.faultsInjected
              << " faults, " << boxes.answered << " message boxes answered, " << soak.valuesChecked
              << " saved values checked\n"
              << "  start:   " << Describe(start) << "\n"
              << "  warm:    " << Describe(soak.warm) << "\n"
              << "  end:     " << Describe(end) << "\n"
              << "  longest event-loop gap: " << gaps.longestMs << " ms (during "
              << gaps.longestDuring << "), " << gaps.longestWallMs
              << " ms with the time the machine gave it no CPU\n";
    if (end.residentKb > soak.warm.residentKb + kMemoryMarginKb) {
        soak.faults.push_back("resident memory grew by " +
                              std::to_string(end.residentKb - soak.warm.residentKb) +
                              " kB after the warm-up");
    }
    if (end.descriptors > soak.warm.descriptors) soak.faults.push_back("descriptors leaked");
    if (end.threads > soak.warm.threads) soak.faults.push_back("threads leaked");
    if (gaps.longestMs > kLongestGapMs) {
        soak.faults.push_back("the window did not answer for " + std::to_string(gaps.longestMs) +
                              " ms during " + gaps.longestDuring);
    }
    for (const std::string& fault : soak.faults)
        std::cout << "  FAULT: " << fault << '\n';
    return soak.faults.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool reconnectsOnly = !args.isEmpty() && args[0] == "--reconnects";
    const double amount =
        args.size() > (reconnectsOnly ? 1 : 0) ? args[reconnectsOnly ? 1 : 0].toDouble() : 0;
    if (amount <= 0) {
        std::cerr << "usage: vk-soak-desktop MINUTES [SEED] | --reconnects N\n";
        return 2;
    }
    const unsigned seed = !reconnectsOnly && args.size() > 1 ? args[1].toUInt() : 1;
    QTemporaryDir dir;
    // The tool keeps its settings in memory; Qt's own go here, not in the user's.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));

    const BoxAnswerer answerer;
    DesktopSoak soak(seed, dir.path());
    int status = 1;
    if (soak.Start()) {
        status = reconnectsOnly ? MeasureReconnects(soak, static_cast<int>(amount))
                                : RunSoak(soak, answerer, amount);
    } else {
        for (const std::string& fault : soak.faults)
            std::cout << "FAULT: " << fault << '\n';
    }
    soak.End();
    return status;
}
