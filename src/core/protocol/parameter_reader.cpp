#include "protocol/parameter_reader.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "comm/model_check.h"
#include "comm/online_status_notifier.h"
#include "protocol/command.h"
#include "ui_port.h"

namespace vk {
namespace {

struct IdRange {
    ControlId first;
    ControlId last;
    ControlId step;
};

// clang-format off
constexpr std::array<IdRange, 83> kStartupReadList = {{
    {1220, 1220, 1}, {1942, 1943, 1}, {1974, 1977, 1}, {1980, 1982, 1}, {1984, 1985, 1},
    {1992, 1992, 1}, {1996, 1996, 1}, {1998, 1999, 1}, {2009, 2010, 1}, {2015, 2016, 1},
    {2018, 2019, 1}, {2045, 2046, 1}, {2048, 2050, 1}, {2052, 2052, 1}, {2061, 2061, 1},
    {2092, 2092, 1}, {2105, 2105, 1}, {2114, 2114, 1}, {2241, 2241, 1}, {2304, 2305, 1},
    {2337, 2337, 1}, {2416, 2416, 1}, {2423, 2424, 1}, {2438, 2440, 1}, {2444, 2444, 1},
    {2461, 2461, 1}, {2465, 2465, 1}, {2469, 2470, 1}, {2477, 2477, 1}, {2484, 2484, 1},
    {2502, 2502, 1}, {2509, 2509, 1}, {2511, 2511, 1}, {2515, 2515, 1}, {2517, 2517, 1},
    {2519, 2519, 1}, {2531, 2531, 1}, {2533, 2533, 1}, {2561, 2562, 1}, {2599, 2601, 1},
    {2603, 2603, 1}, {2607, 2607, 1}, {4012, 4013, 1}, {4015, 4015, 1}, {4017, 4017, 1},
    {4019, 4019, 1}, {4021, 4052, 1}, {4377, 4378, 1}, {4380, 4410, 2}, {4411, 4411, 1},
    {4413, 4419, 1}, {4421, 4424, 1}, {4427, 4438, 1}, {4441, 4495, 2}, {4598, 4598, 1},
    {4600, 4600, 1}, {4602, 4602, 1}, {4624, 4628, 1}, {4630, 4631, 1}, {4634, 4634, 1},
    {4651, 4651, 1}, {4653, 4669, 2}, {4671, 4681, 1}, {4683, 4799, 2}, {4801, 4831, 1},
    {4833, 4889, 2}, {4892, 4892, 1}, {4909, 4910, 1}, {4915, 4915, 1}, {4923, 4925, 1},
    {4928, 4928, 1}, {4930, 4930, 1}, {4936, 4938, 1}, {4940, 4940, 1}, {4942, 4942, 1},
    {4944, 4944, 1}, {4946, 4946, 1}, {4948, 4948, 1}, {4958, 4960, 1}, {4963, 4963, 1},
    {4965, 4965, 1}, {4967, 4967, 1}, {4969, 4969, 1},
}};
// clang-format on

// Binning exists only on monochrome cameras.
constexpr std::array<std::string_view, 2> kMonochromeOnly = {"HB", "VB"};

// Counts the queries the camera left unanswered: the exchange reports those offline.
class UnansweredWatch : public COnlineStatusUpdater {
public:
    explicit UnansweredWatch(OnlineStatusNotifier& notifier) : notifier_(notifier) {
        notifier_.Register(this);
    }
    ~UnansweredWatch() override { notifier_.Unregister(this); }

    void OnOnlineStatusChanged(int online) override { offline_ = online == 0; }
    void Reset() { offline_ = false; }
    bool WentOffline() const { return offline_; }

private:
    OnlineStatusNotifier& notifier_;
    bool offline_ = false;
};

}  // namespace

bool InStartupReadList(ControlId id) {
    return std::any_of(kStartupReadList.begin(), kStartupReadList.end(), [id](const IdRange& r) {
        return id >= r.first && id <= r.last && (id - r.first) % r.step == 0;
    });
}

bool IsReadInFullRead(const ControlTable& table, int row, int modelIndex, bool factoryMode) {
    const ControlEntry& entry = table.Row(row);
    if (entry.commandId == kNoCommand) return false;
    if (!ModelCheck::IsFullySupported(modelIndex)) return false;
    if (!InStartupReadList(entry.controlId)) return false;
    if (entry.level == ParamLevel::Factory && !factoryMode) return false;
    if (!table.IsTransferable(row)) return false;
    if (ModelCheck::IsColour(modelIndex)) {
        const std::string mnemonic = table.Commands().GetMnemonic(entry.commandId);
        if (std::find(kMonochromeOnly.begin(), kMonochromeOnly.end(), mnemonic) !=
            kMonochromeOnly.end()) {
            return false;
        }
    }
    return true;
}

int FullReadSteps(ControlTable& table, bool factoryMode) {
    return factoryMode ? table.CountTransferable() : table.CountUserTransferable();
}

ParameterReader::ParameterReader(Command& command, OnlineStatusNotifier& notifier, UiPort& ui)
    : command_(command), notifier_(notifier), ui_(ui) {}

FullReadResult ParameterReader::ReadAllParameters(int modelIndex, bool factoryMode, int timeoutMs) {
    ControlTable& table = command_.Controls();
    FullReadResult result;
    result.steps = FullReadSteps(table, factoryMode);
    ui_.ShowProgress(kFullReadProgressText);

    UnansweredWatch watch(notifier_);
    int total = 0;
    int unansweredInRow = 0;
    int failedInRow = 0;
    for (int row = 0; row < table.RowCount(); ++row) {
        if (!IsReadInFullRead(table, row, modelIndex, factoryMode)) continue;
        const ControlEntry& entry = table.Row(row);
        std::int32_t value = 0;
        watch.Reset();
        if (command_.QueryInt(entry.commandId, value, timeoutMs)) {
            table.SetDataValue(entry.controlId, value);
            result.readRows.push_back(row);
            unansweredInRow = 0;
            failedInRow = 0;
        } else {
            result.failedRows.push_back(row);
            unansweredInRow = watch.WentOffline() ? unansweredInRow + 1 : 0;
            ++failedInRow;
        }
        total += 100;
        ui_.SetProgress(result.steps > 0 ? total / result.steps : 100);
        ui_.PumpEvents();
        result.stoppedUnanswered = unansweredInRow >= kMaxUnanswered;
        result.stoppedFailing = failedInRow >= kMaxFailed;
        if (result.stoppedUnanswered || result.stoppedFailing) break;
    }
    // The bar ends full however many rows the model and mode left to read.
    ui_.SetProgress(100);
    ui_.CloseProgress();
    return result;
}

}  // namespace vk
