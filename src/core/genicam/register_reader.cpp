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
    UnansweredRun unanswered(kMaxUnanswered);
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
        operation.Step(++done, out.readable);
        const bool lineGone = result.status == ExchangeStatus::LineGone;
        const bool counts = lineGone || result.status == ExchangeStatus::TimedOut;
        const ExchangeStatus status = counts ? result.status : ExchangeStatus::Ok;
        if (unanswered.Stops(status)) {
            out.stoppedUnanswered = true;
            out.outcome = ExchangeResult::Failure(lineGone ? ExchangeStatus::LineGone
                                                           : ExchangeStatus::TimedOut);
            return out;
        }
    }
    return out;
}

}  // namespace vk
