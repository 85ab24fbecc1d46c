#pragma once

#include <vector>

#include "protocol/control_table.h"

namespace vk {

class Command;
class OnlineStatusNotifier;
class UiPort;

inline constexpr int kFullReadTimeoutMs = 2500;
inline constexpr const char* kFullReadProgressText = "Now, reading camera settings.";

// The page controls whose parameters the full read queries.
bool InStartupReadList(ControlId id);

// Whether the full read queries this row, for a camera of `modelIndex` in the given mode.
bool IsReadInFullRead(const ControlTable& table, int row, int modelIndex, bool factoryMode);

// The step count the progress is measured against: every transferable row in factory mode,
// the transferable user rows in user mode.
int FullReadSteps(ControlTable& table, bool factoryMode);

struct FullReadResult {
    int steps = 0;
    std::vector<int> readRows;       // the page value now holds the camera's answer
    std::vector<int> failedRows;     // queried without a usable answer; the value is unchanged
    bool stoppedUnanswered = false;  // the camera stopped answering
    bool stoppedFailing = false;     // every answer in a long run was unusable

    bool AnyRead() const { return !readRows.empty(); }
};

// Reads every parameter of the mode from the camera into the page values, with progress.
// A query the camera refuses leaves its row unchanged and the read goes on; once the camera
// has left several queries in a row unanswered, or answered a long run of them with nothing
// usable, the read stops rather than wait on (or report) each of the remaining rows.
class ParameterReader {
public:
    static constexpr int kMaxUnanswered = 3;
    // A camera without some commands fails a few rows here and there; a run this long means
    // the line carries nothing usable.
    static constexpr int kMaxFailed = 10;

    ParameterReader(Command& command, OnlineStatusNotifier& notifier, UiPort& ui);

    FullReadResult ReadAllParameters(int modelIndex, bool factoryMode,
                                     int timeoutMs = kFullReadTimeoutMs);

private:
    Command& command_;
    OnlineStatusNotifier& notifier_;
    UiPort& ui_;
};

}  // namespace vk
