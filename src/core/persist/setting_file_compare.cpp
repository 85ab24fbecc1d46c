#include "persist/setting_file_compare.h"

#include "comm/model_check.h"
#include "operation_runner.h"
#include "persist/setting_file_loader.h"
#include "protocol/command.h"

namespace vk {
namespace {

std::string FileValue(const SettingLine& line) {
    return line.action == SettingAction::Model ? line.sendText : std::to_string(line.value);
}

std::string NameOf(const Command& command, const SettingLine& line) {
    std::string name = command.GetMnemonic(line.command);
    if (line.action == SettingAction::LutEntry) {
        name += '(';
        name += std::to_string(line.index);
        name += ')';
    }
    return name;
}

// What the camera holds for the line.
ExchangeResult QueryLine(Command& command, ModelCheck& modelCheck, const SettingLine& line,
                         std::string& value) {
    std::int32_t number = 0;
    ExchangeResult result;
    switch (line.action) {
        case SettingAction::Model:
            result = modelCheck.Check();
            if (result) value = modelCheck.modelName;
            return result;
        case SettingAction::LutEntry:
            result = command.SendRawQuery(
                number,
                command.GetMnemonic(line.command) + "?" + std::to_string(line.index) + "\r\n",
                kCompareQueryTimeoutMs, true);
            break;
        case SettingAction::DeviceVersion:
        case SettingAction::Parameter:
            result = command.QueryInt(line.command, number, kCompareQueryTimeoutMs);
            if (result && line.action == SettingAction::Parameter) {
                command.Controls().RecordCameraValue(line.control, number);
            }
            break;
        case SettingAction::Skip:
            return ExchangeResult::Success();
    }
    if (result) value = std::to_string(number);
    return result;
}

}  // namespace

std::vector<int> SettingFileComparison::DifferingLines() const {
    std::vector<int> lines;
    for (const SettingDifference& d : differences)
        lines.push_back(d.line);
    return lines;
}

SettingFileComparison CompareWithCamera(Operation& operation, ModelCheck& modelCheck,
                                        const SettingFilePlan& plan) {
    Command& command = operation.command;
    SettingFileComparison result;
    operation.SetText(kComparingSettingFile);
    QuietReporter quiet;
    ExchangeReporter* previous = &command.Reporter();
    command.SetReporter(&quiet);

    UnansweredRun run(SettingFileLoader::kMaxUnanswered);
    const int total = plan.SendCount();
    for (const SettingLine& line : plan.lines) {
        if (line.action == SettingAction::Skip ||
            FilteredForModel(command, line, modelCheck.modelIndex)) {
            continue;
        }
        if (operation.Cancelled()) {
            result.cancelled = true;
            result.outcome = ExchangeResult::Failure(ExchangeStatus::Cancelled);
            break;
        }
        std::string cameraValue;
        const ExchangeResult answer = QueryLine(command, modelCheck, line, cameraValue);
        operation.Step(++result.compared, total);
        const std::string fileValue = FileValue(line);
        if (!answer || cameraValue != fileValue) {
            result.differences.push_back({line.number, NameOf(command, line), line.control,
                                          fileValue, cameraValue, answer.ok()});
        }
        if (answer.status == ExchangeStatus::Cancelled) {
            result.cancelled = true;
            result.outcome = answer;
            break;
        }
        if (run.Stops(answer)) {
            result.stopped = true;
            result.outcome = answer;
            break;
        }
    }
    operation.SetPercent(100);
    command.SetReporter(previous);
    return result;
}

}  // namespace vk
