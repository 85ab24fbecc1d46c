#include "protocol/reply_parser.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vk {
namespace {

// Numbers beyond 32 bits read as the nearest 32-bit value, as a 32-bit strtol gives them.
std::int32_t Clamp32(long long v) {
    return static_cast<std::int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

// "&H" followed by hexadecimal digits, read as 32 bits: &HFFFFFFFF is -1.
std::int32_t ParseAmpersandHex(const std::string& text) {
    const unsigned long long v = std::strtoull(text.c_str() + 2, nullptr, 16);
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(std::min<unsigned long long>(v, UINT32_MAX)));
}

}  // namespace

std::int32_t ParseCInteger(const std::string& text) {
    return Clamp32(std::strtoll(text.c_str(), nullptr, 0));
}

std::int32_t ParseDecimal(const std::string& text) {
    return Clamp32(std::strtoll(text.c_str(), nullptr, 10));
}

std::string FormatValue(const CommandEntry& entry, const ParamValue& value) {
    switch (entry.kind) {
        case ValueKind::Int:
            return std::to_string(value.intValue);
        case ValueKind::Float: {
            char format[16];
            std::snprintf(format, sizeof format, "%%.%uf", entry.decimals);
            char buf[64];
            std::snprintf(buf, sizeof buf, format, value.floatValue);
            return buf;
        }
        case ValueKind::String:
            return value.text;
    }
    return {};
}

bool ParseReply(const CommandTable& table, std::string_view line, ParsedReply& reply) {
    reply = ParsedReply{};
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
    reply.decimals = entry.decimals;

    reply.value.kind = entry.kind;
    switch (entry.kind) {
        case ValueKind::Int:
            if (reply.value1.starts_with("&H")) {
                reply.value.intValue = ParseAmpersandHex(reply.value1);
            } else {
                reply.value.intValue = ParseDecimal(reply.value1);
            }
            break;
        case ValueKind::Float:
            reply.value.floatValue = std::strtod(reply.value1.c_str(), nullptr);
            reply.value.intValue = Clamp32(static_cast<long long>(
                std::trunc(reply.value.floatValue * std::pow(10.0, entry.decimals))));
            break;
        case ValueKind::String:
            break;
    }
    // Every kind carries the text as received, for the few numeric commands that hold text.
    reply.value.text = value1AsReceived;
    reply.error = 0;
    return true;
}

}  // namespace vk
