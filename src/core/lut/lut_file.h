#pragma once

#include <filesystem>
#include <istream>
#include <string>

#include "core/lut/lut_table.h"

namespace vk::lut {

// The "Camera gamma data" file: a header line, then one line per entry with the red, green
// and blue values separated by commas, every line ending in CR LF.
inline constexpr const char* kLutFileHeader = "GammaData (R G B)";
inline constexpr const char* kLineFormatError = "Invaild line format";
inline constexpr const char* kDataCountError = "Invaild data count format";
inline constexpr const char* kTooManyDataError = "Too many data";

struct LutLoad {
    bool ok = false;
    std::string error;   // why the load failed
    std::string notice;  // the first value above 4095, when one was limited
    Tables tables{};     // after the load; entries the file has no line for keep their value
    int dataLines = 0;
};

// Reads the whole file before anything is taken over, so a file that fails changes no
// table. The first line is skipped whatever it holds; lines are taken in pieces of at most
// 126 characters; in a data line digits make up the values, commas end them and every
// other character is skipped.
LutLoad ParseLutFile(std::istream& in, const Tables& current);
LutLoad LoadLutFile(const std::filesystem::path& path, const Tables& current);

std::string FormatLutFile(const Tables& tables);
// Saved through a temporary file, so a failed save leaves the previous file as it was.
bool SaveLutFile(const std::filesystem::path& path, const Tables& tables, std::string* error);

// The message of a file that cannot be opened or written.
std::string CouldNotOpenMessage(const std::filesystem::path& path);

}  // namespace vk::lut
