#pragma once

#include <string>
#include <vector>

#include "cli_app.h"

namespace vk::cli {

// Camera setting files: "save [--shipping] FILE" (reads the camera first: the command line
// holds no values of its own), "load [--changed-only] FILE" and "diff FILE" (exit status 0
// when the camera holds every value of the file, 1 when something differs).
int FileCommand(CliSession& s, const std::vector<std::string>& args);

}  // namespace vk::cli
