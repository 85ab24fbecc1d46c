#include "protocol/command.h"

#include <cmath>

#include "comm/line_log.h"
#include "comm/online_status_notifier.h"
#include "comm/serial_channel.h"
#include "ui_port.h"

namespace vk {

Command::Command(SerialChannel& channel, UiPort& ui, OnlineStatusNotifier& notifier,
                 TrafficLogs& logs)
    : channel_(channel), ui_(ui), notifier_(notifier), logs_(logs), controls_(commands_, ui) {}

std::string Command::BuildSetCommand(CommandId id, const ParamValue& value,
                                     bool withTerminator) const {
    const CommandEntry& entry = commands_.Entry(id);
    std::string line = entry.mnemonic + "=" + FormatValue(entry, value);
    if (withTerminator) line += "\r\n";
    return line;
}

std::string Command::BuildQueryCommand(CommandId id, bool withTerminator) const {
    std::string line = commands_.Entry(id).mnemonic + "?";
    if (withTerminator) line += "\r\n";
    return line;
}

bool Command::SendSetInt(CommandId id, std::int32_t value, int timeoutMs) {
    if (!commands_.IsValid(id)) return false;
    ParamValue v;
    v.intValue = value;
    // A Float command set from an integer takes it as scaled by its decimals.
    v.floatValue = value / std::pow(10.0, commands_.Entry(id).decimals);
    return SendSetValue(id, v, timeoutMs);
}

bool Command::SendSetString(CommandId id, const std::string& text, int timeoutMs) {
    if (!commands_.IsValid(id)) return false;
    CommandEntry& entry = commands_.MutableEntry(id);
    const ValueKind saved = entry.kind;
    entry.kind = ValueKind::String;
    ParamValue v;
    v.text = text;
    const bool ok = SendSetValue(id, v, timeoutMs);
    entry.kind = saved;
    return ok;
}

bool Command::SendSetValue(CommandId id, const ParamValue& value, int timeoutMs) {
    if (!commands_.IsValid(id)) return false;
    ClearReceiveState();
    if (!Send(BuildSetCommand(id, value, true))) return false;
    return WaitComplete(timeoutMs);
}

bool Command::WaitComplete(int timeoutMs) {
    ui_.SetWaitCursor(true);
    const bool answered = WaitForLine(timeoutMs, true);
    ui_.SetWaitCursor(false);
    if (!answered) return false;

    std::string line;
    PopReply(line);
    std::string head = line.substr(0, 8);
    for (auto& c : head)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    notifier_.SetOnline();
    if (head != "COMPLETE") {
        ShowError(line);
        return false;
    }
    return true;
}

bool Command::SendQuery(CommandId id, ParamValue& value, int timeoutMs) {
    if (!commands_.IsValid(id) || commands_.Entry(id).mnemonic.empty()) return false;
    ClearReceiveState();
    const std::string query = BuildQueryCommand(id, false);
    if (!Send(query + "\r\n")) return false;
    if (!WaitForLine(timeoutMs, true)) return false;

    std::string line;
    PopReply(line);
    ParsedReply reply;
    ParseReply(line, reply);
    if (reply.error == 0 && reply.mnemonic == commands_.Entry(id).mnemonic) {
        value = reply.value;
        notifier_.SetOnline();
        return true;
    }
    ShowError(reply.raw + " for " + query);
    return false;
}

bool Command::QueryInt(CommandId id, std::int32_t& value, int timeoutMs) {
    ParamValue v;
    if (!SendQuery(id, v, timeoutMs)) return false;
    value = v.intValue;
    return true;
}

bool Command::QueryString(CommandId id, std::string& text, int timeoutMs) {
    ParamValue v;
    if (!SendQuery(id, v, timeoutMs)) return false;
    text = v.text;
    return true;
}

bool Command::SendRawQuery(std::int32_t& value, const std::string& commandText, int timeoutMs,
                           bool reportTimeout) {
    ClearReceiveState();
    if (!Send(commandText)) return false;
    if (!WaitForLine(timeoutMs, reportTimeout)) return false;
    std::string line;
    PopReply(line);
    ParsedReply reply;
    ParseReply(line, reply);
    value = ParseCInteger(reply.value1);
    notifier_.SetOnline();
    return true;
}

bool Command::ParseReply(std::string_view line, ParsedReply& reply) const {
    return vk::ParseReply(commands_, line, reply);
}

bool Command::ParseSettingLine(std::string_view line, CommandId& id, std::string& mnemonic,
                               std::int32_t& intValue, std::string& text) const {
    ParsedReply reply;
    if (!ParseReply(line, reply)) return false;
    id = reply.commandId;
    mnemonic = reply.mnemonic;
    intValue = reply.value.intValue;
    text = reply.value.text;
    return true;
}

bool Command::ParsePairLine(std::string_view line, std::int32_t& first,
                            std::int32_t& second) const {
    ParsedReply reply;
    if (!ParseReply(line, reply)) return false;
    first = ParseCInteger(reply.value1);
    second = ParseCInteger(reply.value2);
    return true;
}

bool Command::ReceiveLine(bool log, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        char c = 0;
        if (channel_.ReceiveBytes(&c, 1, left > 0 ? static_cast<int>(left) : 0) < 1) return false;
        if (c == '\n') {
            std::size_t length = receiveCount_;
            // The CR of the CR LF pair is not part of the line; a bare LF keeps every byte.
            if (length > 0 && receiveBuffer_[length - 1] == '\r') --length;
            std::string line(receiveBuffer_.data(), length);
            receiveCount_ = 0;
            if (log) logs_.Received(line);
            replies_.push_back(std::move(line));
            return true;
        }
        receiveBuffer_[receiveCount_++] = c;
        if (receiveCount_ == kReceiveBufferSize) {
            receiveCount_ = 0;
            ShowError("RS-232C receiving buffer overflowed");
            return false;
        }
    }
}

bool Command::WaitForLine(int timeoutMs, bool reportTimeout) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (ReceiveLine(true, deadline)) return true;
        // A port that has gone away will not answer: give up now rather than at the deadline.
        if (Clock::now() >= deadline || !channel_.IsUsable()) break;
    }
    if (reportTimeout) notifier_.SetOffline();
    return false;
}

bool Command::PopReply(std::string& line) {
    if (replies_.empty()) return false;
    line = std::move(replies_.front());
    replies_.pop_front();
    return true;
}

void Command::PollUnsolicited() {
    while (ReceiveLine(true, Clock::now())) {
    }
}

void Command::ClearReceiveState() {
    receiveCount_ = 0;
    replies_.clear();
}

bool Command::Send(const std::string& line) {
    if (channel_.SendText(line)) return true;
    // Nothing reached the camera: it cannot answer, so do not wait for it.
    notifier_.SetOffline();
    return false;
}

void Command::ShowError(const std::string& text) {
    ui_.ShowMessage(text, kCommunicationErrorCaption, MessageIcon::Exclamation);
}

}  // namespace vk
