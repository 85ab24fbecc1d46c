#include "protocol/printable.h"

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

}  // namespace vk
