#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <string>

#include "protocol/command_table.h"
#include "protocol/control_table.h"
#include "protocol/param_value.h"
#include "protocol/reply_parser.h"

namespace vk {

class OnlineStatusNotifier;
class SerialChannel;
class UiPort;
struct TrafficLogs;

// Builds every line sent to the camera, collects the replies into lines and judges them.
// All exchanges are synchronous: a call returns when its reply is judged or its time-out
// has run out. Waiting is event-driven; a reply is handled as soon as its LF arrives.
class Command {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kReceiveBufferSize = 1024;

    Command(SerialChannel& channel, UiPort& ui, OnlineStatusNotifier& notifier, TrafficLogs& logs);

    const CommandTable& Commands() const { return commands_; }
    ControlTable& Controls() { return controls_; }
    const ControlTable& Controls() const { return controls_; }
    std::string GetMnemonic(CommandId id) const { return commands_.GetMnemonic(id); }
    CommandId FindCommand(std::string_view mnemonic) const { return commands_.Find(mnemonic); }

    std::string BuildSetCommand(CommandId id, const ParamValue& value, bool withTerminator) const;
    std::string BuildQueryCommand(CommandId id, bool withTerminator) const;

    bool SendSetInt(CommandId id, std::int32_t value, int timeoutMs);
    // Sends the text as it stands, whatever the command's kind.
    bool SendSetString(CommandId id, const std::string& text, int timeoutMs);
    bool SendSetValue(CommandId id, const ParamValue& value, int timeoutMs);

    bool SendQuery(CommandId id, ParamValue& value, int timeoutMs);
    bool QueryInt(CommandId id, std::int32_t& value, int timeoutMs);
    bool QueryString(CommandId id, std::string& text, int timeoutMs);
    // Sends a complete line (terminator included) and reads value1 of the reply as a C
    // integer literal. Does not compare the mnemonic.
    bool SendRawQuery(std::int32_t& value, const std::string& commandText, int timeoutMs,
                      bool reportTimeout);

    bool ParseReply(std::string_view line, ParsedReply& reply) const;
    bool ParseSettingLine(std::string_view line, CommandId& id, std::string& mnemonic,
                          std::int32_t& intValue, std::string& text) const;
    bool ParsePairLine(std::string_view line, std::int32_t& first, std::int32_t& second) const;

    // Collects bytes until a line is complete (true) or the deadline passes (false).
    bool ReceiveLine(bool log, Clock::time_point deadline);
    // Waits for the reply to a set and judges it.
    bool WaitComplete(int timeoutMs);
    // The oldest queued line; false when the queue is empty.
    bool PopReply(std::string& line);
    std::size_t QueuedReplies() const { return replies_.size(); }

    // Logs and queues lines the camera sent on its own; never waits. The receive timer
    // calls this while no exchange runs.
    void PollUnsolicited();

private:
    void ClearReceiveState();
    bool Send(const std::string& line);
    // Waits for one line; on time-out the line is reported offline when asked to.
    bool WaitForLine(int timeoutMs, bool reportTimeout);
    void ShowError(const std::string& text);

    CommandTable commands_;
    SerialChannel& channel_;
    UiPort& ui_;
    OnlineStatusNotifier& notifier_;
    TrafficLogs& logs_;
    ControlTable controls_;

    std::array<char, kReceiveBufferSize> receiveBuffer_{};
    std::size_t receiveCount_ = 0;
    std::deque<std::string> replies_;
};

}  // namespace vk
