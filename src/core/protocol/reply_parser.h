#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/protocol/command_table.h"
#include "core/protocol/integer_text.h"
#include "core/protocol/param_value.h"

namespace vk {

// One reply or setting line taken apart.
struct ParsedReply {
    std::string raw;       // without spaces, CR and LF; letter case as received
    std::string mnemonic;  // upper case
    std::string op;        // "=" or "?"
    std::string value1;    // upper case
    std::string value2;    // after the first comma, upper case
    std::uint32_t valueCount = 0;
    CommandId commandId = kNoCommand;
    std::int32_t firstInt = 0;  // value1 as a decimal number, for two-value lines
    // False when the line has no operator, names no command, or carries a value its command
    // cannot use: a number that is malformed or beyond 32 bits, or a control character. The
    // parts found before that are filled in all the same.
    bool valid = false;
    ParamValue value;
};

// Takes a line apart against the command table.
ParsedReply ParseReply(const CommandTable& table, std::string_view line);

// Whether a line is the camera's acknowledgement of a set: it starts with "COMPLETE" in any
// letter case.
bool IsCompleteReply(std::string_view line);

// The value text of a set line, as its kind says.
std::string FormatValue(const ParamValue& value);

}  // namespace vk
