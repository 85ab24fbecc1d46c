#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vk::sim {

enum class RequestOp { Set, Query };

// One command line as the camera receives it: "MNEMONIC=value" or "MNEMONIC?[argument]".
struct Request {
    RequestOp op = RequestOp::Query;
    std::string mnemonic;
    std::string argument;  // the text after the operator, possibly empty
};

// Nothing for a line that is neither a set nor a query, or whose mnemonic is not made of
// upper-case letters and digits.
std::optional<Request> ParseRequest(std::string_view line);

}  // namespace vk::sim
