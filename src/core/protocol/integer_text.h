#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// Every way the tool reads an integer from text, one function per kind of reading.
namespace vk {

// What a person typed (a command-line value, a port index, an action's argument): the
// whole text as one decimal number of T, '-' only for a signed T, no '+' and no spaces,
// within T's range; nothing otherwise.
template <typename T>
std::optional<T> ReadTypedNumber(std::string_view text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// A C integer literal as strtol with base 0 reads it (decimal, 0x hex, leading-zero octal).
std::int32_t ParseCInteger(const std::string& text);

// The same literal, but only when the whole text is one and it fits in 32 bits.
std::optional<std::int32_t> ReadCInteger(std::string_view text);

// An integer value as the camera writes it: decimal digits with an optional sign (leading
// zeros allowed), or "&H" and hexadecimal digits read as 32 bits (&HFFFFFFFF is -1).
// Nothing for anything else, trailing characters included, or beyond 32 bits.
std::optional<std::int32_t> ReadIntValue(std::string_view text);

// A camera's answer as the design reads it: "&H" and hexadecimal digits as 32 bits
// (nothing beyond 32 bits), or the leading decimal digits with an optional sign, 0 when
// there are none and the nearest 32-bit value beyond; what follows them is ignored.
std::optional<std::int32_t> ReadReplyInt(std::string_view text);

// Leading decimal digits with an optional sign after any white space; 0 when there are none.
std::int32_t ParseDecimal(const std::string& text);

}  // namespace vk
