#include "core/comm/terminal_line.h"

#include "core/protocol/exchange.h"

namespace vk {

ExchangeResult SendTerminalLine(Exchange& exchange, const std::string& text, int timeoutMs) {
    if (text.find_first_of("\r\n") != std::string::npos) {
        return ExchangeResult::Failure(ExchangeStatus::Refused, "A line end inside the text");
    }
    // A camera does not answer a line with nothing on it; waiting would leave an answer
    // owed that the next exchange's reply could be mistaken for.
    if (text.find_first_not_of(' ') == std::string::npos)
        return exchange.SendRawLine(text + "\r\n");
    return exchange.SendLine(text + "\r\n", timeoutMs, false);
}

}  // namespace vk
