#include "core/protocol/parameter_reader.h"

#include "core/comm/model_check.h"
#include "core/operation_runner.h"
#include "core/protocol/exchange.h"

namespace vk {

bool IsReadInFullRead(const ControlTable& table, int row, int modelIndex, bool factoryMode) {
    const ControlEntry& entry = table.Row(row);
    if (entry.commandId == kNoCommand || !entry.Has(RowTrait::ReadAtStart)) return false;
    if (!ModelCheck::IsFullySupported(modelIndex)) return false;
    if (entry.level == ParamLevel::Factory && !factoryMode) return false;
    if (!table.IsTransferable(row)) return false;
    return !(entry.Has(RowTrait::MonochromeOnly) && ModelCheck::IsColour(modelIndex));
}

int FullReadSteps(const ControlTable& table, bool factoryMode) {
    return factoryMode ? table.CountTransferable() : table.CountUserTransferable();
}

FullReadResult ParameterReader::ReadAllParameters(Operation& operation, int modelIndex,
                                                  bool factoryMode, int timeoutMs) {
    const ControlTable& table = operation.exchange.Controls();
    operation.SetText(kFullReadProgressText);
    std::vector<int> rows;
    for (int row = 0; row < table.RowCount(); ++row) {
        if (IsReadInFullRead(table, row, modelIndex, factoryMode)) rows.push_back(row);
    }
    return ReadRows(operation, rows, FullReadSteps(table, factoryMode), timeoutMs);
}

FullReadResult ParameterReader::ReadRows(Operation& operation, const std::vector<int>& rows,
                                         int steps, int timeoutMs) {
    Exchange& exchange = operation.exchange;
    const ControlTable& table = exchange.Controls();
    FullReadResult result;
    result.steps = steps;
    int done = 0;
    UnansweredRun unanswered(kMaxUnanswered);
    int failedInRow = 0;
    for (int row : rows) {
        if (operation.Cancelled()) {
            result.cancelled = true;
            result.outcome = ExchangeResult::Failure(ExchangeStatus::Cancelled);
            break;
        }
        const ControlEntry& entry = table.Row(row);
        const QueryResult<std::int32_t> answer = exchange.QueryInt(entry.commandId, timeoutMs);
        ++done;
        if (answer) {
            result.readRows.push_back(row);
            failedInRow = 0;
        } else if (answer.status == ExchangeStatus::Cancelled) {
            // The query went out; its reply is owed and the row keeps its value.
            result.failedRows.push_back(row);
            result.failures.push_back(answer);
            result.cancelled = true;
            result.outcome = answer;
            break;
        } else {
            result.failedRows.push_back(row);
            result.failures.push_back(answer);
            ++failedInRow;
        }
        operation.Step(done, result.steps);
        result.stoppedUnanswered = unanswered.Stops(answer.status);
        result.stoppedFailing = failedInRow >= kMaxFailed;
        if (result.stoppedUnanswered || result.stoppedFailing) {
            result.outcome = answer;
            break;
        }
    }
    result.notQueried = static_cast<int>(rows.size()) - done;
    // The bar ends full however many rows the model and mode left to read.
    operation.SetPercent(100);
    return result;
}

std::string FullReadSummary(const Exchange& exchange, const FullReadResult& result) {
    // A few names say what went wrong; the rest would only fill the box.
    constexpr std::size_t kNamed = 5;
    if (result.cancelled || (result.failedRows.empty() && result.notQueried == 0)) return {};
    const ControlTable& table = exchange.Controls();
    std::string text = std::to_string(result.readRows.size()) + " of " +
                       std::to_string(result.readRows.size() + result.failedRows.size() +
                                      static_cast<std::size_t>(result.notQueried)) +
                       " parameters were read.";
    if (!result.failedRows.empty()) {
        text += "\n" + std::to_string(result.failedRows.size()) + " failed:";
        for (std::size_t i = 0; i < result.failedRows.size() && i < kNamed; ++i) {
            text += "\n  " + exchange.GetMnemonic(table.Row(result.failedRows[i]).commandId) +
                    ": " + result.failures[i].Describe();
        }
        if (result.failedRows.size() > kNamed) {
            text += "\n  and " + std::to_string(result.failedRows.size() - kNamed) + " more";
        }
    }
    if (result.notQueried > 0) {
        text += "\n" + std::to_string(result.notQueried) + " were not asked for: ";
        text += result.stoppedUnanswered ? "the camera stopped answering."
                                         : "the camera answered nothing usable.";
    }
    return text;
}

}  // namespace vk
