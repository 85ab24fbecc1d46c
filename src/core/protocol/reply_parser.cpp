#include "core/protocol/reply_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vk {
namespace {

// A garbled line (a NUL, an ESC) carries no value of any kind.
bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

}  // namespace

bool IsCompleteReply(std::string_view line) {
    static constexpr std::string_view kComplete = "COMPLETE";
    if (line.size() < kComplete.size()) return false;
    for (std::size_t i = 0; i < kComplete.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(line[i])) != kComplete[i]) return false;
    }
    return true;
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
