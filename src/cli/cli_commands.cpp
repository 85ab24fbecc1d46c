#include <algorithm>
#include <cctype>
#include <ostream>

#include "cli/cli_action_commands.h"
#include "cli/cli_app.h"
#include "cli/cli_camera_commands.h"
#include "cli/cli_file_commands.h"
#include "cli/cli_identity_commands.h"
#include "cli/cli_lut_commands.h"
#include "cli/cli_port_commands.h"
#include "cli/cli_xml_commands.h"
#include "cli/json_output.h"
#include "core/core_context.h"
#include "core/protocol/printable.h"
#include "core/protocol/reply_parser.h"
#include "core/protocol/set_value_check.h"

namespace vk::cli {
namespace {

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

// The command id of a mnemonic in any letter case, or a message and kNoCommand.
CommandId Lookup(CliSession& s, const std::string& mnemonic) {
    std::string upper = mnemonic;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const CommandId id = s.core.exchange.FindCommand(upper);
    if (id == kNoCommand) s.err << "vk4100ctl: unknown mnemonic: " << Printable(mnemonic) << '\n';
    return id;
}

int Get(CliSession& s, const std::vector<std::string>& args) {
    const CommandId id = Lookup(s, args[0]);
    if (id == kNoCommand) return kExitUsage;
    const QueryResult<ParamValue> result = s.core.exchange.SendQuery(id, s.options.timeoutMs);
    const ParamValue& value = result.value;
    if (!result) {
        s.err << "vk4100ctl: no valid answer to " << s.core.exchange.GetMnemonic(id)
              << "?: " << Printable(result.Describe()) << '\n';
        return kExitFailed;
    }
    if (JsonWanted(s)) {
        PrintJson(s.out,
                  {{"mnemonic", s.core.exchange.GetMnemonic(id)}, {"value", ValueJson(value)}});
        return kExitOk;
    }
    // A few numeric commands (the user id) hold text: print what the camera sent then.
    if (value.kind == ValueKind::String || !IsNumber(value.text)) {
        s.out << Printable(value.text) << '\n';
    } else {
        s.out << value.intValue << '\n';
    }
    return kExitOk;
}

int Set(CliSession& s, const std::vector<std::string>& args) {
    const CommandId id = Lookup(s, args[0]);
    if (id == kNoCommand) return kExitUsage;
    const SetValueCheck check =
        CheckSetValue(s.core.exchange.Controls(), id, args[1], s.options.factory);
    if (!check.refusal.empty()) {
        s.err << "vk4100ctl: " << Printable(check.refusal) << '\n';
        return kExitUsage;
    }
    const ExchangeResult result =
        check.number ? s.core.exchange.SendSetInt(id, *check.number, s.options.timeoutMs)
                     : s.core.exchange.SendSetString(id, args[1], s.options.timeoutMs);
    if (!result) {
        s.err << "vk4100ctl: " << s.core.exchange.GetMnemonic(id)
              << " was not set: " << Printable(result.Describe()) << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

// Sends the line as typed and prints the first line that answers it; an answer that is
// neither COMPLETE nor a value is the camera's error text.
int Raw(CliSession& s, const std::vector<std::string>& args) {
    const ExchangeResult result =
        s.core.exchange.SendLine(args[0] + "\r\n", s.options.timeoutMs, true);
    if (!result) {
        s.err << "vk4100ctl: " << Printable(args[0]) << ": " << StatusName(result.status) << '\n';
        return kExitFailed;
    }
    PrintField(s, "reply", result.reply, Printable(result.reply));
    const ParsedReply reply = s.core.exchange.ParseReply(result.reply);
    const bool value = reply.valid && reply.op == "=";
    if (IsCompleteReply(result.reply) || value) return kExitOk;
    s.err << "vk4100ctl: " << Printable(args[0]) << ": the camera answered an error\n";
    return kExitFailed;
}

int Tables(CliSession& s, const std::vector<std::string>& args) {
    if (JsonWanted(s) && (args[0] == "commands" || args[0] == "controls")) {
        PrintJson(s.out, args[0] == "commands" ? CommandTableJson(s.core.exchange.Commands())
                                               : ControlTableJson(s.core.exchange.Controls(),
                                                                  s.core.exchange.Values()));
        return kExitOk;
    }
    if (args[0] == "commands") {
        const CommandTable& table = s.core.exchange.Commands();
        for (CommandId id = 0; id < table.Count(); ++id) {
            const CommandEntry& e = table.Entry(id);
            // The design's decimals column: no command carries decimals.
            s.out << e.id << '\t' << e.mnemonic << '\t' << ValueKindName(e.kind) << "\t0\n";
        }
        return kExitOk;
    }
    if (args[0] == "controls") {
        PrintControlTable(s.core.exchange.Controls(), s.core.exchange.Values(), s.out);
        return kExitOk;
    }
    s.err << "vk4100ctl: unknown table: " << args[0] << '\n';
    return kExitUsage;
}

}  // namespace

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        {"get", "get MNEMONIC            query a value", 1, 1, true, Get},
        {"set", "set MNEMONIC VALUE      set a value (checked against the parameter's range)", 2, 2,
         true, Set},
        {"raw", "raw LINE                send a line as typed, print the answer", 1, 1, true, Raw},
        {"tables", "tables commands|controls  print the command or the control table", 1, 1, false,
         Tables},
        {"dump", "dump [--factory]        read every parameter of the mode: MNEMONIC=value lines",
         0, 1, true, DumpCommand},
        {"model", "model                   check the camera's model, print name and index", 0, 0,
         true, ModelCommand},
        {"save", "save FILE [--shipping]  read the camera, write its setting file (All Data)", 1, 2,
         true, SaveCommand, "file save"},
        {"load", "load FILE [--changed-only]  send a setting file (only what the camera lacks)", 1,
         2, true, LoadCommand, "file load"},
        {"diff", "diff FILE [FILE2]       what differs between the file and the camera (or FILE2)",
         1, 2, true, DiffCommand, "file diff", 2},
        {"ports", "ports                   list the ports of the mode (--mode, else the stored)", 0,
         0, false, ListPorts},
        {"lut read", "lut read [CH] [FILE]    read LUTs (CH r, g, b or all) to FILE or stdout", 0,
         2, true, LutReadCommand},
        {"lut write", "lut write CH FILE       write FILE's column of CH (all: every column)", 2, 2,
         true, LutWriteCommand},
        {"lut save", "lut save FILE           read all three LUTs into FILE", 1, 1, true,
         LutSaveCommand},
        {"lut load", "lut load FILE           write all three LUTs of FILE", 1, 1, true,
         LutLoadCommand},
        {"lut make", "lut make --gamma G | --linear [FILE]  a standard curve file", 1, 3, false,
         LutMakeCommand},
        {"action", "action list | action NAME [ARGS]  list the camera actions, or run one", 1, 5,
         true, ActionCommand},
        {"area", "area current|load N|store N|store-all  the camera's flash areas", 1, 2, true,
         AreaCommand},
        {"info",
         "info                    the camera's versions and ids, one \"name: value\" a line", 0, 0,
         true, InfoCommand},
        {"user-id",
         "user-id [TEXT]          print the user id, or write TEXT (16 characters at most)", 0, 1,
         true, UserIdCommand},
        {"camera-id",
         "camera-id [TEXT]        print the camera id, or write TEXT (needs --factory)", 0, 1, true,
         CameraIdCommand},
        {"device-version",
         "device-version [N]      print the device version, or write N (needs --factory)", 0, 1,
         true, DeviceVersionCommand},
        {"lens",
         "lens AXIS WAY MS        move the lens (iris open|close, zoom wide|tele, focus "
         "near|far) for MS ms",
         3, 3, true, LensCommand},
        {"terminal",
         "terminal [--quiet-ms MS]  send each line of standard input, print Tx/Rx lines until "
         "the line is quiet MS ms (300) after the last",
         0, 2, true, TerminalCommand},
        {"xml download",
         "xml download [FILE]     read the camera's XML file (default _download.zip)", 0, 1, true,
         XmlDownloadCommand},
        {"xml features", "xml features FILE       print the features of an XML file or its zip", 1,
         1, false, XmlFeaturesCommand},
        {"xml tree", "xml tree FILE           print the category tree of an XML file or its zip", 1,
         1, false, XmlTreeCommand},
        {"xml get", "xml get NAME [--file FILE]  read a feature of the camera's description", 1, 3,
         true, XmlGetCommand},
        {"xml set", "xml set NAME VALUE [--file FILE]  write a feature", 2, 4, true, XmlSetCommand},
        {"xml execute", "xml execute NAME [--file FILE]  run a command feature", 1, 3, true,
         XmlExecuteCommand},
        {"xml read-all", "xml read-all FILE       read every readable feature: NAME=value", 1, 1,
         true, XmlReadAllCommand},
        {"reg read", "reg read ADDRESS [LENGTH] [--text|--float]  read a register (hex bytes)", 1,
         4, true, RegReadCommand},
        {"reg write",
         "reg write ADDRESS VALUE [--text|--float]  write a 32-bit word, float or text", 2, 4, true,
         RegWriteCommand},
    };
    return commands;
}

}  // namespace vk::cli
