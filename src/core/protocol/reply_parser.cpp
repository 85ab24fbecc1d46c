#include "core/protocol/reply_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
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

// A garbled line (a NUL, an ESC) carries no value of any kind.
bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
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
    const bool negative = text.starts_with('-');
    if (text.starts_with('-') || text.starts_with('+')) text.remove_prefix(1);
    long long magnitude = 0;
    for (char c : text) {
        if (!IsDigit(c)) break;
        magnitude = std::min<long long>(magnitude * 10 + (c - '0'), 1LL << 32);
    }
    return Clamp32(negative ? -magnitude : magnitude);
}

bool IsCompleteReply(std::string_view line) {
    static constexpr std::string_view kComplete = "COMPLETE";
    if (line.size() < kComplete.size()) return false;
    for (std::size_t i = 0; i < kComplete.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(line[i])) != kComplete[i]) return false;
    }
    return true;
}

std::int32_t ParseDecimal(const std::string& text) {
    return Clamp32(std::strtoll(text.c_str(), nullptr, 10));
}

std::string FormatValue(const ParamValue& value) {
    switch (value.kind) {
        case ValueKind::Int:
            return std::to_string(value.intValue);
        case ValueKind::String:
            return value.text;
    }
    return {};
}

namespace {

bool Parse(const CommandTable& table, std::string_view line, ParsedReply& reply) {
    for (char c : line) {
        if (c != ' ' && c != '\r' && c != '\n') reply.raw.push_back(c);
    }
    std::string upper = reply.raw;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });

    auto opPos = upper.find('=');
    if (opPos == std::string::npos) opPos = upper.find('?');
    if (opPos == std::string::npos) return false;
    const auto comma = upper.find(',');

    reply.mnemonic = upper.substr(0, opPos);
    reply.op = upper.substr(opPos, 1);
    const std::string rest = upper.substr(opPos + 1);
    // Text values keep the letter case the camera sent (same positions in raw and upper).
    std::string value1AsReceived = reply.raw.substr(opPos + 1);
    if (reply.op == "=") {
        if (comma == std::string::npos || comma < opPos) {
            reply.value1 = rest;
            reply.valueCount = 1;
        } else {
            reply.value1 = upper.substr(opPos + 1, comma - opPos - 1);
            value1AsReceived = reply.raw.substr(opPos + 1, comma - opPos - 1);
            reply.value2 = upper.substr(comma + 1);
            reply.firstInt = ParseDecimal(reply.value1);
            reply.valueCount = 2;
        }
    } else {
        reply.value1 = rest;
        reply.valueCount = rest.empty() ? 0 : 1;
    }

    reply.commandId = table.Find(reply.mnemonic);
    if (reply.commandId == kNoCommand) return false;
    const CommandEntry& entry = table.Entry(reply.commandId);
    if (HasControlCharacter(rest)) return false;

    // Every kind carries the text as received.
    reply.value.kind = entry.kind;
    reply.value.text = value1AsReceived;
    // A query line without an argument carries no value to judge.
    if (reply.valueCount > 0) {
        switch (entry.kind) {
            case ValueKind::Int: {
                // A camera's answer as the design reads it; a query's argument and a pair
                // stay strict.
                auto number = reply.op == "=" && reply.valueCount == 1 ? ReadReplyInt(reply.value1)
                                                                       : ReadIntValue(reply.value1);
                // Both values of a pair are read as C integer literals.
                if (reply.valueCount == 2) {
                    if (!ReadCInteger(reply.value2)) return false;
                    if (!number) number = ReadCInteger(reply.value1);
                }
                if (!number) return false;
                reply.value.intValue = *number;
                break;
            }
            case ValueKind::String:
                break;
        }
    }
    return true;
}

}  // namespace

ParsedReply ParseReply(const CommandTable& table, std::string_view line) {
    ParsedReply reply;
    reply.valid = Parse(table, line, reply);
    return reply;
}

}  // namespace vk
