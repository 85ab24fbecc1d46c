#pragma once

#include <optional>
#include <string>

namespace vk {

// Why an exchange with the camera ended the way it did.
enum class ExchangeStatus {
    Ok,
    Refused,    // the camera answered, but not with what was asked for
    TimedOut,   // no answer before the time-out
    LineGone,   // the port is closed, unplugged or hung up; nothing could be sent or read
    Overflow,   // bytes without a line end filled the receive buffer
    Busy,       // another exchange or operation holds the line
    Cancelled,  // the user cancelled while it waited
};

const char* StatusName(ExchangeStatus status);

// The result of one exchange, or of a sequence of them. Nothing is shown while it runs:
// `message` is what the caller shows for it, once (empty when it shows nothing: a time-out
// only turns the line status offline).
struct ExchangeResult {
    ExchangeStatus status = ExchangeStatus::Ok;
    std::string request;  // the line sent, without its terminator
    std::string reply;    // the camera's line, letter case as received
    std::string message;

    static ExchangeResult Success() { return {}; }
    static ExchangeResult Failure(ExchangeStatus status, std::string message = {}) {
        ExchangeResult r;
        r.status = status;
        r.message = std::move(message);
        return r;
    }

    bool ok() const { return status == ExchangeStatus::Ok; }
    explicit operator bool() const { return ok(); }
    // A short sentence for a log or a command line: the message, or the status in words.
    std::string Describe() const;
};

// A query's result and, when it is ok, the value the camera answered.
template <typename T>
struct QueryResult : ExchangeResult {
    T value{};

    static QueryResult From(ExchangeResult result, T value = T{}) {
        QueryResult answer;
        static_cast<ExchangeResult&>(answer) = std::move(result);
        answer.value = std::move(value);
        return answer;
    }
};

}  // namespace vk
