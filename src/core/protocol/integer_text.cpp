#include "core/protocol/integer_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

namespace vk {
namespace {

// Numbers beyond 32 bits read as the nearest 32-bit value, as a 32-bit strtol gives them.
std::int32_t Clamp32(long long v) {
    return static_cast<std::int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading decimal digits with an optional sign, 0 when there are none; beyond 32 bits
// the nearest 32-bit value. What follows the digits is ignored.
std::int32_t LeadingDecimal(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (text.starts_with('-') || text.starts_with('+')) text.remove_prefix(1);
    long long magnitude = 0;
    for (char c : text) {
        if (!IsDigit(c)) break;
        magnitude = std::min<long long>(magnitude * 10 + (c - '0'), 1LL << 32);
    }
    return Clamp32(negative ? -magnitude : magnitude);
}

// The whole text as one number of type T in `base`; a leading "+" is allowed where the
// text also has digits.
template <typename T>
std::optional<T> ReadWhole(std::string_view text, int base) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

}  // namespace

std::int32_t ParseCInteger(const std::string& text) {
    return Clamp32(std::strtoll(text.c_str(), nullptr, 0));
}

std::optional<std::int32_t> ReadCInteger(std::string_view text) {
    std::string_view digits = text;
    const bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    int base = 10;
    if (digits.size() > 1 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    } else if (digits.size() > 1 && digits[0] == '0') {
        base = 8;
    }
    // The sign was taken off, so what is left must start with a digit of the base.
    if (digits.empty() || digits[0] == '+' || digits[0] == '-') return std::nullopt;
    const auto magnitude = ReadWhole<std::uint64_t>(digits, base);
    if (!magnitude) return std::nullopt;
    const auto limit = negative ? std::uint64_t{1} << 31 : std::uint64_t{INT32_MAX};
    if (*magnitude > limit) return std::nullopt;
    const auto v = static_cast<std::int64_t>(*magnitude);
    return static_cast<std::int32_t>(negative ? -v : v);
}

std::optional<std::int32_t> ReadIntValue(std::string_view text) {
    if (text.starts_with("&H")) {
        text.remove_prefix(2);
        if (text.empty() || !std::isxdigit(static_cast<unsigned char>(text[0]))) {
            return std::nullopt;
        }
        const auto bits = ReadWhole<std::uint32_t>(text, 16);
        if (!bits) return std::nullopt;
        return static_cast<std::int32_t>(*bits);
    }
    if (text.empty() || !(IsDigit(text[0]) || text[0] == '+' || text[0] == '-')) {
        return std::nullopt;
    }
    return ReadWhole<std::int32_t>(text, 10);
}

std::optional<std::int32_t> ReadReplyInt(std::string_view text) {
    if (text.starts_with("&H")) {
        text.remove_prefix(2);
        std::uint64_t bits = 0;
        for (char c : text) {
            if (!std::isxdigit(static_cast<unsigned char>(c))) break;
            bits =
                bits * 16 + static_cast<std::uint64_t>(std::isdigit(static_cast<unsigned char>(c))
                                                           ? c - '0'
                                                           : std::toupper(c) - 'A' + 10);
            if (bits > UINT32_MAX) return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
    }
    return LeadingDecimal(text);
}

std::int32_t ParseDecimal(const std::string& text) {
    std::string_view rest = text;
    while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest[0])))
        rest.remove_prefix(1);
    return LeadingDecimal(rest);
}

}  // namespace vk
