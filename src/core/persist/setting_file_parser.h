#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/protocol/control_table.h"
#include "core/user_interface.h"

namespace vk {

class Exchange;

// What the load does with one line of a setting file.
enum class SettingAction {
    Parameter,      // a set of a page parameter
    Model,          // the model text, written into the camera
    DeviceVersion,  // the device version
    LutEntry,       // one entry of a LUT: "index,value"
    Skip,
};

// Why a line is not sent. The first ones are the tool's own filters and pass silently;
// the others are named in the load's summary.
enum class SkipReason {
    None,
    Blank,             // an empty line
    FactoryOnly,       // the model id, the device version or a factory parameter in user mode
    NotUnderstood,     // no "=", a query, an empty value or a value that is not a number
    UnknownCommand,    // names no command of the camera
    NoParameter,       // a command no page parameter carries
    NotInSettingFile,  // a parameter that setting files do not carry
    NoModel,           // a model id that names no model of the family
};

// Blank lines, and lines left out on purpose (the loader names factory-only ones apart).
bool IsSilentSkip(SkipReason reason);

struct SettingLine {
    int number = 0;    // 1-based line number in the file
    std::string text;  // as in the file, without its line end
    SettingAction action = SettingAction::Skip;
    SkipReason skip = SkipReason::None;
    CommandId command = kNoCommand;
    ControlId control = kNoControl;  // Parameter only
    std::int32_t value = 0;          // Parameter, DeviceVersion; the LUT entry's value
    std::int32_t index = 0;          // LutEntry
    std::string sendText;            // Model: the text; LutEntry: "index,value"
};

// A file taken apart line by line before anything is sent.
struct SettingFilePlan {
    std::vector<SettingLine> lines;

    // Lines the load would send.
    int SendCount() const;
};

// How the file's text came off the disk.
enum class SettingFileRead { Ok, CannotOpen, TooLarge, NotText };

// Whole files only: a file larger than this is no setting file (a full one with every LUT
// entry is a few dozen kilobytes).
inline constexpr std::uintmax_t kMaxSettingFileBytes = 1u << 20;
inline constexpr const char* kNotASettingFile = "\nThis is not a camera setting file.";
inline constexpr const char* kSettingFileTooLarge =
    "\nThis file is too large for a camera setting file (at most 1 MB).";

SettingFileRead ReadSettingFileText(const std::filesystem::path& path, std::string& text);

// Splits the text into lines at LF (a CR before it belongs to the line end) and decides
// each line: parsed with the command layer's setting-line rules, then the loader's filters
// (no page parameter, factory-only in user mode, not in setting files). A line keeps all its
// characters however long it is.
SettingFilePlan ParseSettingFile(const Exchange& exchange, std::string_view text, bool factoryMode);

// True when the text holds at least one line with a known command and a usable value:
// anything else (an empty file too) is not a setting file and nothing of it is loaded.
bool LooksLikeSettingFile(const SettingFilePlan& plan);

// A file read and taken apart before anything is sent, or the box to show (with its path)
// for a file that cannot be read or is not a setting file; the plan is empty then.
struct PreparedSettingFile {
    SettingFilePlan plan;
    std::optional<Notice> failure;
    explicit operator bool() const { return !failure; }
};
PreparedSettingFile PrepareSettingFile(const Exchange& exchange, const std::filesystem::path& path,
                                       bool factoryMode);

// The plan reduced to the lines whose numbers are given (the rest are dropped).
SettingFilePlan OnlyLines(const SettingFilePlan& plan, const std::vector<int>& numbers);

}  // namespace vk
