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
#include "core/protocol/printable.h"

namespace vk::cli {
namespace {

constexpr int kLongestMove = 600000;

bool ParseInt(const std::string& text, std::int32_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// The outcome of a write: nothing on success, the tool's sentence otherwise.
int Report(CliSession& s, const IdentityOutcome& outcome) {
    if (outcome.ok) return kExitOk;
    s.err << "vk4100ctl: " << outcome.text;
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
        std::int32_t version = 0;
        if (!ParseInt(args[0], version) || version < 0) {
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
    std::int32_t ms = 0;
    if (!ParseInt(args[2], ms) || ms < 0 || ms > kLongestMove) {
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

int TerminalCommand(CliSession& s, const std::vector<std::string>&) {
    std::istream& in = s.in ? *s.in : std::cin;
    std::optional<LogPrinter> printer;
    std::optional<JsonLogPrinter> jsonPrinter;  // JSON Lines
    if (JsonWanted(s)) {
        jsonPrinter.emplace(s.core.logs.terminal, s.out);
    } else {
        printer.emplace(s.core.logs.terminal, s.out);
    }
    int code = kExitOk;
    for (std::string line; std::getline(in, line);) {
        // A here-document written on Windows ends its lines in CR LF.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const ExchangeResult result = SendTerminalLine(s.core.exchange, line, s.options.timeoutMs);
        if (result.status == ExchangeStatus::Cancelled || s.operation->Cancelled()) break;
        if (result.status == ExchangeStatus::LineGone) {
            s.err << "vk4100ctl: " << Printable(result.Describe()) << '\n';
            return kExitFailed;
        }
        if (!result) code = kExitFailed;
    }
    return code;
}

}  // namespace vk::cli
