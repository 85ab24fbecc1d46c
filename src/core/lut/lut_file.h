#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/lut/lut_table.h"

namespace vk::lut {

// The "Camera gamma data" file: a header line, then one line per entry with the red, green
// and blue values separated by commas, every line ending in CR LF.
inline constexpr const char* kLutFileHeader = "GammaData (R G B)";
inline constexpr const char* kLineFormatError = "Invaild line format";
inline constexpr const char* kDataCountError = "Invaild data count format";
inline constexpr const char* kTooManyDataError = "Too many data";

inline constexpr const char* kTooFewDataError = "Too few data";
// Far above a file of 256 lines of three values; anything larger is refused unread.
inline constexpr std::uintmax_t kMaxLutFileBytes = 64u << 10;

struct LutLoad {
    bool ok = false;
    std::string error;   // why the load failed, with the file's line: "...: Line(N)"
    std::string notice;  // the first value above 4095, when one was limited
    Tables tables{};     // the file's tables, when it loaded
};

// A LUT file is exactly the header line and 256 data lines of three whole numbers (blanks
// around a number are allowed, blank lines after the last entry too); anything else is
// refused with its line. A number above 4095 is taken as 4095, with
// a notice naming its line. CR LF and LF both end a line.
LutLoad ParseLutFile(std::string_view text);
// The same for a file; an error starts with the path and a line break. Only a regular file
// is read, and opening it never waits.
LutLoad LoadLutFile(const std::filesystem::path& path);

std::string FormatLutFile(const Tables& tables);
// Saved through a temporary file, so a failed save leaves the previous file as it was; the
// error is the path, the design's text and the reason, a line each.
bool SaveLutFile(const std::filesystem::path& path, const Tables& tables, std::string* error);

// The message of a file that cannot be opened or written.
std::string CouldNotOpenMessage(const std::filesystem::path& path);

}  // namespace vk::lut
