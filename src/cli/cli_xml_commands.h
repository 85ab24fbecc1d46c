#pragma once

#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk::cli {

// xml download [FILE]: the camera's description file, saved as FILE (default _download.zip).
int XmlDownloadCommand(CliSession& s, const std::vector<std::string>& args);
// xml features FILE: the feature table of a description (.xml or its zip), a line a record.
int XmlFeaturesCommand(CliSession& s, const std::vector<std::string>& args);
// xml read-all FILE: every readable feature of the description read from the camera.
int XmlReadAllCommand(CliSession& s, const std::vector<std::string>& args);
// reg read ADDRESS [LENGTH] [--text|--float] and reg write ADDRESS VALUE [--text|--float].
int RegReadCommand(CliSession& s, const std::vector<std::string>& args);
int RegWriteCommand(CliSession& s, const std::vector<std::string>& args);

}  // namespace vk::cli
