#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk::cli {

// The `--ports FILE` list: one port a line, an optional label after a tab; blank lines and
// `#` comments are skipped. False with the reason when the file cannot be read or names no
// port.
bool ReadPortsFile(const std::string& path, std::vector<CameraPort>& ports, std::string& error);

// "sim:" or "sim:MODEL": a simulated camera of the model (empty: the default one).
bool IsSimulatedPort(const std::string& port, std::string& model);

// The outcome of the command on one camera, for the summary.
struct CameraRun {
    std::string camera;  // the label, or the port
    int code = kExitFailed;
    double seconds = 0;
    std::string reason;  // the last thing said on its error stream, empty on success
};

// Runs the command on every camera at once, each on its own thread with its own core
// context, output lines prefixed with the camera's label; then one table (camera, result,
// time, reason). 0 when every camera succeeded, 1 when any failed, 2 for a command that
// does not run on many cameras.
int RunManyCameras(const CliOptions& options, const CliCommand& command, std::size_t nameWords,
                   std::ostream& out, std::ostream& err, const CliEnvironment& environment);

// The summary's lines, as printed at the end of a many-camera run.
void PrintSummary(const std::vector<CameraRun>& runs, std::ostream& out);

}  // namespace vk::cli
