#pragma once

#include <string>

#include "core/protocol/exchange_result.h"

namespace vk {

class Exchange;

inline constexpr int kTerminalTimeoutMs = 2500;

// Sends a line typed by hand, exactly as typed, with CR LF, and waits for the first line
// that answers it, so the exchanges after it stay in step. Every line either way lands in
// the terminal log; nothing is shown as a message (the log is the answer). A blank line is
// sent without waiting. A text holding a line end is refused unsent: it would be two
// commands.
ExchangeResult SendTerminalLine(Exchange& exchange, const std::string& text,
                                int timeoutMs = kTerminalTimeoutMs);

}  // namespace vk
