#pragma once

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/comm/serial_channel.h"

namespace vk {
class CoreContext;
class Operation;
}  // namespace vk

namespace vk::cli {

// One camera of a many-camera run: its port ("sim:MODEL" for a simulated one) and label.
struct CameraPort {
    std::string port;
    std::string label;  // empty: the port names it
};

struct CliOptions {
    std::optional<std::string> port;           // a device path, a port name or an index
    std::vector<CameraPort> ports;             // more than one: the command runs on each
    std::optional<ChannelMode> mode;           // channel mode from --mode
    std::optional<std::string> simulateModel;  // set when --simulate was given
    std::uint32_t baud = 0;                    // 0: the stored rate
    int timeoutMs = 2500;
    bool trace = false;
    bool json = false;     // --json: documents on standard output, failures as error objects
    bool factory = false;  // factory mode instead of user mode
    bool help = false;     // --help: the usage on standard output
    bool version = false;  // --version
    std::vector<std::string> words;  // the command and its arguments
    bool storeSelection = true;      // a port that opened becomes the stored selection
    bool simulateLineSpeed = false;  // the simulated camera's line runs at --baud
};

// What a command runs against.
struct CliSession {
    CoreContext& core;
    const CliOptions& options;
    std::ostream& out;
    std::ostream& err;
    Operation* operation = nullptr;  // the run of this command, for progress and Ctrl-C
    std::istream* in = nullptr;      // standard input unless a caller gives another
};

using CommandHandler = int (*)(CliSession&, const std::vector<std::string>& args);

struct CliCommand {
    const char* name;
    const char* usage;
    int minArgs;
    int maxArgs;
    bool needsCamera;
    CommandHandler run;
    const char* alias = nullptr;  // an older name that still runs the command
    int filesOnlyArgs = -1;       // with this many arguments it reads files only: no port
};

const std::vector<CliCommand>& CliCommands();

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the camera refused or did not answer
inline constexpr int kExitUsage = 2;   // the command line or an argument is wrong

// Parses the arguments; false with a message for a bad command line.
bool ParseArguments(const std::vector<std::string>& args, CliOptions& options, std::string& error);

// What the program's surroundings give a run: whether progress may be drawn on the error
// stream (a terminal), and the flag that Ctrl-C raises.
struct CliEnvironment {
    bool progressOnStderr = false;
    const std::atomic<bool>* interrupted = nullptr;
    std::istream* in = nullptr;  // what commands read from; null: standard input
};

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment = {});

// Runs a parsed command on the one camera the options select (RunCli's last step).
int RunCommand(const CliOptions& options, const CliCommand& command, std::size_t nameWords,
               std::ostream& out, std::ostream& err, const CliEnvironment& environment);

}  // namespace vk::cli
