#pragma once

#include <string>
#include <string_view>

namespace vk {

// Bytes from the line made safe for a terminal: printable ASCII stays, a backslash doubles,
// every other byte (control characters, DEL, anything above 0x7F) becomes "\xNN".
std::string Printable(std::string_view bytes);

// The same for a text of several lines: its line feeds stay.
std::string PrintableLines(std::string_view text);

}  // namespace vk
