#include "core/camera/actions/action_executor.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/camera/actions/camera_action_texts.h"
#include "core/comm/model_check.h"
#include "core/operation_runner.h"
#include "core/persist/flash_areas.h"
#include "core/protocol/exchange.h"

namespace vk {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kQueryTimeoutMs = 2500;
constexpr std::int32_t kAlsoBusy = 255;
constexpr std::size_t kMaxModelText = 32;

// Waits between polls, turning the event loop and looking at Cancel; false when cancelled.
bool Pause(Operation& operation, int ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        if (operation.Cancelled()) return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        std::this_thread::sleep_for(
            std::min(left, std::chrono::milliseconds(Exchange::kWaitSliceMs)));
    }
    return !operation.Cancelled();
}

bool InRange(const ControlTable& table, int controlId, std::int32_t value) {
    const auto range = table.Range(static_cast<ControlId>(controlId));
    return !range || (value >= range->minimum && value <= range->maximum);
}

ActionOutcome Refused(std::string why) {
    ActionOutcome outcome;
    outcome.result = ExchangeResult::Failure(ExchangeStatus::Refused, why);
    outcome.notice = ActionNotice{std::move(why), "", MessageIcon::Stop};
    return outcome;
}

// A raw query is answered by the command's own "MNEMONIC=value"; anything else (an error
// text) is no value at all.
bool AnswersWithValue(const Exchange& exchange, CommandId id, const ExchangeResult& result) {
    // A C literal is no Int value of the table: the parts are read all the same.
    const ParsedReply reply = exchange.ParseReply(result.reply);
    return reply.op == "=" && reply.mnemonic == exchange.GetMnemonic(id) &&
           ReadCInteger(reply.value1).has_value();
}

}  // namespace

std::string PollGaveUpText(int seconds) {
    return "The camera was still busy after " + std::to_string(seconds) +
           " s; the tool stopped waiting for the result.";
}

std::string ActionExecutor::CheckInput(const CameraAction& action, const ActionInput& input,
                                       const ControlTable& table) {
    if (IsTableAction(action)) {
        if (!InRange(table, action.fields[0], input.index)) {
            return "The index " + std::to_string(input.index) + " is outside the table.";
        }
        if (action.family == ActionFamily::TableWrite &&
            !InRange(table, action.fields[1], input.value)) {
            return "The value " + std::to_string(input.value) + " is outside its range.";
        }
    }
    if (action.valueFrom == ValueFrom::XmlVersion && !JoinXmlVersion(input.parts)) {
        return "Each part of the XML version is a number from 0 to 99.";
    }
    if (action.valueFrom == ValueFrom::Text) {
        const bool printable = std::all_of(input.text.begin(), input.text.end(),
                                           [](char c) { return c > 0x20 && c <= 0x7e; });
        if (input.text.empty() || input.text.size() > kMaxModelText || !printable) {
            return "The model id is 1 to 32 letters, digits or signs, without spaces.";
        }
    }
    return {};
}

ActionOutcome ActionExecutor::Run(Operation& operation, const CameraAction& action,
                                  const ActionInput& input) const {
    const std::string why = CheckInput(action, input, operation.exchange.Controls());
    if (!why.empty()) return Refused(why);
    if (action.longRunning) operation.SetText(std::string(action.title));
    switch (action.family) {
        case ActionFamily::Set:
        case ActionFamily::TableWrite:
        case ActionFamily::StoreArea:
            return RunSet(operation, action, input);
        case ActionFamily::Read:
        case ActionFamily::RawRead:
            return RunRead(operation, action);
        case ActionFamily::TableRead:
            return RunTableRead(operation, action, input);
        case ActionFamily::GainReset:
            return RunGainReset(operation, action);
        case ActionFamily::StoreAll:
            return RunStoreAll(operation, action);
    }
    return Refused("Unexpected action.");
}

ActionOutcome ActionExecutor::RunSet(Operation& operation, const CameraAction& action,
                                     const ActionInput& input) const {
    Exchange& exchange = operation.exchange;
    ActionOutcome outcome;
    ExchangeResult& sent = outcome.result;
    if (action.family == ActionFamily::TableWrite) {
        sent = exchange.SendSetString(
            action.command, std::to_string(input.index) + "," + std::to_string(input.value),
            action.timeoutMs);
        return outcome;
    }
    // What the camera held before the action's own set changed it.
    const auto heldBefore = exchange.Values().CameraValue(static_cast<ControlId>(action.controlId));
    if (action.family == ActionFamily::StoreArea) {
        sent = FlashAreas(exchange).Store(action.value, action.timeoutMs);
    } else if (action.valueFrom == ValueFrom::Text) {
        sent = exchange.SendSetString(action.command, input.text, action.timeoutMs);
    } else if (action.valueFrom == ValueFrom::XmlVersion) {
        sent = exchange.SendSetInt(action.command, *JoinXmlVersion(input.parts), action.timeoutMs);
    } else {
        sent = exchange.SendSetInt(action.command, action.value, action.timeoutMs);
    }
    if (!sent) {
        if (!action.failedText.empty() && sent.status != ExchangeStatus::Cancelled) {
            outcome.notice = ActionNotice{std::string(action.failedText), "", action.failedIcon};
        }
        return outcome;
    }
    if (action.resultWait != ResultWait::None) {
        const QueryResult<std::int32_t> asked = AskResult(operation, action);
        outcome.result = asked;
        if (outcome.result) {
            const std::int32_t code = asked.value;
            outcome.resultCode = code;
            outcome.notice =
                ActionNotice{AutoResultText(code), std::string(action.caption), MessageIcon::None};
            ReadBack(operation, action);
        } else if (!outcome.result.message.empty()) {
            outcome.notice = ActionNotice{outcome.result.message, std::string(action.caption),
                                          MessageIcon::Exclamation};
        }
        // A function started from its combo box is off again once it has run. The camera
        // turns it off itself, so its row is asked for what the camera now holds; where the
        // camera held it on before, it is told to turn it off instead.
        if (outcome.resultCode && action.value != 0) {
            if (heldBefore && *heldBefore != 0) {
                exchange.SendSetInt(action.command, 0, kQueryTimeoutMs);
            } else {
                exchange.QueryInt(action.command, kQueryTimeoutMs);
            }
        }
        return outcome;
    }
    if (!action.doneText.empty()) {
        outcome.notice = ActionNotice{std::string(action.doneText), "", MessageIcon::Information};
    }
    switch (action.followUp) {
        case FollowUp::CloseTool:
            outcome.closeTool = true;
            break;
        case FollowUp::ModelCheck:
            modelCheck_.Check();
            break;
        case FollowUp::None:
            break;
    }
    return outcome;
}

QueryResult<std::int32_t> ActionExecutor::AskResult(Operation& operation,
                                                    const CameraAction& action) const {
    if (action.resultWait == ResultWait::Once) {
        return operation.exchange.QueryInt(action.resultCommand, kQueryTimeoutMs);
    }
    return Poll(operation, action);
}

// The camera answers busy while the function runs. The tool asks once a second, quietly,
// and gives up after a bound (the camera never finishing would otherwise hold the tool for
// ever); a query that goes unanswered ends the wait at once.
QueryResult<std::int32_t> ActionExecutor::Poll(Operation& operation,
                                               const CameraAction& action) const {
    Exchange& exchange = operation.exchange;
    const auto start = Clock::now();
    const auto limit = std::chrono::milliseconds(timing_.pollLimitMs);
    for (;;) {
        if (!Pause(operation, timing_.pollIntervalMs)) {
            QueryResult<std::int32_t> cancelled;
            cancelled.status = ExchangeStatus::Cancelled;
            return cancelled;
        }
        QueryResult<std::int32_t> asked = exchange.QueryInt(action.resultCommand, kQueryTimeoutMs);
        if (asked.status == ExchangeStatus::Cancelled) return asked;
        if (!asked) {
            asked.message = kPollUnanswered;
            return asked;
        }
        const bool busy =
            asked.value == kAutoResultBusy || (action.busy255 && asked.value == kAlsoBusy);
        if (!busy) return asked;
        if (Clock::now() - start >= limit) {
            QueryResult<std::int32_t> gaveUp;
            gaveUp.status = ExchangeStatus::TimedOut;
            gaveUp.message = PollGaveUpText(timing_.pollLimitMs / 1000);
            return gaveUp;
        }
    }
}

void ActionExecutor::ReadBack(Operation& operation, const CameraAction& action) const {
    Exchange& exchange = operation.exchange;
    for (int controlId : action.readBack) {
        const CommandId id = exchange.Controls().CommandOf(static_cast<ControlId>(controlId));
        if (id == kNoCommand) continue;
        if (operation.Cancelled()) return;
        if (!exchange.QueryInt(id, kQueryTimeoutMs)) return;
    }
}

ActionOutcome ActionExecutor::RunRead(Operation& operation, const CameraAction& action) const {
    Exchange& exchange = operation.exchange;
    ActionOutcome outcome;
    QueryResult<std::int32_t> asked;
    if (action.family == ActionFamily::RawRead) {
        asked = exchange.SendRawQuery(exchange.BuildQueryCommand(action.command, true),
                                      action.timeoutMs, true);
        if (asked && !AnswersWithValue(exchange, action.command, asked)) {
            asked.status = ExchangeStatus::Refused;
        }
    } else {
        asked = exchange.QueryInt(action.command, action.timeoutMs);
    }
    outcome.result = asked;
    if (outcome.result) outcome.value = asked.value;
    switch (action.displayAs) {
        case DisplayAs::Iris:
            outcome.fieldTexts = {IrisText(outcome.value)};
            break;
        case DisplayAs::XmlVersion:
            if (outcome.value) {
                for (std::int32_t part : SplitXmlVersion(*outcome.value))
                    outcome.fieldTexts.push_back(std::to_string(part));
            }
            break;
        case DisplayAs::Number:
            if (outcome.value) outcome.fieldTexts = {std::to_string(*outcome.value)};
            break;
    }
    return outcome;
}

ActionOutcome ActionExecutor::RunTableRead(Operation& operation, const CameraAction& action,
                                           const ActionInput& input) const {
    Exchange& exchange = operation.exchange;
    ActionOutcome outcome;
    const std::string line =
        exchange.GetMnemonic(action.command) + "?" + std::to_string(input.index) + "\r\n";
    const QueryResult<std::int32_t> asked = exchange.SendRawQuery(line, action.timeoutMs, true);
    outcome.result = asked;
    if (outcome.result && !AnswersWithValue(exchange, action.command, outcome.result)) {
        outcome.result.status = ExchangeStatus::Refused;
    }
    if (!outcome.result) return outcome;
    const std::int32_t value = asked.value;
    outcome.value = value;
    outcome.fieldTexts = {std::to_string(input.index), std::to_string(value)};
    return outcome;
}

ActionOutcome ActionExecutor::RunGainReset(Operation& operation, const CameraAction& action) const {
    Exchange& exchange = operation.exchange;
    const ControlTable& table = exchange.Controls();
    ActionOutcome outcome;
    bool first = true;
    for (int controlId : action.readBack) {
        if (operation.Cancelled()) {
            outcome.result = ExchangeResult::Failure(ExchangeStatus::Cancelled);
            return outcome;
        }
        const ExchangeResult sent = exchange.SendSetInt(
            table.CommandOf(static_cast<ControlId>(controlId)), 0, kQueryTimeoutMs);
        // Without the main gain the rest is not worth trying.
        if (!sent && first) {
            outcome.result = sent;
            return outcome;
        }
        if (!sent && outcome.result) outcome.result = sent;
        first = false;
    }
    ReadBack(operation, action);
    if (operation.WasCancelled()) {
        outcome.result = ExchangeResult::Failure(ExchangeStatus::Cancelled);
        return outcome;
    }
    outcome.notice = ActionNotice{std::string(action.doneText), "", MessageIcon::Information};
    return outcome;
}

ActionOutcome ActionExecutor::RunStoreAll(Operation& operation, const CameraAction&) const {
    Exchange& exchange = operation.exchange;
    ActionOutcome outcome;
    // Every area is tried; one summary at the end instead of a box per failure.
    outcome.result = FlashAreas(exchange).StoreAll(operation);
    if (outcome.result.status == ExchangeStatus::Cancelled) return outcome;
    if (!outcome.result) {
        outcome.notice = ActionNotice{kStoreAllFailed, "", MessageIcon::Exclamation};
    } else {
        outcome.notice = ActionNotice{kStoreCompleted, "", MessageIcon::Information};
    }
    return outcome;
}

}  // namespace vk
