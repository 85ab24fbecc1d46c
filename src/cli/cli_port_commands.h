#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "core/comm/port_selection.h"

namespace vk::cli {

// Opens the channel the options select: --mode and --port where given, the stored
// selection otherwise (its port found by name). Only a selection that opens is stored.
bool OpenSelectedChannel(CoreContext& core, const CliOptions& options, std::ostream& err);

int ListPorts(CliSession& s, const std::vector<std::string>& args);

}  // namespace vk::cli
