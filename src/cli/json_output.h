#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/comm/line_log.h"
#include "core/protocol/param_value.h"

namespace vk {
struct CameraInformation;
class CommandTable;
class ControlTable;
class ParameterTable;
class Exchange;
struct FeatureTable;
namespace genicam {
struct FeatureRow;
}  // namespace genicam
struct SettingFileComparison;
struct CameraAction;
struct ActionOutcome;
}  // namespace vk

// --json: what the commands print, as JSON documents (JSON Lines for streams). The commands
// hand their results here; the text printing stays theirs.
namespace vk::cli {

struct CameraRun;
struct CliSession;

using Json = nlohmann::ordered_json;

bool JsonWanted(const CliSession& s);
// "Int", "Float", "String".
const char* ValueKindName(ValueKind kind);
// One document on its own lines; bytes that are no UTF-8 become U+FFFD.
void PrintJson(std::ostream& out, const Json& document);
// A value a command prints alone: {"name": value} with --json, else the text on its line.
void PrintField(CliSession& s, const char* name, const Json& value, const std::string& text);
// One document on one line (JSON Lines).
void PrintJsonLine(std::ostream& out, const Json& document);

// {"error": {"reason": ..., "request": ..., "reply": ...}}; null where there was none.
Json ErrorJson(const std::string& reason, const std::string& request, const std::string& reply);

// The last line sent and the camera's line after it.
struct ExchangeLines {
    std::string request;
    std::string reply;
};

// Keeps the last exchange of a log in `lines`, for an error's request and reply.
class ExchangeTrail : public LineLogObserver {
public:
    ExchangeTrail(LineLog& messages, ExchangeLines& lines);
    ~ExchangeTrail() override;
    ExchangeTrail(const ExchangeTrail&) = delete;
    ExchangeTrail& operator=(const ExchangeTrail&) = delete;
    void OnLineAdded(const std::string& line) override;

private:
    LineLog& log_;
    ExchangeLines& lines_;
};

// The terminal's lines as JSON Lines: {"stamp": "MM:SS:mmm", "direction": "Tx", "text": ...}.
class JsonLogPrinter : public LineLogObserver {
public:
    JsonLogPrinter(LineLog& log, std::ostream& out);
    ~JsonLogPrinter() override;
    JsonLogPrinter(const JsonLogPrinter&) = delete;
    JsonLogPrinter& operator=(const JsonLogPrinter&) = delete;
    void OnLineAdded(const std::string& line) override;

private:
    LineLog& log_;
    std::ostream& out_;
};

// A value as the camera gave it: a number when it is one, else its text.
Json ValueJson(const ParamValue& value);
Json DumpJson(const Exchange& exchange, const std::vector<int>& rows);
Json ModelJson(const std::string& name, int index);
Json InfoJson(const CameraInformation& info);
Json DiffJson(const SettingFileComparison& comparison, const std::string& file,
              const std::string& other);
Json PortsJson(const std::vector<std::string>& names);
Json CommandTableJson(const CommandTable& table);
Json ControlTableJson(const ControlTable& table, const ParameterTable& values);
Json ActionListJson();
Json ActionJson(const CameraAction& action, const ActionOutcome& outcome);
Json AreaJson(std::uint32_t area);
Json FeaturesJson(const std::vector<genicam::FeatureRow>& rows);
Json RegisterJson(std::uint64_t address, const std::vector<std::uint8_t>& bytes,
                  std::optional<std::string> text, std::optional<double> number);
// LUT entries under their channels' letters: {"r": [...], "g": [...], "b": [...]}.
Json LutJson(const std::vector<std::pair<char, std::vector<std::int32_t>>>& channels);
// The many-camera summary; each camera's own output (a document, or its lines as text).
Json SummaryJson(const std::vector<CameraRun>& runs, const std::vector<std::string>& outputs);

}  // namespace vk::cli
