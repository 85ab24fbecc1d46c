#pragma once

#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk::cli {

// "action list" prints every camera action of the pages; "action NAME [ARGS]" runs one and
// prints what came of it (a read value, a result's text); the exit status is 0 only when
// the camera completed it (with the result "Complete" for an automatic function).
int ActionCommand(CliSession& s, const std::vector<std::string>& args);

// "area current|load N|store N|store-all": the camera's flash areas.
int AreaCommand(CliSession& s, const std::vector<std::string>& args);

}  // namespace vk::cli
