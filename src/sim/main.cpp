// vk4100-sim: a simulated camera on a pseudo-terminal. Prints the device path and serves
// until SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "sim/simulated_camera.h"

namespace {

constexpr std::string_view kUsage =
    "usage: vk4100-sim [--model TEXT] [--baud N] [--link PATH] [--state FILE] [--chatter]\n"
    "                 [--fault F] [--slow-actions] [--log FILE]\n"
    "                 [--description family|standard]\n"
    "  --model TEXT   model text the camera reports (default VK-4100C-PMCL)\n"
    "  --baud N       pace replies as a serial line of N bit/s would (default: no pacing)\n"
    "  --link PATH    make PATH a symbolic link to the device\n"
    "  --state FILE   keep flash areas, ids and LUTs in FILE across runs\n"
    "  --chatter      send a line of its own now and then\n"
    "  --slow-actions calibrations take seconds and automatic functions stay busy longer,\n"
    "                 as on a real camera\n"
    "  --description D  the description file served: family (default) or standard, one\n"
    "                 written as most makers write theirs\n"
    "  --fault F      misbehave from the start: silent, garbage, wrong-mnemonic,\n"
    "                 error-on-set, overlong, delay=MS, twice[=MS] (each answer sent\n"
    "                 again MS later) or hang-up\n"
    "  --log FILE     at the end, write every line received to FILE, one a line\n";

constexpr int kSlowCalibrationMs = 6000;
constexpr int kSlowBusyPolls = 6;

int Usage(const std::string& problem) {
    std::cerr << "vk4100-sim: " << problem << "\n" << kUsage;
    return 2;
}

// "--fault" names, so a tool can be tried against a misbehaving camera by hand.
bool ParseFault(const std::string& text, vk::sim::FaultSettings& settings) {
    using vk::sim::Fault;
    static const std::pair<const char*, Fault> kFaults[] = {
        {"silent", Fault::Silent},
        {"garbage", Fault::Garbage},
        {"wrong-mnemonic", Fault::WrongMnemonic},
        {"error-on-set", Fault::ErrorOnSet},
        {"overlong", Fault::Overlong},
        {"hang-up", Fault::HangUp},
        {"twice", Fault::Twice},
    };
    for (const auto& [name, fault] : kFaults) {
        if (text == name) {
            settings.fault = fault;
            return true;
        }
    }
    // Faults with a time: "delay=MS", "twice=MS".
    static const std::pair<std::string_view, Fault> kTimed[] = {
        {"delay=", Fault::Delay},
        {"twice=", Fault::Twice},
    };
    for (const auto& [prefix, fault] : kTimed) {
        if (!text.starts_with(prefix)) continue;
        const std::string ms = text.substr(prefix.size());
        if (ms.empty() || ms.size() > 6 ||
            ms.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        settings.fault = fault;
        settings.delayMs = std::stoi(ms);
        return true;
    }
    return false;
}

bool ParseBaud(const std::string& text, std::uint32_t& baud) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 9) {
        return false;
    }
    baud = static_cast<std::uint32_t>(std::stoul(text));
    return baud > 0;
}

}  // namespace

int main(int argc, char** argv) {
    vk::sim::SimOptions options;
    vk::sim::FaultSettings fault;
    std::string logPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--chatter") {
            options.chatter = true;
        } else if (arg == "--slow-actions") {
            options.calibrationMs = kSlowCalibrationMs;
            options.autoBusyPolls = kSlowBusyPolls;
        } else if (arg == "--model" || arg == "--baud" || arg == "--link" || arg == "--state" ||
                   arg == "--fault" || arg == "--log" || arg == "--description") {
            if (!hasValue) {
                return Usage(arg + " needs a value");
            }
            const std::string value = argv[++i];
            if (arg == "--model") {
                options.model = value;
            } else if (arg == "--baud" && !ParseBaud(value, options.baud)) {
                return Usage("--baud needs a positive number of bits per second, not \"" + value +
                             "\"");
            } else if (arg == "--link") {
                options.linkPath = value;
            } else if (arg == "--log") {
                logPath = value;
            } else if (arg == "--state") {
                options.stateFile = value;
            } else if (arg == "--description") {
                if (value != "family" && value != "standard") {
                    return Usage("--description is family or standard, not \"" + value + "\"");
                }
                options.standardDescription = value == "standard";
            } else if (arg == "--fault" && !ParseFault(value, fault)) {
                return Usage("unknown fault \"" + value + "\"");
            }
        } else {
            return Usage("unknown argument \"" + arg + "\"");
        }
    }
    options.warn = [](const std::string& text) { std::cerr << "vk4100-sim: " << text << "\n"; };

    // The serving thread inherits the blocked signals; only sigwait below takes them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    vk::sim::SimulatedCamera camera(options);
    std::string error;
    if (!camera.Start(&error)) {
        std::cerr << "vk4100-sim: " << error << "\n";
        return 1;
    }
    camera.SetFault(fault);
    std::cout << camera.DevicePath() << std::endl;

    int received = 0;
    sigwait(&signals, &received);
    camera.Stop();
    if (!logPath.empty()) {
        std::ofstream log(logPath, std::ios::trunc);
        for (const std::string& line : camera.ReceivedLines())
            log << line << '\n';
        if (!log.flush()) {
            std::cerr << "vk4100-sim: cannot write " << logPath << "\n";
            return 1;
        }
    }
    return 0;
}
