#pragma once

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "core/protocol/exchange_result.h"
#include "core/user_interface.h"

namespace vk {

class Exchange;

// What an operation's body sees of its run: the camera, progress and Cancel.
class Operation {
public:
    Operation(Exchange& exchange, UserInterface& ui, const OperationInfo& info);

    Exchange& exchange;

    void SetText(const std::string& text);
    // Step `done` of `total` finished.
    void Step(int done, int total);
    void SetPercent(int percent);
    // Lets the windows breathe between steps; true once the user asked to stop (only for a
    // cancellable operation). A body checks it between steps and returns Cancelled.
    bool Cancelled();
    bool WasCancelled() const { return cancelled_; }

private:
    UserInterface& ui_;
    const OperationInfo& info_;
    bool cancelled_ = false;
};

// Every camera operation, from one set on a page to a full read or a file load, runs
// through here: one at a time (a second one is refused as busy, never interleaved on the
// wire), with the line held against the idle reader, the tool windows switched off,
// progress, Cancel between steps and the event loop kept turning while it waits. All of it
// is undone on every way out. Nothing below shows a failure; the runner shows the outcome.
class OperationRunner {
public:
    using Body = std::function<ExchangeResult(Operation&)>;

    OperationRunner(Exchange& exchange, UserInterface& ui) : exchange_(exchange), ui_(ui) {}

    // Shows the outcome once, unless the caller shows it itself: its message, and a line
    // without end that the outcome does not tell of already.
    ExchangeResult Run(const OperationInfo& info, const Body& body);
    bool Running() const { return running_; }
    // A service that learns during an operation what the user must hear once (an
    // unsupported camera) leaves it with its source; the runner shows it after the body,
    // before the outcome, also when the caller shows the outcome.
    using NoticeSource = std::function<std::optional<Notice>()>;
    void AddNoticeSource(NoticeSource source) { noticeSources_.push_back(std::move(source)); }

private:
    void ShowOutcome(const OperationInfo& info, const ExchangeResult& result);

    Exchange& exchange_;
    UserInterface& ui_;
    bool running_ = false;
    std::vector<NoticeSource> noticeSources_;
};

}  // namespace vk
