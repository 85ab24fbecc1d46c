#include "cli/json_output.h"

#include <cstdlib>

#include "core/genicam/feature_rows.h"

#include <ostream>
#include <sstream>

#include "cli/cli_app.h"
#include "cli/many_cameras.h"
#include "core/camera/actions/action_executor.h"
#include "core/camera/actions/action_input.h"
#include "core/camera/identity/camera_information.h"
#include "core/genicam/feature_table.h"
#include "core/persist/flash_areas.h"
#include "core/persist/setting_file_compare.h"
#include "core/protocol/command_table.h"
#include "core/protocol/control_table.h"
#include "core/protocol/exchange.h"
#include "core/protocol/param_value.h"

namespace vk::cli {
namespace {

Json Optional(const std::optional<std::string>& text) {
    return text ? Json(*text) : Json(nullptr);
}

Json TextOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

// A decimal number, with an optional sign, as a number; anything else as text.
Json NumberOrText(const std::string& text) {
    long long number = 0;
    std::size_t used = 0;
    try {
        number = std::stoll(text, &used);
    } catch (const std::exception&) {
        return text;
    }
    return used == text.size() ? Json(number) : Json(text);
}

}  // namespace

const char* ValueKindName(ValueKind kind) {
    switch (kind) {
        case ValueKind::Int:
            return "Int";
        case ValueKind::String:
            return "String";
    }
    return "?";
}

bool JsonWanted(const CliSession& s) {
    return s.options.json;
}

void PrintJson(std::ostream& out, const Json& document) {
    out << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

void PrintField(CliSession& s, const char* name, const Json& value, const std::string& text) {
    if (JsonWanted(s)) {
        PrintJson(s.out, {{name, value}});
    } else {
        s.out << text << '\n';
    }
}

void PrintJsonLine(std::ostream& out, const Json& document) {
    out << document.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n' << std::flush;
}

Json ErrorJson(const std::string& reason, const std::string& request, const std::string& reply) {
    return {{"error",
             {{"reason", reason}, {"request", TextOrNull(request)}, {"reply", TextOrNull(reply)}}}};
}

ExchangeTrail::ExchangeTrail(LineLog& messages, ExchangeLines& lines)
    : log_(messages), lines_(lines) {
    log_.AddObserver(this);
}

ExchangeTrail::~ExchangeTrail() {
    log_.RemoveObserver(this);
}

void ExchangeTrail::OnLineAdded(const std::string& line) {
    if (line.starts_with("Tx: ")) {
        lines_.request = line.substr(4);
        lines_.reply.clear();
    } else if (line.starts_with("Rx: ") && lines_.reply.empty()) {
        lines_.reply = line.substr(4);
    }
}

JsonLogPrinter::JsonLogPrinter(LineLog& log, std::ostream& out) : log_(log), out_(out) {
    log_.AddObserver(this);
}

JsonLogPrinter::~JsonLogPrinter() {
    log_.RemoveObserver(this);
}

void JsonLogPrinter::OnLineAdded(const std::string& line) {
    static const std::size_t stampSize = FormatLogStamp(0, 0, 0).size();
    const std::string stamp = line.substr(0, std::min(line.size(), stampSize));
    std::string text = line.size() > stampSize ? line.substr(stampSize) : "";
    std::string direction;
    if (const auto colon = text.find(": "); colon != std::string::npos && colon < 10) {
        direction = text.substr(0, colon);
        text.erase(0, colon + 2);
    }
    PrintJsonLine(out_, {{"stamp", stamp.substr(0, stamp.find_last_not_of(' ') + 1)},
                         {"direction", direction},
                         {"text", text}});
}

Json ValueJson(const ParamValue& value) {
    if (value.kind == ValueKind::String) return value.text;
    return NumberOrText(value.text);
}

Json DumpJson(const Exchange& exchange, const std::vector<int>& rows) {
    Json values = Json::object();
    for (int row : rows) {
        const ControlEntry& entry = exchange.Controls().Row(row);
        const std::optional<std::int32_t> value = exchange.Values().ValueAt(row);
        values[exchange.GetMnemonic(entry.commandId)] = value ? Json(*value) : Json(nullptr);
    }
    return values;
}

Json ModelJson(const std::string& name, int index) {
    return {{"name", name}, {"index", index}};
}

Json InfoJson(const CameraInformation& info) {
    const Json version =
        info.deviceVersion ? Json(DeviceVersionText(*info.deviceVersion)) : Json(nullptr);
    return {{"firmware_version", Optional(info.firmwareVersion)},
            {"model_name", Optional(info.modelName)},
            {"camera_id", Optional(info.cameraId)},
            {"fpga_version", Optional(info.fpgaVersion)},
            {"user_id", Optional(info.userId)},
            {"device_version", version}};
}

Json DiffJson(const SettingFileComparison& comparison, const std::string& file,
              const std::string& other) {
    Json rows = Json::array();
    for (const SettingDifference& d : comparison.differences) {
        rows.push_back({{"name", d.name},
                        {"file_value", d.line > 0 ? NumberOrText(d.fileValue) : Json(nullptr)},
                        {"other_value", d.answered ? NumberOrText(d.cameraValue) : Json(nullptr)}});
    }
    return {{"file", file}, {"other", other}, {"differences", rows}};
}

Json PortsJson(const std::vector<std::string>& names) {
    Json ports = Json::array();
    for (std::size_t i = 0; i < names.size(); ++i)
        ports.push_back({{"index", i}, {"name", names[i]}});
    return ports;
}

Json CommandTableJson(const CommandTable& table) {
    Json rows = Json::array();
    for (CommandId id = 0; id < table.Count(); ++id) {
        const CommandEntry& e = table.Entry(id);
        rows.push_back({{"id", e.id},
                        {"mnemonic", e.mnemonic},
                        {"kind", ValueKindName(e.kind)},
                        {"decimals", 0}});
    }
    return rows;
}

Json ControlTableJson(const ControlTable& table, const ParameterTable& values) {
    Json rows = Json::array();
    for (int i = 0; i < table.RowCount(); ++i) {
        const ControlEntry& row = table.Row(i);
        const std::optional<std::int32_t> cameraValue = values.ValueAt(i);
        rows.push_back({{"control_id", row.controlId},
                        {"command_id", row.commandId},
                        {"mnemonic", table.Commands().GetMnemonic(row.commandId)},
                        {"kind", static_cast<std::uint32_t>(row.controlKind)},
                        {"range_mode", 0},
                        {"level", static_cast<std::uint32_t>(row.level)},
                        {"minimum", row.minimum},
                        {"maximum", row.maximum},
                        {"value", row.defaultValue},
                        {"camera_value", cameraValue ? Json(*cameraValue) : Json(nullptr)},
                        {"in_setting_file", row.inSettingFile}});
    }
    return {{"rows", rows},
            {"transferable", table.CountTransferable()},
            {"transferable_user", table.CountUserTransferable()}};
}

Json ActionListJson() {
    Json rows = Json::array();
    for (const CameraAction& a : CameraActions()) {
        rows.push_back({{"name", ListedName(a)},
                        {"arguments", ListedArguments(a)},
                        {"commands", CommandsOf(a)},
                        {"level", a.factoryOnly ? "factory" : "user"},
                        {"summary", a.summary}});
    }
    return rows;
}

Json ActionJson(const CameraAction& action, const ActionOutcome& outcome) {
    Json fields = Json::array();
    for (const std::string& text : outcome.fieldTexts)
        fields.push_back(NumberOrText(text));
    return {{"action", ListedName(action)},
            {"ok", outcome.result.ok()},
            {"value", outcome.value ? Json(*outcome.value) : Json(nullptr)},
            {"result_code", outcome.resultCode ? Json(*outcome.resultCode) : Json(nullptr)},
            {"fields", fields},
            {"notice", outcome.notice ? Json(outcome.notice->text) : Json(nullptr)}};
}

Json AreaJson(std::uint32_t area) {
    return {{"area", area}, {"name", FlashAreas::AreaName(static_cast<int>(area))}};
}

namespace {

// A number of the description as a number; text that is none (empty, a name) stays text.
Json DescriptionNumber(const std::string& text) {
    if (text.empty()) return nullptr;
    const char* begin = text.c_str();
    char* end = nullptr;
    const long long whole = std::strtoll(begin, &end, 0);
    if (end != begin && *end == '\0') return whole;
    const double real = std::strtod(begin, &end);
    if (end != begin && *end == '\0') return real;
    return text;
}

}  // namespace

Json FeaturesJson(const std::vector<genicam::FeatureRow>& rows) {
    Json list = Json::array();
    for (const genicam::FeatureRow& r : rows) {
        list.push_back({{"name", r.name},
                        {"display_name", r.displayName},
                        {"kind", r.kind},
                        {"access", r.access},
                        {"address", DescriptionNumber(r.address)},
                        {"length", DescriptionNumber(r.length)},
                        {"min", DescriptionNumber(r.min)},
                        {"max", DescriptionNumber(r.max)},
                        {"unit", r.unit},
                        {"entries", r.entries},
                        {"category", r.category},
                        {"availability", r.availability}});
    }
    return list;
}

Json RegisterJson(std::uint64_t address, const std::vector<std::uint8_t>& bytes,
                  std::optional<std::string> text, std::optional<double> number) {
    Json document = {{"address", address}, {"bytes", bytes}, {"hex", TrafficLogs::HexText(bytes)}};
    if (text) document["text"] = *text;
    if (number) document["value"] = *number;
    return document;
}

Json LutJson(const std::vector<std::pair<char, std::vector<std::int32_t>>>& channels) {
    Json document = Json::object();
    for (const auto& [letter, values] : channels)
        document[std::string(1, letter)] = values;
    return document;
}

Json SummaryJson(const std::vector<CameraRun>& runs, const std::vector<std::string>& outputs) {
    Json cameras = Json::array();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const CameraRun& run = runs[i];
        Json output = nullptr;
        if (i < outputs.size() && !outputs[i].empty()) {
            output = Json::parse(outputs[i], nullptr, false);
            if (output.is_discarded()) output = outputs[i];
        }
        cameras.push_back({{"camera", run.camera},
                           {"result", run.code == kExitOk      ? "ok"
                                      : run.code == kExitUsage ? "refused"
                                                               : "failed"},
                           {"time_s", run.seconds},
                           {"reason", TextOrNull(run.reason)},
                           {"output", output}});
    }
    return {{"cameras", cameras}};
}

}  // namespace vk::cli
