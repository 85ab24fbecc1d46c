#include "core/protocol/exchange_result.h"

namespace vk {

const char* StatusName(ExchangeStatus status) {
    switch (status) {
        case ExchangeStatus::Ok:
            return "ok";
        case ExchangeStatus::Refused:
            return "refused by the camera";
        case ExchangeStatus::TimedOut:
            return "no answer from the camera (time-out)";
        case ExchangeStatus::LineGone:
            return "the line to the camera is gone";
        case ExchangeStatus::Overflow:
            return "a line without end filled the receive buffer";
        case ExchangeStatus::Busy:
            return "another operation is using the camera";
        case ExchangeStatus::Cancelled:
            return "cancelled";
    }
    return "unknown";
}

std::string ExchangeResult::Describe() const {
    if (!message.empty()) return message;
    std::string text = StatusName(status);
    if (!request.empty()) text += " (" + request + ")";
    return text;
}

}  // namespace vk
