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
    "                 again MS later), hang-up, or pending[=N] (register requests\n"
    "                 answered by pending acknowledgements: for ever, or N then the answer)\n"
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
    // A pending acknowledgement asks for this long each time.
    constexpr int kPendingMs = 1000;
    struct Named {
        const char* name;
        Fault fault;
        int delayMs;
    };
    static const Named kFaults[] = {
        {"silent", Fault::Silent, 0},
        {"garbage", Fault::Garbage, 0},
        {"wrong-mnemonic", Fault::WrongMnemonic, 0},
        {"error-on-set", Fault::ErrorOnSet, 0},
        {"overlong", Fault::Overlong, 0},
        {"hang-up", Fault::HangUp, 0},
        {"twice", Fault::Twice, 0},
        {"pending", Fault::Pending, kPendingMs},
    };
    for (const Named& named : kFaults) {
        if (text == named.name) {
            settings.fault = named.fault;
            settings.delayMs = named.delayMs;
            return true;
        }
    }
    // Faults with a number: "delay=MS", "twice=MS", "pending=N" (N acknowledgements, then
    // the answer).
    struct Numbered {
        std::string_view prefix;
        Fault fault;
        int vk::sim::FaultSettings::*number;
        int delayMs;
    };
    static const Numbered kNumbered[] = {
        {"delay=", Fault::Delay, &vk::sim::FaultSettings::delayMs, 0},
        {"twice=", Fault::Twice, &vk::sim::FaultSettings::delayMs, 0},
        {"pending=", Fault::Pending, &vk::sim::FaultSettings::pendingAcks, kPendingMs},
    };
    for (const Numbered& numbered : kNumbered) {
        if (!text.starts_with(numbered.prefix)) continue;
        const std::string digits = text.substr(numbered.prefix.size());
        if (digits.empty() || digits.size() > 6 ||
            digits.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        settings.fault = numbered.fault;
        settings.delayMs = numbered.delayMs;
        settings.*numbered.number = std::stoi(digits);
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
