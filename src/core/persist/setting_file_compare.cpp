#include "core/persist/setting_file_compare.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/comm/model_check.h"
#include "core/operation_runner.h"
#include "core/persist/setting_file_loader.h"
#include "core/protocol/exchange.h"

namespace vk {
namespace {

std::string FileValue(const SettingLine& line) {
    return line.action == SettingAction::Model ? line.sendText : std::to_string(line.value);
}

std::string NameOf(const Exchange& exchange, const SettingLine& line) {
    std::string name = exchange.GetMnemonic(line.command);
    if (line.action == SettingAction::LutEntry) {
        name += '(';
        name += std::to_string(line.index);
        name += ')';
    }
    return name;
}

// What the camera holds for the line.
QueryResult<std::string> QueryLine(Exchange& exchange, ModelCheck& modelCheck,
                                   const SettingLine& line, int timeoutMs) {
    QueryResult<std::int32_t> number;
    switch (line.action) {
        case SettingAction::Model: {
            const ExchangeResult checked = modelCheck.Check(timeoutMs);
            return QueryResult<std::string>::From(checked, checked ? modelCheck.modelName : "");
        }
        case SettingAction::LutEntry:
            number = exchange.SendRawQuery(
                exchange.GetMnemonic(line.command) + "?" + std::to_string(line.index) + "\r\n",
                timeoutMs, true);
            break;
        case SettingAction::DeviceVersion:
        case SettingAction::Parameter:
            number = exchange.QueryInt(line.command, timeoutMs);
            break;
        case SettingAction::Skip:
            return {};
    }
    return QueryResult<std::string>::From(number, number ? std::to_string(number.value) : "");
}

const SettingLine* LineOf(const SettingFilePlan& plan, int number) {
    for (const SettingLine& line : plan.lines) {
        if (line.number == number) return &line;
    }
    return nullptr;
}

}  // namespace

std::vector<int> SettingFileComparison::DifferingLines() const {
    std::vector<int> lines;
    for (const SettingDifference& d : differences) {
        if (d.line > 0) lines.push_back(d.line);
    }
    return lines;
}

std::vector<SettingValue> SettingValues(const Exchange& exchange, const SettingFilePlan& plan,
                                        int modelIndex) {
    std::vector<SettingValue> values;
    std::unordered_map<std::string, std::size_t> byName;
    for (const SettingLine& line : plan.lines) {
        if (line.action == SettingAction::Skip || FilteredForModel(exchange, line, modelIndex)) {
            continue;
        }
        SettingValue value{line.number, NameOf(exchange, line), line.control, FileValue(line)};
        const auto [it, added] = byName.try_emplace(value.name, values.size());
        if (added) {
            values.push_back(std::move(value));
        } else {
            values[it->second] = std::move(value);
        }
    }
    // A repeated name stands where its last line is.
    std::stable_sort(values.begin(), values.end(),
                     [](const SettingValue& a, const SettingValue& b) { return a.line < b.line; });
    return values;
}

SettingFileComparison CompareSettingValues(const std::vector<SettingValue>& file,
                                           const std::vector<SettingValue>& other) {
    SettingFileComparison result;
    std::unordered_map<std::string, const SettingValue*> others;
    for (const SettingValue& v : other)
        others.try_emplace(v.name, &v);
    std::unordered_set<std::string> inFile;
    for (const SettingValue& mine : file) {
        inFile.insert(mine.name);
        ++result.compared;
        const auto it = others.find(mine.name);
        const SettingValue* theirs = it == others.end() ? nullptr : it->second;
        const bool held = theirs != nullptr && theirs->known;
        if (held && theirs->value == mine.value) continue;
        result.differences.push_back(
            {mine.line, mine.name, mine.control, mine.value, held ? theirs->value : "", held});
    }
    for (const SettingValue& theirs : other) {
        if (inFile.contains(theirs.name)) continue;
        ++result.compared;
        result.differences.push_back(
            {0, theirs.name, theirs.control, "", theirs.value, theirs.known});
    }
    return result;
}

SettingFileComparison CompareWithCamera(Operation& operation, ModelCheck& modelCheck,
                                        const SettingFilePlan& plan, int timeoutMs) {
    Exchange& exchange = operation.exchange;
    operation.SetText(kComparingSettingFile);

    std::vector<SettingValue> file = SettingValues(exchange, plan, modelCheck.modelIndex);
    std::vector<SettingValue> camera;
    ExchangeResult outcome;
    bool cancelled = false;
    bool stopped = false;
    UnansweredRun run(SettingFileLoader::kMaxUnanswered);
    for (const SettingValue& value : file) {
        if (operation.Cancelled()) {
            cancelled = true;
            outcome = ExchangeResult::Failure(ExchangeStatus::Cancelled);
            break;
        }
        SettingValue held = value;
        const QueryResult<std::string> answer =
            QueryLine(exchange, modelCheck, *LineOf(plan, value.line), timeoutMs);
        held.known = answer.ok();
        if (held.known) held.value = answer.value;
        camera.push_back(std::move(held));
        operation.Step(static_cast<int>(camera.size()), static_cast<int>(file.size()));
        if (answer.status == ExchangeStatus::Cancelled) {
            cancelled = true;
            outcome = answer;
            break;
        }
        if (run.Stops(answer)) {
            stopped = true;
            outcome = answer;
            break;
        }
    }
    operation.SetPercent(100);

    // Only what was asked is compared.
    file.resize(camera.size());
    SettingFileComparison result = CompareSettingValues(file, camera);
    result.cancelled = cancelled;
    result.stopped = stopped;
    result.outcome = outcome;
    return result;
}

SettingFileComparison CompareSettingFiles(const Exchange& exchange, const SettingFilePlan& file,
                                          const SettingFilePlan& other) {
    return CompareSettingValues(SettingValues(exchange, file, ModelCheck::kNoModel),
                                SettingValues(exchange, other, ModelCheck::kNoModel));
}

}  // namespace vk
