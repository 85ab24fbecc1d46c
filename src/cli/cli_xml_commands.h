#pragma once

#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk::cli {

// xml download [FILE]: the camera's description file, saved as FILE (default _download.zip).
int XmlDownloadCommand(CliSession& s, const std::vector<std::string>& args);
// xml features FILE: every feature of a description's node map (.xml or its zip), a line
// each: Name, DisplayName, kind, access, address, length, min, max, unit, entries, category
// path, availability; tab-separated.
int XmlFeaturesCommand(CliSession& s, const std::vector<std::string>& args);
// xml tree FILE: the category tree, indented two blanks a level.
int XmlTreeCommand(CliSession& s, const std::vector<std::string>& args);
// xml get NAME, xml set NAME VALUE, xml execute NAME [--file FILE]: a feature of the
// camera's node map (its own description unless FILE gives it).
int XmlGetCommand(CliSession& s, const std::vector<std::string>& args);
int XmlSetCommand(CliSession& s, const std::vector<std::string>& args);
int XmlExecuteCommand(CliSession& s, const std::vector<std::string>& args);
// xml read-all FILE: every readable feature of the description read from the camera.
int XmlReadAllCommand(CliSession& s, const std::vector<std::string>& args);
// reg read ADDRESS [LENGTH] [--text|--float] and reg write ADDRESS VALUE [--text|--float].
int RegReadCommand(CliSession& s, const std::vector<std::string>& args);
int RegWriteCommand(CliSession& s, const std::vector<std::string>& args);

}  // namespace vk::cli
