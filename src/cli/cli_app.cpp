#include "cli/cli_app.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include "cli/cli_port_commands.h"
#include "cli/json_output.h"
#include "cli/line_streams.h"
#include "cli/log_printer.h"
#include "cli/many_cameras.h"
#include "cli/stderr_user_interface.h"
#include "core/core_context.h"
#include "core/protocol/integer_text.h"
#include "core/simulator_availability.h"
#include "settings/user_settings_backend.h"
#ifdef VK_HAVE_SIMULATOR
#include "sim/simulated_camera.h"
#endif

namespace vk::cli {
namespace {

constexpr const char* kUsage =
    "usage: vk4100ctl [--mode com|cl2000|cl2001|cl11]\n"
    "                 [--port PATH|NAME|INDEX|sim:[MODEL]]... [--ports FILE]\n"
    "                 [--simulate[=MODEL]] [--baud RATE]\n"
    "                 [--timeout MS] [--trace] [--json]\n"
    "                 [--factory] COMMAND [ARGS]\n"
    "       vk4100ctl --help | --version\n";

// "--name=value" or "--name value"; advances i past what it used.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
               std::string& value) {
    const std::string& a = args[i];
    if (a.starts_with(name + "=")) {
        value = a.substr(name.size() + 1);
        return true;
    }
    if (a == name && i + 1 < args.size()) {
        value = args[++i];
        return true;
    }
    return false;
}

// Whether the words start with the name; a name of two words ("lut read") takes two of them.
bool StartsWithName(const std::vector<std::string>& words, const std::string& name,
                    std::size_t& nameWords) {
    const std::size_t n = 1 + static_cast<std::size_t>(std::count(name.begin(), name.end(), ' '));
    if (words.size() < n) return false;
    std::string start = words[0];
    for (std::size_t i = 1; i < n; ++i)
        start += " " + words[i];
    if (start != name) return false;
    nameWords = n;
    return true;
}

// The command the words start with, by its name or its older alias.
const CliCommand* FindCommand(const std::vector<std::string>& words, std::size_t& nameWords) {
    for (const CliCommand& c : CliCommands()) {
        if (StartsWithName(words, c.name, nameWords) ||
            (c.alias != nullptr && StartsWithName(words, c.alias, nameWords))) {
            return &c;
        }
    }
    return nullptr;
}

// The rates of the channel's list and the higher ones a Camera Link library may offer.
constexpr std::array<long long, 8> kSelectableRates = {9600,   19200,  38400,  57600,
                                                       115200, 230400, 460800, 921600};

bool IsSelectableRate(long long rate) {
    return std::find(kSelectableRates.begin(), kSelectableRates.end(), rate) !=
           kSelectableRates.end();
}

std::string SelectableRatesText() {
    std::string text;
    for (long long rate : kSelectableRates)
        text += (text.empty() ? "" : ", ") + std::to_string(rate);
    return text;
}

void PrintUsage(std::ostream& stream) {
    stream << kUsage << "commands:\n";
    for (const auto& c : CliCommands())
        stream << "  " << c.usage << '\n';
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& args, CliOptions& options, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string value;
        long long number = 0;
        if (!options.words.empty() || !a.starts_with("--")) {
            options.words.push_back(a);
        } else if (a == "--simulate") {
            options.simulateModel = "";
        } else if (a.starts_with("--simulate=")) {
            options.simulateModel = a.substr(11);
        } else if (a == "--help") {
            options.help = true;
        } else if (a == "--version") {
            options.version = true;
        } else if (a == "--trace") {
            options.trace = true;
        } else if (a == "--json") {
            options.json = true;
        } else if (a == "--factory") {
            options.factory = true;
        } else if (TakeValue(args, i, "--ports", value)) {
            if (!ReadPortsFile(value, options.ports, error)) return false;
        } else if (TakeValue(args, i, "--port", value)) {
            options.ports.push_back({value, ""});
        } else if (TakeValue(args, i, "--mode", value)) {
            options.mode = ParseChannelMode(value);
            if (!options.mode) {
                error = "bad mode: " + value + " (com, cl2000, cl2001 or cl11)";
                return false;
            }
        } else if (TakeValue(args, i, "--baud", value)) {
            // Only a rate a port or library can be set to: a number beyond 32 bits must not
            // wrap to another one.
            number = ReadTypedNumber<long long>(value).value_or(-1);
            if (!IsSelectableRate(number)) {
                error = "bad baud rate: " + value + " (" + SelectableRatesText() + ")";
                return false;
            }
            options.baud = static_cast<std::uint32_t>(number);
        } else if (TakeValue(args, i, "--timeout", value)) {
            number = ReadTypedNumber<long long>(value).value_or(-1);
            if (number < 0 || number > 600000) {
                error = "bad time-out: " + value;
                return false;
            }
            options.timeoutMs = static_cast<int>(number);
        } else {
            error = "unknown option: " + a;
            return false;
        }
    }
    if (options.ports.size() == 1) {
        std::string model;
        if (IsSimulatedPort(options.ports[0].port, model)) {
            if (options.simulateModel) {
                error = "--port and --simulate exclude each other";
                return false;
            }
            options.simulateModel = model;
        } else {
            options.port = options.ports[0].port;
        }
        options.ports.clear();
    }
    if ((options.port || !options.ports.empty()) && options.simulateModel) {
        error = "--port and --simulate exclude each other";
        return false;
    }
    if (options.simulateModel &&
        options.mode.value_or(ChannelMode::ComPort) != ChannelMode::ComPort) {
        error = "--simulate talks over a COM port (--mode com)";
        return false;
    }
#ifndef VK_HAVE_SIMULATOR
    if (options.simulateModel) {
        error = kNoSimulatorText;
        return false;
    }
#endif
    if (options.words.empty() && !options.help && !options.version) {
        error = "no command given";
        return false;
    }
    return true;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment) {
    CliOptions options;
    std::string error;
    if (!ParseArguments(args, options, error)) {
        err << "vk4100ctl: " << error << '\n';
        PrintUsage(err);
        return kExitUsage;
    }
    if (options.help) {
        PrintUsage(out);
        return kExitOk;
    }
    if (options.version) {
        out << "vk4100ctl " << VK_VERSION << '\n';
        return kExitOk;
    }
    std::size_t nameWords = 1;
    const CliCommand* it = FindCommand(options.words, nameWords);
    const int argc = static_cast<int>(options.words.size() - nameWords);
    if (it == nullptr || argc < it->minArgs || argc > it->maxArgs) {
        err << "vk4100ctl: " << (it == nullptr ? "unknown command: " : "usage: ")
            << (it == nullptr ? options.words[0] : it->usage) << '\n';
        if (it == nullptr) PrintUsage(err);
        if (options.json) {
            PrintJson(out, ErrorJson(it == nullptr ? "unknown command: " + options.words[0]
                                                   : std::string("usage: ") + it->usage,
                                     "", ""));
        }
        return kExitUsage;
    }

    if (!options.ports.empty()) {
        return RunManyCameras(options, *it, nameWords, out, err, environment);
    }
    return RunCommand(options, *it, nameWords, out, err, environment);
}

namespace {

// The command on an open context; with `trail` the last exchange is kept there.
int RunInContext(CoreContext& core, const CliOptions& options, const CliCommand& command,
                 std::size_t nameWords, std::ostream& out, std::ostream& err,
                 const CliEnvironment& environment, ExchangeLines* trail,
                 const std::string& simulatedDevice) {
    const CliCommand* it = &command;
    const int argc = static_cast<int>(options.words.size() - nameWords);
    std::optional<ExchangeTrail> exchanges;
    if (trail) exchanges.emplace(core.logs.messages, *trail);
    std::optional<LogPrinter> trace;
    if (options.trace) trace.emplace(core.logs.terminal, err, LogPrinter::Stamp::WithHour);

    // A command's "list" only prints what the tool knows; it needs no camera.
    const bool listing = argc == 1 && options.words[1] == "list";
    if (it->needsCamera && !listing && argc != it->filesOnlyArgs) {
        const std::uint32_t baud = options.baud ? options.baud : core.channel.BaudRate();
        bool opened = false;
        if (!simulatedDevice.empty()) {
            core.port.PinPort(simulatedDevice);
            opened = core.channel.OpenChannel(ChannelMode::ComPort, baud, 0);
            if (!opened) err << "vk4100ctl: cannot open the simulated camera's port\n";
        } else {
            opened = OpenSelectedChannel(core, options, err);
        }
        if (!opened) return kExitFailed;
    }
    CliSession session{core, options, out, err};
    session.in = environment.in;
    const std::vector<std::string> commandArgs(
        options.words.begin() + static_cast<std::ptrdiff_t>(nameWords), options.words.end());
    int code = kExitFailed;
    const ExchangeResult outcome =
        core.runner.Run({it->name, true, false, true}, [&](Operation& operation) {
            session.operation = &operation;
            code = it->run(session, commandArgs);
            return ExchangeResult::Success();
        });
    core.channel.CloseChannel();
    // A stop signal counts as Cancel also where the command saw none (one waiting on input).
    const bool stopped = environment.interrupted && environment.interrupted->load();
    if (outcome.status == ExchangeStatus::Cancelled || stopped) {
        err << "vk4100ctl: cancelled\n";
        return kExitFailed;
    }
    return code;
}

// Runs the command; with `trail` the last exchange is kept there.
int RunOnCamera(const CliOptions& options, const CliCommand& command, std::size_t nameWords,
                std::ostream& out, std::ostream& err, const CliEnvironment& environment,
                ExchangeLines* trail) {
    std::string error;
    StderrUserInterface ui(err, environment.progressOnStderr, environment.interrupted);
    // A simulated session leaves the stored channel selection alone.
    MemorySettingsBackend memorySettings;
    std::unique_ptr<settings::UserSettingsBackend> storedSettings;
    if (!options.simulateModel && options.storeSelection) {
        storedSettings = std::make_unique<settings::UserSettingsBackend>();
    }
    if (storedSettings && !storedSettings->Problem().empty()) {
        err << "vk4100ctl: the stored settings are not used: " << storedSettings->Problem() << '\n';
    }
    SettingsBackend& settingsBackend =
        storedSettings ? static_cast<SettingsBackend&>(*storedSettings) : memorySettings;
    std::string simulatedDevice;  // the simulated camera's port, when one runs
#ifdef VK_HAVE_SIMULATOR
    std::unique_ptr<sim::SimulatedCamera> camera;
    if (options.simulateModel) {
        sim::SimOptions simOptions;
        if (!options.simulateModel->empty()) simOptions.model = *options.simulateModel;
        if (options.simulateLineSpeed) simOptions.baud = options.baud;
        camera = std::make_unique<sim::SimulatedCamera>(simOptions);
        if (!camera->Start(&error)) {
            err << "vk4100ctl: cannot start the simulated camera: " << error << '\n';
            return kExitFailed;
        }
        simulatedDevice = camera->DevicePath();
    }
#endif
    CoreContext core(ui, settingsBackend);
    const int code = RunInContext(core, options, command, nameWords, out, err, environment, trail,
                                  simulatedDevice);
    // Also after a failed command: the program itself ended the normal way.
    core.SaveAtNormalEnd();
    return code;
}

}  // namespace

int RunCommand(const CliOptions& options, const CliCommand& command, std::size_t nameWords,
               std::ostream& out, std::ostream& err, const CliEnvironment& environment) {
    if (!options.json) {
        return RunOnCamera(options, command, nameWords, out, err, environment, nullptr);
    }
    // A failure that printed no document says so in one: the last thing said on the error
    // stream, with the exchange it ended on.
    std::mutex lock;
    LineStream outLines(out, lock);
    LineStream errLines(err, lock);
    std::ostream jsonOut(&outLines);
    std::ostream jsonErr(&errLines);
    ExchangeLines trail;
    const int code =
        RunOnCamera(options, command, nameWords, jsonOut, jsonErr, environment, &trail);
    outLines.Flush();
    errLines.Flush();
    if (code != kExitOk && !outLines.Wrote()) {
        std::string reason = errLines.LastLine();
        if (reason.starts_with("vk4100ctl: ")) reason.erase(0, 11);
        PrintJson(out, ErrorJson(reason, trail.request, trail.reply));
    }
    return code;
}

}  // namespace vk::cli
