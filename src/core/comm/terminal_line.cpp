#include "comm/terminal_line.h"

#include "camera_info/reporter_scope.h"
#include "protocol/command.h"

namespace vk {

ExchangeResult SendTerminalLine(Command& command, const std::string& text, int timeoutMs) {
    if (text.find_first_of("\r\n") != std::string::npos) {
        return ExchangeResult::Failure(ExchangeStatus::Refused, "A line end inside the text");
    }
    QuietReporter quiet;
    const ReporterScope scope(command, quiet);
    // A camera does not answer a line with nothing on it; waiting would leave an answer
    // owed that the next exchange's reply could be mistaken for.
    if (text.find_first_not_of(' ') == std::string::npos) return command.SendRawLine(text + "\r\n");
    return command.SendLine(text + "\r\n", timeoutMs, false);
}

}  // namespace vk
