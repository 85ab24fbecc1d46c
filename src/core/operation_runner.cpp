#include "core/operation_runner.h"

#include <algorithm>

#include "core/protocol/exchange.h"

namespace vk {

Operation::Operation(Exchange& c, UserInterface& ui, const OperationInfo& info)
    : exchange(c), ui_(ui), info_(info) {}

void Operation::SetText(const std::string& text) {
    ui_.ShowProgress(text);
}

void Operation::Step(int done, int total) {
    SetPercent(total > 0 ? static_cast<int>(100LL * done / total) : 100);
}

void Operation::SetPercent(int percent) {
    ui_.SetProgress(std::clamp(percent, 0, 100));
}

bool Operation::Cancelled() {
    ui_.PumpEvents();
    if (info_.cancellable && ui_.CancelRequested()) cancelled_ = true;
    return cancelled_;
}

ExchangeResult OperationRunner::Run(const OperationInfo& info, const Body& body) {
    if (running_) return ExchangeResult::Failure(ExchangeStatus::Busy);

    // Undoes everything Run set up, however the body ends.
    struct Scope {
        OperationRunner& r;
        explicit Scope(OperationRunner& runner, const OperationInfo& info) : r(runner) {
            r.running_ = true;
            r.exchange_.HoldLine();
            r.ui_.BeginOperation(info);
        }
        ~Scope() {
            r.exchange_.SetWaitHook(nullptr);
            r.ui_.EndOperation();
            r.exchange_.ReleaseLine();
            r.running_ = false;
        }
    } scope(*this, info);

    Operation operation(exchange_, ui_, info);
    // A reply the user stopped waiting for is owed: the exchange keeps the line in step.
    exchange_.SetWaitHook([&operation] { return !operation.Cancelled(); });
    ExchangeResult result = body(operation);
    if (operation.WasCancelled() && result.ok()) result.status = ExchangeStatus::Cancelled;
    ShowOutcome(info, result);
    return result;
}

void OperationRunner::ShowOutcome(const OperationInfo& info, const ExchangeResult& result) {
    // A line without end is told even when the body went past it; a failure for it once.
    const bool overflow = exchange_.TakeOverflowNotice();
    for (const NoticeSource& source : noticeSources_) {
        if (const std::optional<Notice> notice = source()) ShowNotice(ui_, *notice);
    }
    if (info.callerShowsFailure) return;
    const bool failed = !result.ok() && result.status != ExchangeStatus::Cancelled;
    if (overflow && !(failed && result.status == ExchangeStatus::Overflow)) {
        ShowCommunicationError(ui_, Exchange::kOverflowText);
    }
    if (failed && !result.message.empty()) ShowCommunicationError(ui_, result.message);
}

}  // namespace vk
