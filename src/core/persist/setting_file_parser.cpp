#include "core/persist/setting_file_parser.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "core/comm/model_check.h"
#include "core/persist/input_file.h"
#include "core/persist/setting_file.h"
#include "core/protocol/command_mnemonics.h"
#include "core/protocol/exchange.h"
#include "core/user_interface.h"

namespace vk {
namespace {

bool IsLutCommand(CommandId id) {
    return id == Cmd("LUTR") || id == Cmd("LUTG") || id == Cmd("LUTB");
}

void Skip(SettingLine& line, SkipReason reason) {
    line.action = SettingAction::Skip;
    line.skip = reason;
}

void Decide(const Exchange& exchange, bool factoryMode, SettingLine& line) {
    if (std::all_of(line.text.begin(), line.text.end(),
                    [](unsigned char c) { return std::isspace(c) != 0; })) {
        return Skip(line, SkipReason::Blank);
    }
    const ParsedReply reply = exchange.ParseReply(line.text);
    if (!reply.valid) {
        // A known command with a value that is no number is not understood; a name the
        // camera does not have is an unknown command.
        const bool unknown =
            !reply.op.empty() && !reply.mnemonic.empty() && reply.commandId == kNoCommand;
        return Skip(line, unknown ? SkipReason::UnknownCommand : SkipReason::NotUnderstood);
    }
    line.command = reply.commandId;
    // A query or an empty value would otherwise go out as a set to 0.
    if (reply.op != "=" || reply.value1.empty()) return Skip(line, SkipReason::NotUnderstood);

    if (reply.commandId == Cmd("MD00")) {
        if (reply.valueCount != 1) return Skip(line, SkipReason::NotUnderstood);
        // The camera's identity is the factory's to write; a text of no model would leave
        // a camera that the tools refuse.
        if (!factoryMode) return Skip(line, SkipReason::FactoryOnly);
        if (ModelCheck::IndexOf(reply.value.text) == ModelCheck::kNoModel) {
            return Skip(line, SkipReason::NoModel);
        }
        line.action = SettingAction::Model;
        line.sendText = reply.value.text;
        return;
    }
    if (IsLutCommand(reply.commandId)) {
        const auto first = ReadCInteger(reply.value1);
        const auto second = ReadCInteger(reply.value2);
        if (reply.valueCount != 2 || !first || !second) {
            return Skip(line, SkipReason::NotUnderstood);
        }
        line.action = SettingAction::LutEntry;
        line.index = *first;
        line.value = *second;
        line.sendText = std::to_string(*first) + "," + std::to_string(*second);
        return;
    }
    const auto value = ReadIntValue(reply.value1);
    if (reply.valueCount != 1 || !value) return Skip(line, SkipReason::NotUnderstood);
    line.value = *value;
    if (reply.commandId == Cmd("DVW")) {
        if (!factoryMode) return Skip(line, SkipReason::FactoryOnly);
        line.action = SettingAction::DeviceVersion;
        return;
    }
    const ControlTable& table = exchange.Controls();
    line.control = table.ControlOf(reply.commandId);
    if (line.control == kNoControl) return Skip(line, SkipReason::NoParameter);
    if (table.IsFactoryParameter(line.control) && !factoryMode) {
        return Skip(line, SkipReason::FactoryOnly);
    }
    if (table.InSettingFile(line.control) != 1) return Skip(line, SkipReason::NotInSettingFile);
    line.action = SettingAction::Parameter;
}

}  // namespace

bool IsSilentSkip(SkipReason reason) {
    return reason == SkipReason::None || reason == SkipReason::Blank ||
           reason == SkipReason::FactoryOnly;
}

int SettingFilePlan::SendCount() const {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const SettingLine& l) {
        return l.action != SettingAction::Skip;
    }));
}

SettingFileRead ReadSettingFileText(const std::filesystem::path& path, std::string& text) {
    InputFile file = ReadInputFile(path, kMaxSettingFileBytes);
    if (file.status == InputFile::Status::TooLarge) return SettingFileRead::TooLarge;
    if (!file.Ok()) return SettingFileRead::CannotOpen;
    text = std::move(file.bytes);
    // A text file holds no NUL byte; an image or an archive picked by mistake does.
    if (text.find('\0') != std::string::npos) return SettingFileRead::NotText;
    return SettingFileRead::Ok;
}

SettingFilePlan ParseSettingFile(const Exchange& exchange, std::string_view text,
                                 bool factoryMode) {
    SettingFilePlan plan;
    std::size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view body = text.substr(start, end - start);
        if (body.ends_with('\r')) body.remove_suffix(1);
        SettingLine line;
        line.number = ++number;
        line.text = std::string(body);
        Decide(exchange, factoryMode, line);
        plan.lines.push_back(std::move(line));
        start = next;
    }
    return plan;
}

bool LooksLikeSettingFile(const SettingFilePlan& plan) {
    for (const SettingLine& line : plan.lines) {
        if (line.action != SettingAction::Skip) return true;
        switch (line.skip) {
            case SkipReason::FactoryOnly:
            case SkipReason::NoParameter:
            case SkipReason::NotInSettingFile:
                return true;
            default:
                break;
        }
    }
    return false;
}

PreparedSettingFile PrepareSettingFile(const Exchange& exchange, const std::filesystem::path& path,
                                       bool factoryMode) {
    const auto refused = [&path](const char* why) {
        return PreparedSettingFile{{}, Notice{path.string() + why, kFileOpenErrorCaption}};
    };
    std::string text;
    const SettingFileRead read = ReadSettingFileText(path, text);
    if (read == SettingFileRead::CannotOpen) return refused(kCouldNotOpenFile);
    if (read == SettingFileRead::TooLarge) return refused(kSettingFileTooLarge);
    if (read != SettingFileRead::Ok) return refused(kNotASettingFile);
    PreparedSettingFile prepared{ParseSettingFile(exchange, text, factoryMode), std::nullopt};
    if (!LooksLikeSettingFile(prepared.plan)) return refused(kNotASettingFile);
    return prepared;
}

SettingFilePlan OnlyLines(const SettingFilePlan& plan, const std::vector<int>& numbers) {
    SettingFilePlan kept;
    for (const SettingLine& line : plan.lines) {
        if (std::find(numbers.begin(), numbers.end(), line.number) != numbers.end()) {
            kept.lines.push_back(line);
        }
    }
    return kept;
}

}  // namespace vk
