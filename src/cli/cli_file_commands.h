#pragma once

#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk::cli {

// Camera setting files.
// "save FILE [--shipping]": reads the camera first (the command line holds no values of its
// own), then writes All Data (or Shipping Data).
int SaveCommand(CliSession& s, const std::vector<std::string>& args);
// "load FILE [--changed-only]": sends the file's lines (only those the camera lacks).
int LoadCommand(CliSession& s, const std::vector<std::string>& args);
// "diff FILE [FILE2]": one row per value that differs between the file and the camera (or
// FILE2, without a camera); exit status 0 when nothing differs, 1 when something does.
int DiffCommand(CliSession& s, const std::vector<std::string>& args);

}  // namespace vk::cli
