#include <cctype>
#include <charconv>
#include <ostream>

#include "cli_app.h"
#include "cli_camera_commands.h"
#include "cli_port_commands.h"
#include "core_context.h"

namespace vk::cli {
namespace {

const char* KindName(ValueKind kind) {
    switch (kind) {
        case ValueKind::Int:
            return "Int";
        case ValueKind::Float:
            return "Float";
        case ValueKind::String:
            return "String";
    }
    return "?";
}

// A decimal number with an optional sign, or "&H" and hexadecimal digits.
bool IsNumber(const std::string& text) {
    std::size_t i = text.starts_with("&H") || text.starts_with("&h") ? 2 : 0;
    const bool hex = i == 2;
    if (!hex && !text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
    if (i >= text.size()) return false;
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!(hex ? std::isxdigit(c) : std::isdigit(c))) return false;
    }
    return true;
}

// The command id of a mnemonic, or a message and kNoCommand.
CommandId Lookup(CliSession& s, const std::string& mnemonic) {
    const CommandId id = s.core.command.FindCommand(mnemonic);
    if (id == kNoCommand) s.err << "vk4100ctl: unknown mnemonic: " << mnemonic << '\n';
    return id;
}

int Get(CliSession& s, const std::vector<std::string>& args) {
    const CommandId id = Lookup(s, args[0]);
    if (id == kNoCommand) return kExitUsage;
    ParamValue value;
    if (!s.core.command.SendQuery(id, value, s.options.timeoutMs)) {
        s.err << "vk4100ctl: no valid answer to " << args[0] << "?\n";
        return kExitFailed;
    }
    // A few numeric commands (the user id) hold text: print what the camera sent then.
    if (value.kind == ValueKind::String || !IsNumber(value.text)) {
        s.out << value.text << '\n';
    } else {
        s.out << value.intValue << '\n';
    }
    return kExitOk;
}

int Set(CliSession& s, const std::vector<std::string>& args) {
    const CommandId id = Lookup(s, args[0]);
    if (id == kNoCommand) return kExitUsage;
    const std::string& text = args[1];
    std::int32_t number = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    const bool whole = ec == std::errc() && end == text.data() + text.size();
    // Anything but a whole number goes as typed; the camera judges it.
    const bool ok = s.core.command.Commands().Entry(id).kind == ValueKind::Int && whole
                        ? s.core.command.SendSetInt(id, number, s.options.timeoutMs)
                        : s.core.command.SendSetString(id, text, s.options.timeoutMs);
    if (!ok) {
        s.err << "vk4100ctl: " << args[0] << " was not set\n";
        return kExitFailed;
    }
    return kExitOk;
}

// Sends the line as typed and prints the first line that comes back.
int Raw(CliSession& s, const std::vector<std::string>& args) {
    auto& command = s.core.command;
    if (!s.core.channel.SendText(args[0] + "\r\n")) {
        s.err << "vk4100ctl: the line could not be sent\n";
        return kExitFailed;
    }
    const auto deadline = Command::Clock::now() + std::chrono::milliseconds(s.options.timeoutMs);
    while (Command::Clock::now() < deadline && !command.ReceiveLine(true, deadline)) {
    }
    std::string reply;
    if (!command.PopReply(reply)) {
        s.err << "vk4100ctl: no answer within " << s.options.timeoutMs << " ms\n";
        return kExitFailed;
    }
    s.out << reply << '\n';
    return kExitOk;
}

int Tables(CliSession& s, const std::vector<std::string>& args) {
    if (args[0] == "commands") {
        const CommandTable& table = s.core.command.Commands();
        for (CommandId id = 0; id < table.Count(); ++id) {
            const CommandEntry& e = table.Entry(id);
            s.out << e.id << '\t' << e.mnemonic << '\t' << KindName(e.kind) << '\t' << e.decimals
                  << '\n';
        }
        return kExitOk;
    }
    if (args[0] == "controls") {
        PrintControlTable(s.core.command.Controls(), s.out);
        return kExitOk;
    }
    s.err << "vk4100ctl: unknown table: " << args[0] << '\n';
    return kExitUsage;
}

}  // namespace

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        {"get", "get MNEMONIC            query a value", 1, 1, true, Get},
        {"set", "set MNEMONIC VALUE      set a value", 2, 2, true, Set},
        {"raw", "raw LINE                send a line as typed, print the answer", 1, 1, true, Raw},
        {"tables", "tables commands|controls  print the command or the control table", 1, 1, false,
         Tables},
        {"dump", "dump [--factory]        read every parameter of the mode: MNEMONIC=value lines",
         0, 1, true, DumpCommand},
        {"model", "model                   check the camera's model, print name and index", 0, 0,
         true, ModelCommand},
        {"ports", "ports                   list the ports of the mode (--mode, else the stored)", 0,
         0, false, ListPorts},
    };
    return commands;
}

}  // namespace vk::cli
