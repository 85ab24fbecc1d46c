#pragma once

#include <string>
#include <vector>

#include "core/protocol/control_table.h"
#include "core/protocol/exchange_result.h"
#include "core/protocol/unanswered_run.h"

namespace vk {

class Exchange;
class Operation;

inline constexpr int kFullReadTimeoutMs = 2500;
inline constexpr const char* kFullReadProgressText = "Now, reading camera settings.";

// Whether the full read queries this row, for a camera of `modelIndex` in the given mode.
bool IsReadInFullRead(const ControlTable& table, int row, int modelIndex, bool factoryMode);

// The step count the progress is measured against: every transferable row in factory mode,
// the transferable user rows in user mode.
int FullReadSteps(const ControlTable& table, bool factoryMode);

struct FullReadResult {
    int steps = 0;
    std::vector<int> readRows;    // the row now holds the camera's answer
    std::vector<int> failedRows;  // queried without a usable answer; the value is unchanged
    std::vector<ExchangeResult> failures;  // why each failed row failed, in the same order
    int notQueried = 0;              // rows of the read never asked for (stopped or cancelled)
    bool stoppedUnanswered = false;  // the camera stopped answering
    bool stoppedFailing = false;     // every answer in a long run was unusable
    bool cancelled = false;

    bool AnyRead() const { return !readRows.empty(); }
    // Ok, Cancelled, or the failure that stopped the read.
    ExchangeResult outcome;
};

// One text for the whole read when it did not read everything: how many rows were read,
// which failed and why (the first few named), and why it stopped. Empty for a clean or a
// cancelled read.
std::string FullReadSummary(const Exchange& exchange, const FullReadResult& result);

// Reads every parameter of the mode from the camera into the page values, with progress,
// inside a running operation. A query the camera refuses leaves its row unchanged and the
// read goes on; once the camera has left several queries in a row unanswered, or answered a
// long run of them with nothing usable, the read stops rather than wait on (or report) each
// of the remaining rows. Cancel stops it between rows.
class ParameterReader {
public:
    static constexpr int kMaxUnanswered = UnansweredRun::kLimit;
    // A camera without some commands fails a few rows here and there; a run this long means
    // the line carries nothing usable.
    static constexpr int kMaxFailed = 10;

    FullReadResult ReadAllParameters(Operation& operation, int modelIndex, bool factoryMode,
                                     int timeoutMs = kFullReadTimeoutMs);
    // Reads the given rows (table indices) the same way, the progress measured against
    // `steps`; for reads of other row sets (what a setting file holds).
    FullReadResult ReadRows(Operation& operation, const std::vector<int>& rows, int steps,
                            int timeoutMs = kFullReadTimeoutMs);
};

}  // namespace vk
