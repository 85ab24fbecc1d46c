#pragma once

#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk::cli {

// LUT transfers and files. CH is r, g, b or all; FILE is a "Camera gamma data" file.

// lut read [CH] [FILE]: the camera's tables. Without FILE they are printed: one value per
// line for one channel, the file's lines for all. A FILE that holds a LUT file keeps the
// columns of the channels not read.
int LutReadCommand(CliSession& s, const std::vector<std::string>& args);
// lut write CH FILE: the file's column of CH (each column for all) into the camera.
int LutWriteCommand(CliSession& s, const std::vector<std::string>& args);
// lut save FILE: all three tables from the camera into FILE.
int LutSaveCommand(CliSession& s, const std::vector<std::string>& args);
// lut load FILE: all three tables of FILE into the camera.
int LutLoadCommand(CliSession& s, const std::vector<std::string>& args);
// lut make --gamma G | --linear [FILE]: a standard curve in all three columns.
int LutMakeCommand(CliSession& s, const std::vector<std::string>& args);

}  // namespace vk::cli
