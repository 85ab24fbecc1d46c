#pragma once

#include <string>
#include <vector>

#include "core/persist/setting_file_parser.h"
#include "core/protocol/exchange_result.h"
#include "core/protocol/unanswered_run.h"

namespace vk {

class Exchange;
class ModelCheck;
class Operation;

inline constexpr const char* kLoadingSettingFile = "Now, reading camera setting file.";
inline constexpr const char* kSettingFileCaption = "Camera setting file";
inline constexpr int kModelSetTimeoutMs = 1000;
inline constexpr int kLutSetTimeoutMs = 1000;
inline constexpr int kDeviceVersionSetTimeoutMs = 2500;
inline constexpr int kParameterSetTimeoutMs = 15000;

// A line the summary names, and why.
struct LineReport {
    int number = 0;
    std::string text;
    std::string reason;
};

struct SettingFileLoadResult {
    int sent = 0;
    int accepted = 0;
    std::vector<LineReport> refused;     // the camera answered with something else
    std::vector<LineReport> unanswered;  // no answer (or the user stopped waiting for one)
    std::vector<LineReport> skipped;     // unknown or unusable lines
    std::vector<LineReport> leftOut;     // factory-only lines of a user-mode load
    int notSent = 0;                     // lines left when the load stopped
    bool cancelled = false;
    bool stopped = false;  // the camera stopped answering
    bool modelSent = false;
    bool modelRejected = false;  // the model id sent left no model of the family
    ExchangeResult outcome;      // Ok, Cancelled, or the failure that stopped the load

    // Nothing went wrong (lines left out on purpose are still named in the summary).
    bool Clean() const {
        return refused.empty() && unanswered.empty() && skipped.empty() && notSent == 0;
    }
};

// Sends a setting file's lines to the camera inside a running operation, with progress
// per line and Cancel between lines. Only the values the camera took become the tool's
// values. Failures are not shown one by one: the result lists them for one summary. When
// the line is gone, or several lines in a row go unanswered, the load stops. A line left
// unanswered is followed by the model query, so that one lost answer costs that line only.
// In user mode the model id, the device version and factory rows are left out and named.
class SettingFileLoader {
public:
    static constexpr int kMaxUnanswered = UnansweredRun::kLimit;

    // No line waits longer than `maxWaitMs` for its answer.
    explicit SettingFileLoader(int maxWaitMs = kParameterSetTimeoutMs) : maxWaitMs_(maxWaitMs) {}

    SettingFileLoadResult Load(Operation& operation, ModelCheck& modelCheck,
                               const SettingFilePlan& plan);

private:
    int maxWaitMs_;
};

// Whether the load leaves the line out for the connected model (binning on a colour
// camera), as the full read does.
bool FilteredForModel(const Exchange& exchange, const SettingLine& line, int modelIndex);

// One message naming what the load skipped or left out, what the camera refused or did not
// answer and what was never sent; empty when there is nothing to say.
std::string LoadSummary(const SettingFileLoadResult& result);

}  // namespace vk
