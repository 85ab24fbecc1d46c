// A long run of the core and the command-line tool against the simulated camera while the
// camera delays, garbles, hangs up, resets and is plugged in again. Fails when a value the
// camera confirmed is lost, a wait overruns its bound, or memory keeps growing.
//
//   vk-soak MINUTES [SEED]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "cli/cli_app.h"
#include "core/core_context.h"
#include "core/persist/flash_areas.h"
#include "sim/simulated_camera.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

constexpr int kWaitMs = 200;
// Room for a loaded machine on top of the longest wait the design allows.
constexpr auto kSlack = Ms(1000);
constexpr long kMemoryMarginKb = 2048;

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Tells nobody anything, but counts what it would have shown.
class CountingUiPort : public vk::SilentUserInterface {
public:
    void ShowMessage(const std::string&, const std::string&, vk::MessageIcon) override {
        ++messages;
    }
    long messages = 0;
};

struct Report {
    long exchanges = 0;
    long cliRuns = 0;
    long reconnects = 0;
    std::map<std::string, long> failures;  // by reason
    std::vector<std::string> faults;       // why the soak fails
    Ms longestWait{0};
    long memoryStartKb = 0;
    long memoryEndKb = 0;
};

class Soak {
public:
    Soak(unsigned seed, const std::filesystem::path& dir) : random_(seed), dir_(dir) {}

    bool Plug() {
        vk::sim::SimOptions options;
        options.linkPath = Link();
        camera_ = std::make_unique<vk::sim::SimulatedCamera>(options);
        std::string error;
        if (!camera_->Start(&error)) {
            report.faults.push_back("the camera did not start: " + error);
            return false;
        }
        core_.port.PinPort(Link());
        expected_.reset();  // a fresh camera holds its defaults
        return core_.channel.OpenChannel(vk::ChannelMode::ComPort, 115200, 0);
    }

    // One round: maybe a fault, then a set, a query, or a CLI run.
    void Round() {
        const int pick = Uniform(0, 99);
        std::optional<int> delay;
        if (pick < 4) {
            camera_->SetFault({vk::sim::Fault::Garbage, 0, 1});
        } else if (pick < 8) {
            delay = Uniform(kWaitMs / 2, 2 * kWaitMs);
            camera_->SetFault({vk::sim::Fault::Delay, *delay, 1});
        } else if (pick < 9) {
            camera_->SetFault({vk::sim::Fault::HangUp, 0, 1});
        } else if (pick < 10) {
            camera_->SetFault({vk::sim::Fault::Reset, kWaitMs, 1});
            expected_.reset();  // unstored values are gone after a reset
        }
        const int what = Uniform(0, 99);
        if (what < 2) {
            RunCli();
        } else if (what < 50) {
            Set();
        } else {
            Query();
        }
        camera_->ClearFault();
        camera_->ClearReceivedLines();  // the camera's record is not the tool's memory
        if (!core_.channel.IsUsable()) Reconnect();
    }

    void SampleMemory(bool start) {
        (start ? report.memoryStartKb : report.memoryEndKb) = ResidentKb();
    }
    bool LogsFull() const { return core_.logs.terminal.Size() >= vk::LineLog::kTerminalCapacity; }

    Report report;

private:
    std::string Link() const { return (dir_ / "ttyCAM").string(); }
    int Uniform(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

    // Runs one exchange as an operation and checks its wait.
    vk::ExchangeResult Timed(const std::function<vk::ExchangeResult(vk::Operation&)>& body) {
        const auto start = Clock::now();
        const vk::ExchangeResult result = core_.runner.Run(
            {"soak", false, false, true}, [&](vk::Operation& op) { return body(op); });
        const auto took = std::chrono::duration_cast<Ms>(Clock::now() - start);
        report.longestWait = std::max(report.longestWait, took);
        if (took > Ms(kWaitMs) + kSlack) {
            report.faults.push_back("a wait took " + std::to_string(took.count()) + " ms");
        }
        ++report.exchanges;
        if (!result) ++report.failures[vk::StatusName(result.status)];
        return result;
    }

    void Set() {
        const int value = Uniform(100, 60000);
        if (Timed([&](vk::Operation& op) {
                return op.exchange.SendSetInt(vk::Cmd("PE"), value, kWaitMs);
            })) {
            expected_ = value;
        } else {
            expected_.reset();  // whether the camera took it is not known
        }
    }

    void Query() {
        std::int32_t value = 0;
        if (Timed([&](vk::Operation& op) {
                const auto asked = op.exchange.QueryInt(vk::Cmd("PE"), kWaitMs);
                value = asked.value;
                return asked;
            }) &&
            expected_ && value != *expected_) {
            report.faults.push_back("PE was confirmed as " + std::to_string(*expected_) +
                                    " but reads " + std::to_string(value));
        }
    }

    // The command-line tool on the same camera; the core lets go of the port meanwhile.
    void RunCli() {
        core_.channel.CloseChannel();
        std::ostringstream out;
        std::ostringstream err;
        const auto start = Clock::now();
        const int code = vk::cli::RunCli(
            {"--port", Link(), "--timeout", std::to_string(kWaitMs), "get", "PE"}, out, err);
        const auto took = std::chrono::duration_cast<Ms>(Clock::now() - start);
        ++report.cliRuns;
        if (took > Ms(4 * kWaitMs) + kSlack) {
            report.faults.push_back("the CLI took " + std::to_string(took.count()) + " ms");
        }
        if (code != 0) {
            ++report.failures["cli exit " + std::to_string(code)];
        } else if (expected_ && out.str() != std::to_string(*expected_) + "\n") {
            report.faults.push_back("the CLI read PE as " + out.str());
        }
        if (!core_.channel.ReopenChannel()) Reconnect();
    }

    void Reconnect() {
        core_.channel.CloseChannel();
        camera_.reset();
        ++report.reconnects;
        Plug();
    }

    std::mt19937 random_;
    std::filesystem::path dir_;
    CountingUiPort ui_;
    vk::MemorySettingsBackend backend_;
    vk::CoreContext core_{ui_, backend_};
    std::unique_ptr<vk::sim::SimulatedCamera> camera_;
    std::optional<std::int32_t> expected_;
};

void Print(const Report& r, double minutes) {
    std::cout << "soak: " << minutes << " min, " << r.exchanges << " exchanges, " << r.cliRuns
              << " CLI runs, " << r.reconnects << " reconnects, longest wait "
              << r.longestWait.count() << " ms\n";
    for (const auto& [reason, count] : r.failures)
        std::cout << "  failed: " << reason << ": " << count << '\n';
    std::cout << "  resident memory: " << r.memoryStartKb << " kB after warm-up, " << r.memoryEndKb
              << " kB at the end\n";
    for (const std::string& fault : r.faults)
        std::cout << "  FAULT: " << fault << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: vk-soak MINUTES [SEED]\n";
        return 2;
    }
    const double minutes = std::atof(argv[1]);
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1;
    if (minutes <= 0) {
        std::cerr << "vk-soak: MINUTES must be a positive number\n";
        return 2;
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vk-soak-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    // The CLI keeps its settings here, not in the user's.
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);

    int status = 0;
    {
        Soak soak(seed, dir);
        if (!soak.Plug()) return 1;
        const auto start = Clock::now();
        const auto end = start + std::chrono::duration_cast<Clock::duration>(
                                     std::chrono::duration<double, std::ratio<60>>(minutes));
        // Warm-up lasts until the logs are full or a third of the run has passed.
        const auto warmEnd = start + (end - start) / 3;
        bool warm = false;
        while (Clock::now() < end) {
            soak.Round();
            if (!warm && (soak.LogsFull() || Clock::now() >= warmEnd)) {
                soak.SampleMemory(true);
                warm = true;
            }
        }
        soak.SampleMemory(false);
        Report& report = soak.report;
        if (report.memoryEndKb > report.memoryStartKb + kMemoryMarginKb) {
            report.faults.push_back("resident memory grew by " +
                                    std::to_string(report.memoryEndKb - report.memoryStartKb) +
                                    " kB");
        }
        Print(report, minutes);
        status = report.faults.empty() ? 0 : 1;
    }
    std::filesystem::remove_all(dir);
    return status;
}
