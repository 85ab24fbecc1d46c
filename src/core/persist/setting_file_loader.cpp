#include "core/persist/setting_file_loader.h"

#include <algorithm>
#include <sstream>

#include "core/comm/model_check.h"
#include "core/operation_runner.h"
#include "core/protocol/command_mnemonics.h"
#include "core/protocol/exchange.h"

namespace vk {
namespace {

// Each list of the summary names this many lines, then how many more there are.
constexpr std::size_t kListedLines = 12;

const char* SkipText(SkipReason reason) {
    switch (reason) {
        case SkipReason::UnknownCommand:
            return "unknown command";
        case SkipReason::NoParameter:
            return "not a camera setting";
        case SkipReason::NotInSettingFile:
            return "not kept in setting files";
        case SkipReason::NoModel:
            return "no model of the family";
        default:
            return "not a setting line";
    }
}

std::string FailureText(const ExchangeResult& result) {
    if (!result.reply.empty()) return result.reply;
    return StatusName(result.status);
}

ExchangeResult Send(Exchange& exchange, const SettingLine& line, int maxWaitMs) {
    const auto wait = [maxWaitMs](int ms) { return std::min(ms, maxWaitMs); };
    switch (line.action) {
        case SettingAction::Model:
            return exchange.SendSetString(line.command, line.sendText, wait(kModelSetTimeoutMs));
        case SettingAction::DeviceVersion:
            return exchange.SendSetInt(line.command, line.value, wait(kDeviceVersionSetTimeoutMs));
        case SettingAction::LutEntry:
            return exchange.SendSetString(line.command, line.sendText, wait(kLutSetTimeoutMs));
        case SettingAction::Parameter:
            return exchange.SendSetInt(line.command, line.value, wait(kParameterSetTimeoutMs));
        case SettingAction::Skip:
            break;
    }
    return ExchangeResult::Success();
}

void AppendList(std::ostringstream& out, const char* heading,
                const std::vector<LineReport>& lines) {
    if (lines.empty()) return;
    out << '\n' << heading << '\n';
    for (std::size_t i = 0; i < lines.size() && i < kListedLines; ++i) {
        out << "  line " << lines[i].number << ": " << lines[i].text << " (" << lines[i].reason
            << ")\n";
    }
    if (lines.size() > kListedLines) {
        out << "  and " << lines.size() - kListedLines << " more\n";
    }
}

}  // namespace

bool FilteredForModel(const Exchange& exchange, const SettingLine& line, int modelIndex) {
    if (line.action != SettingAction::Parameter) return false;
    const ControlTable& table = exchange.Controls();
    const int row = table.RowOf(line.control);
    return row >= 0 && table.Row(row).Has(RowTrait::MonochromeOnly) &&
           ModelCheck::IsColour(modelIndex);
}

SettingFileLoadResult SettingFileLoader::Load(Operation& operation, ModelCheck& modelCheck,
                                              const SettingFilePlan& plan) {
    Exchange& exchange = operation.exchange;
    SettingFileLoadResult result;
    operation.SetText(kLoadingSettingFile);

    UnansweredRun run(kMaxUnanswered);
    const std::size_t total = plan.lines.size();
    for (std::size_t i = 0; i < total; ++i) {
        operation.SetPercent(static_cast<int>(i * 100 / total));
        const SettingLine& line = plan.lines[i];
        if (!result.cancelled && !result.stopped && operation.Cancelled()) {
            result.cancelled = true;
            result.outcome = ExchangeResult::Failure(ExchangeStatus::Cancelled);
        }
        if (result.cancelled || result.stopped) {
            if (line.action != SettingAction::Skip) ++result.notSent;
            continue;
        }
        if (line.action == SettingAction::Skip) {
            if (line.skip == SkipReason::FactoryOnly) {
                result.leftOut.push_back({line.number, line.text, "factory mode only"});
            } else if (!IsSilentSkip(line.skip)) {
                result.skipped.push_back({line.number, line.text, SkipText(line.skip)});
            }
            continue;
        }
        if (FilteredForModel(exchange, line, modelCheck.modelIndex)) continue;

        const ExchangeResult answer = Send(exchange, line, maxWaitMs_);
        ++result.sent;
        if (line.action == SettingAction::Model) {
            result.modelSent = true;
            modelCheck.Check();
            // What the camera now reports is no model of the family: nothing more is sent
            // to a camera the tool cannot vouch for.
            if (answer && modelCheck.modelIndex == ModelCheck::kNoModel) {
                result.refused.push_back(
                    {line.number, line.text, "the camera reports no model of the family"});
                result.stopped = true;
                result.modelRejected = true;
                result.outcome = ExchangeResult::Failure(ExchangeStatus::Refused);
                continue;
            }
        }
        if (answer) {
            ++result.accepted;
        } else if (answer.status == ExchangeStatus::Cancelled) {
            // The line went out; whether the camera took it is not known.
            result.unanswered.push_back({line.number, line.text, "cancelled"});
            result.cancelled = true;
            result.outcome = answer;
        } else if (answer.status == ExchangeStatus::TimedOut ||
                   answer.status == ExchangeStatus::LineGone) {
            result.unanswered.push_back({line.number, line.text, FailureText(answer)});
        } else {
            result.refused.push_back({line.number, line.text, FailureText(answer)});
        }
        if (!result.cancelled && run.Stops(answer)) {
            result.stopped = true;
            result.outcome = answer;
        } else if (!result.cancelled && answer.status == ExchangeStatus::TimedOut) {
            // The camera answers in order: once a query after the lost answer is answered,
            // nothing older is owed, and the next line's COMPLETE is taken as its own
            // rather than as the late answer of this one.
            const ExchangeResult probe =
                exchange.QueryString(Cmd("MD"), std::min(maxWaitMs_, ModelCheck::kQueryTimeoutMs));
            if (run.Stops(probe)) {
                result.stopped = true;
                result.outcome = probe;
            }
        }
    }
    operation.SetPercent(100);
    return result;
}

std::string LoadSummary(const SettingFileLoadResult& result) {
    if (result.Clean() && result.leftOut.empty()) return {};
    std::ostringstream out;
    if (!result.Clean()) {
        out << "The camera setting file was not loaded completely: " << result.accepted << " of "
            << result.sent << " lines sent were taken by the camera.\n";
    } else {
        out << "The camera took every line sent (" << result.accepted << ").\n";
    }
    AppendList(out, "Refused by the camera:", result.refused);
    AppendList(out, "Not answered by the camera:", result.unanswered);
    AppendList(out, "Skipped:", result.skipped);
    AppendList(out, "Left out (written only in factory mode):", result.leftOut);
    if (result.notSent > 0) {
        out << '\n'
            << result.notSent << " lines were not sent: "
            << (result.cancelled       ? "the load was cancelled."
                : result.modelRejected ? "the camera's model is no model of the family."
                                       : "the camera stopped answering.")
            << '\n';
    }
    std::string text = out.str();
    if (text.ends_with('\n')) text.pop_back();
    return text;
}

}  // namespace vk
