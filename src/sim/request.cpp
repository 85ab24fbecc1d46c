#include "sim/request.h"

#include <algorithm>

namespace vk::sim {

std::optional<Request> ParseRequest(std::string_view line) {
    const std::size_t op = line.find_first_of("=?");
    if (op == std::string_view::npos || op == 0) {
        return std::nullopt;
    }
    const std::string_view mnemonic = line.substr(0, op);
    const bool wellFormed = std::all_of(mnemonic.begin(), mnemonic.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
    if (!wellFormed) {
        return std::nullopt;
    }
    Request request;
    request.op = line[op] == '=' ? RequestOp::Set : RequestOp::Query;
    request.mnemonic = std::string(mnemonic);
    request.argument = std::string(line.substr(op + 1));
    return request;
}

}  // namespace vk::sim
