#pragma once

#include <functional>

#include "core/genicam/feature_table.h"
#include "core/genicam/register_port.h"
#include "core/protocol/exchange_result.h"
#include "core/protocol/unanswered_run.h"

namespace vk {

class Operation;

inline constexpr const char* kReadAllRegistersText = "Reading the camera's registers.";

struct RegisterReadAll {
    int readable = 0;  // features with a readable register
    int read = 0;
    int failed = 0;
    bool stoppedUnanswered = false;  // the camera stopped answering
    ExchangeResult outcome;          // Ok, Cancelled, or TimedOut or LineGone when it stopped
};

// Reads the register of every readable feature in table order inside a running operation,
// with progress and Cancel between reads; `each` hears of every record read, with the
// result. A refused read is told and the rest go on; once the camera has left several
// reads in a row unanswered the rest are not asked for.
class RegisterReader {
public:
    static constexpr int kMaxUnanswered = UnansweredRun::kLimit;
    using Each = std::function<void(int record, const RegisterResult& result)>;

    RegisterReadAll ReadAll(Operation& operation, RegisterPort& port, const FeatureTable& table,
                            const Each& each);
};

}  // namespace vk
