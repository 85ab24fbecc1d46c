#include "core/comm/port_search.h"

#include <algorithm>
#include <cstdint>

#include "core/comm/model_check.h"
#include "core/comm/serial_channel.h"
#include "core/operation_runner.h"

namespace vk {
namespace {

constexpr const char* kNoAnswer =
    "No answer from Camera! (Timeout error)\nCheck power on Camera or serial cable connection.";

}  // namespace

std::string ShortOpenReason(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.size() >= 3) return lines[2];
    return lines.empty() ? std::string() : lines.back();
}

std::string PortSearchResult::FailureText() const {
    std::string text = kNoAnswer;
    if (!tried.empty()) {
        text += "\n\nPorts tried:";
        for (const std::string& port : tried)
            text += "\n  " + port;
    }
    return text;
}

PortSearchResult SearchPorts(Operation& operation, SerialChannel& channel, ModelCheck& modelCheck) {
    PortSearchResult result;
    const int listed = channel.GetPortCount();
    for (int index = 0; index < kSearchedPorts && !result.found; ++index) {
        if (operation.Cancelled()) {
            result.cancelled = true;
            break;
        }
        const bool opened = channel.SelectPort(static_cast<std::uint32_t>(index));
        if (opened && modelCheck.Check()) {
            result.found = index;
        } else if (index < listed) {
            const std::string reason = ShortOpenReason(channel.LastOpenError());
            result.tried.push_back(channel.GetPortName(index) +
                                   (opened           ? " (no answer)"
                                    : reason.empty() ? " (cannot open)"
                                                     : " (cannot open: " + reason + ")"));
        }
        operation.Step(index + 1, kSearchedPorts);
    }
    return result;
}

}  // namespace vk
