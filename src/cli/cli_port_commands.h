#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk::cli {

// "com", "cl2000", "cl2001", "cl11" -> channel mode 0-3.
bool ParseChannelMode(const std::string& text, std::uint32_t& mode);
const char* ChannelModeOption(std::uint32_t mode);

// Opens the channel the options select: --mode and --port where given, the stored
// selection otherwise (its port found by name). Only a selection that opens is stored.
bool OpenSelectedChannel(CoreContext& core, const CliOptions& options, std::ostream& err);

int ListPorts(CliSession& s, const std::vector<std::string>& args);

}  // namespace vk::cli
