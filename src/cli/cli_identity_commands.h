#pragma once

#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk::cli {

// The information window's camera fields, one "name: value" line each.
int InfoCommand(CliSession& s, const std::vector<std::string>& args);
// Prints the id, or writes the one given (the camera id only with --factory).
int UserIdCommand(CliSession& s, const std::vector<std::string>& args);
int CameraIdCommand(CliSession& s, const std::vector<std::string>& args);
// Prints the device version number, or writes the one given (with --factory).
int DeviceVersionCommand(CliSession& s, const std::vector<std::string>& args);
// lens AXIS WAY MS: moves the lens for MS milliseconds, then stops; Ctrl-C stops it early.
int LensCommand(CliSession& s, const std::vector<std::string>& args);
// Sends each line of the input as typed and prints the terminal log's lines as they come.
int TerminalCommand(CliSession& s, const std::vector<std::string>& args);

}  // namespace vk::cli
