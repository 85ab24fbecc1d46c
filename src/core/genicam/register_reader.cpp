#include "core/genicam/register_reader.h"

#include <algorithm>

#include "core/operation_runner.h"

namespace vk {

RegisterReadAll RegisterReader::ReadAll(Operation& operation, RegisterPort& port,
                                        const FeatureTable& table, const Each& each) {
    RegisterReadAll out;
    out.readable = static_cast<int>(std::count_if(table.records.begin(), table.records.end(),
                                                  [](const auto& r) { return r.Readable(); }));
    operation.SetText(kReadAllRegistersText);
    int done = 0;
    int unanswered = 0;
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        const FeatureRecord& record = table.records[i];
        if (!record.Readable()) continue;
        if (operation.Cancelled()) {
            out.outcome = ExchangeResult::Failure(ExchangeStatus::Cancelled);
            return out;
        }
        const RegisterResult result = port.Read(record.address, record.length);
        if (result.status == ExchangeStatus::Cancelled) {
            out.outcome = ExchangeResult::Failure(ExchangeStatus::Cancelled);
            return out;
        }
        each(static_cast<int>(i), result);
        ++(result.ok() ? out.read : out.failed);
        unanswered = result.status == ExchangeStatus::TimedOut ? unanswered + 1 : 0;
        operation.Step(++done, out.readable);
        // A lost line answers nothing more: the rest is not asked for.
        const bool lineGone = result.status == ExchangeStatus::LineGone;
        if (unanswered >= kMaxUnanswered || lineGone) {
            out.stoppedUnanswered = true;
            out.outcome = ExchangeResult::Failure(lineGone ? ExchangeStatus::LineGone
                                                           : ExchangeStatus::TimedOut);
            return out;
        }
    }
    return out;
}

}  // namespace vk
