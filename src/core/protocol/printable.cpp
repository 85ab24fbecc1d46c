#include "core/protocol/printable.h"

#include <algorithm>

namespace vk {

std::string Printable(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\\') {
            text += "\\\\";
        } else if (b >= 0x20 && b < 0x7F) {
            text += c;
        } else {
            text += "\\x";
            text += kDigits[b >> 4];
            text += kDigits[b & 0xF];
        }
    }
    return text;
}

std::string PrintableLines(std::string_view text) {
    std::string lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (start > 0) lines += '\n';
        lines += Printable(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace vk
