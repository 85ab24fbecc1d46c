#include "cli/cli_identity_commands.h"

#include <charconv>
#include <iostream>
#include <ostream>

#include "cli/json_output.h"
#include "cli/log_printer.h"
#include "core/camera/identity/camera_information.h"
#include "core/camera/identity/identity_writes.h"
#include "core/camera/identity/lens.h"
#include "core/comm/terminal_line.h"
#include "core/core_context.h"
#include "core/protocol/exchange.h"
#include "core/protocol/integer_text.h"
#include "core/protocol/printable.h"

namespace vk::cli {
namespace {

constexpr int kLongestMove = 600000;
constexpr int kDefaultQuietMs = 300;
constexpr std::size_t kMaxTypedLine = 4096;

enum class TypedLine { Line, End, TooLong };

// The next line of the input, read no further than one byte past the limit, so that an
// input without line ends (/dev/zero) cannot fill the memory. A here-document written on
// Windows ends its lines in CR LF: that CR is the line end's.
TypedLine ReadTypedLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (line.empty()) return TypedLine::End;
            break;
        }
        if (c == '\n') break;
        line.push_back(static_cast<char>(c));
        if (line.size() > kMaxTypedLine + 1) return TypedLine::TooLong;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line.size() > kMaxTypedLine ? TypedLine::TooLong : TypedLine::Line;
}

// The outcome of a write: nothing on success, the tool's sentence otherwise.
int Report(CliSession& s, const IdentityOutcome& outcome) {
    if (outcome.ok) return kExitOk;
    s.err << "vk4100ctl: " << Printable(outcome.text);
    if (outcome.sent) s.err << " (" << Printable(outcome.exchange.Describe()) << ")";
    s.err << '\n';
    return outcome.sent ? kExitFailed : kExitUsage;
}

int ReadFailed(CliSession& s, const char* what, const ExchangeResult& result) {
    s.err << "vk4100ctl: the camera did not give its " << what << ": "
          << Printable(result.Describe()) << '\n';
    return kExitFailed;
}

bool NeedsFactory(CliSession& s, const char* what) {
    if (s.options.factory) return false;
    s.err << "vk4100ctl: writing the " << what << " needs --factory\n";
    return true;
}

}  // namespace

int InfoCommand(CliSession& s, const std::vector<std::string>&) {
    const CameraInformation info = ReadCameraInformation(s.core.exchange, s.core.modelCheck);
    if (JsonWanted(s)) {
        if (!info.firstFailure.ok()) return ReadFailed(s, "information", info.firstFailure);
        PrintJson(s.out, InfoJson(info));
        return kExitOk;
    }
    const auto line = [&](const char* name, const std::optional<std::string>& value,
                          const char* placeholder) {
        s.out << name << ": " << (value ? Printable(*value) : placeholder) << '\n';
    };
    line("firmware version", info.firmwareVersion, kVersionPlaceholder);
    line("model name", info.modelName, kNamePlaceholder);
    line("camera id", info.cameraId, kNamePlaceholder);
    line("FPGA version", info.fpgaVersion, kVersionPlaceholder);
    line("user id", info.userId, kUserIdPlaceholder);
    s.out << "device version: "
          << (info.deviceVersion ? DeviceVersionText(*info.deviceVersion) : "?.?.?.?") << '\n';
    if (!info.firstFailure.ok()) return ReadFailed(s, "information", info.firstFailure);
    return kExitOk;
}

int UserIdCommand(CliSession& s, const std::vector<std::string>& args) {
    if (!args.empty()) return Report(s, WriteUserId(s.core.exchange, args[0]));
    const auto result = QueryUserId(s.core.exchange);
    if (!result) return ReadFailed(s, "user id", result);
    PrintField(s, "user_id", result.value, Printable(result.value));
    return kExitOk;
}

int CameraIdCommand(CliSession& s, const std::vector<std::string>& args) {
    if (!args.empty()) {
        if (NeedsFactory(s, "camera id")) return kExitUsage;
        return Report(s, WriteCameraId(s.core.exchange, args[0]));
    }
    const auto result = QueryCameraId(s.core.exchange);
    if (!result) return ReadFailed(s, "camera id", result);
    PrintField(s, "camera_id", result.value, Printable(result.value));
    return kExitOk;
}

int DeviceVersionCommand(CliSession& s, const std::vector<std::string>& args) {
    if (!args.empty()) {
        if (NeedsFactory(s, "device version")) return kExitUsage;
        const std::int32_t version = ReadTypedNumber<std::int32_t>(args[0]).value_or(-1);
        if (version < 0) {
            s.err << "vk4100ctl: bad device version: " << args[0] << '\n';
            return kExitUsage;
        }
        return Report(s, WriteDeviceVersion(s.core.exchange, version));
    }
    const auto result = QueryDeviceVersion(s.core.exchange);
    if (!result) return ReadFailed(s, "device version", result);
    PrintField(s, "device_version", result.value, std::to_string(result.value));
    return kExitOk;
}

int LensCommand(CliSession& s, const std::vector<std::string>& args) {
    const LensMove* move = FindLensMove(args[0].c_str(), args[1].c_str());
    if (!move) {
        s.err << "vk4100ctl: no lens movement \"" << args[0] << ' ' << args[1]
              << "\" (iris open|close, zoom wide|tele, focus near|far)\n";
        return kExitUsage;
    }
    const std::int32_t ms = ReadTypedNumber<std::int32_t>(args[2]).value_or(-1);
    if (ms < 0 || ms > kLongestMove) {
        s.err << "vk4100ctl: bad time: " << args[2] << " (0 to " << kLongestMove << " ms)\n";
        return kExitUsage;
    }
    const ExchangeResult result = MoveLensFor(*s.operation, *move, ms);
    if (result.status == ExchangeStatus::Cancelled) return kExitFailed;
    if (!result) {
        s.err << "vk4100ctl: the lens did not move: " << Printable(result.Describe()) << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

int TerminalCommand(CliSession& s, const std::vector<std::string>& args) {
    int quietMs = kDefaultQuietMs;
    if (!args.empty()) {
        const std::string value = args[0] == "--quiet-ms" && args.size() == 2 ? args[1]
                                  : args.size() == 1 && args[0].starts_with("--quiet-ms=")
                                      ? args[0].substr(11)
                                      : std::string();
        quietMs = ReadTypedNumber<std::int32_t>(value).value_or(-1);
        if (quietMs < 0 || quietMs > Exchange::kMaxListenMs) {
            s.err << "vk4100ctl: terminal takes --quiet-ms MS (0 to " << Exchange::kMaxListenMs
                  << ")\n";
            return kExitUsage;
        }
    }
    std::istream& in = s.in ? *s.in : std::cin;
    std::optional<LogPrinter> printer;
    std::optional<JsonLogPrinter> jsonPrinter;  // JSON Lines
    if (JsonWanted(s)) {
        jsonPrinter.emplace(s.core.logs.terminal, s.out);
    } else {
        printer.emplace(s.core.logs.terminal, s.out);
    }
    int code = kExitOk;
    std::string line;
    for (int number = 1;; ++number) {
        const TypedLine typed = ReadTypedLine(in, line);
        if (typed == TypedLine::End) break;
        if (typed == TypedLine::TooLong) {
            s.err << "vk4100ctl: terminal: line " << number << " is longer than " << kMaxTypedLine
                  << " bytes; it and the rest of the input are not sent\n";
            return kExitUsage;
        }
        if (line.find('\r') != std::string::npos) {
            s.err << "vk4100ctl: terminal: line " << number
                  << " holds a CR inside, which would end the command there; not sent\n";
            code = kExitUsage;
            continue;
        }
        const ExchangeResult result = SendTerminalLine(s.core.exchange, line, s.options.timeoutMs);
        if (result.status == ExchangeStatus::Cancelled || s.operation->Cancelled()) return code;
        if (result.status == ExchangeStatus::LineGone) {
            s.err << "vk4100ctl: " << Printable(result.Describe()) << '\n';
            return kExitFailed;
        }
        if (!result && code == kExitOk) code = kExitFailed;
    }
    // Every line of the camera's answer to the last one is listed, as the window does.
    s.core.exchange.ListenUntilQuiet(quietMs);
    return code;
}

}  // namespace vk::cli
