#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "core/protocol/command_table.h"
#include "core/protocol/control_table.h"
#include "core/protocol/exchange_result.h"
#include "core/protocol/line_receiver.h"
#include "core/protocol/owed_replies.h"
#include "core/protocol/param_value.h"
#include "core/protocol/parameter_table.h"
#include "core/protocol/reply_parser.h"

namespace vk {

class OnlineStatusNotifier;
class SerialChannel;
class UserInterface;
struct TrafficLogs;

// Builds every line sent to the camera, collects the replies into lines and judges them.
// An exchange is synchronous for its caller: it returns when its reply is judged or its
// time-out has run out, and says why it failed. While it waits, the wait hook runs at least
// every kWaitSliceMs so that a window stays alive; a reply is handled as soon as its LF
// arrives.
//
// Exchanges stay in step with the camera: input that waits before a send is logged and
// dropped; a reply owed to an exchange that timed out (a late answer) is logged and skipped
// when it comes; an echo of the line just sent is skipped; a set skips query replies.
//
// The exchange alone records what the camera holds: when the camera completes a set of a
// parameter row or answers a query of one, whichever call sent the line.
class Exchange {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kWaitSliceMs = 20;
    // Lines the camera sent on its own that wait for nobody; older ones are dropped.
    static constexpr std::size_t kMaxQueuedLines = 64;

    Exchange(SerialChannel& channel, UserInterface& ui, OnlineStatusNotifier& notifier,
             TrafficLogs& logs);

    const CommandTable& Commands() const { return commands_; }
    const ControlTable& Controls() const { return controls_; }
    const ParameterTable& Values() const { return values_; }
    std::string GetMnemonic(CommandId id) const { return commands_.GetMnemonic(id); }
    CommandId FindCommand(std::string_view mnemonic) const { return commands_.Find(mnemonic); }

    std::string BuildSetCommand(CommandId id, const ParamValue& value, bool withTerminator) const;
    std::string BuildQueryCommand(CommandId id, bool withTerminator) const;

    ExchangeResult SendSetInt(CommandId id, std::int32_t value, int timeoutMs);
    // Sends the text as it stands, whatever the command's kind.
    ExchangeResult SendSetString(CommandId id, const std::string& text, int timeoutMs);
    // The value's kind says how it is written.
    ExchangeResult SendSetValue(CommandId id, const ParamValue& value, int timeoutMs);

    QueryResult<ParamValue> SendQuery(CommandId id, int timeoutMs);
    QueryResult<std::int32_t> QueryInt(CommandId id, int timeoutMs);
    QueryResult<std::string> QueryString(CommandId id, int timeoutMs);
    // Sends a complete line (terminator included) as it stands; the first line that can
    // answer it is in the result's reply, whatever it says. A time-out turns the line
    // offline only when reportTimeout is set.
    ExchangeResult SendLine(const std::string& commandText, int timeoutMs, bool reportTimeout);
    // SendLine, then value1 of the reply read as a C integer literal. Does not compare the
    // mnemonic; an answer without a number is refused.
    QueryResult<std::int32_t> SendRawQuery(const std::string& commandText, int timeoutMs,
                                           bool reportTimeout);

    // Sends a complete line (terminator included) and waits for nothing: for a line that
    // no answer is owed to. Whatever comes later is taken as unsolicited.
    ExchangeResult SendRawLine(const std::string& commandText);

    // Binary exchanges (register access): the bytes go out as they are and are logged in
    // hex; ReceiveBytes waits for exactly out.size() bytes. No line reader touches the
    // port meanwhile.
    ExchangeResult SendBytes(std::span<const std::uint8_t> bytes);
    ExchangeResult ReceiveBytes(std::span<std::uint8_t> out, int timeoutMs);
    // A binary exchange that gave up (or read bytes it could not make sense of) may still
    // have bytes on the way. The next text exchange first waits for them, up to withinMs,
    // and drops them. A failed ReceiveBytes calls this itself.
    void ExpectStrayBytes(int withinMs);

    ParsedReply ParseReply(std::string_view line) const { return vk::ParseReply(commands_, line); }

    // Logs and queues the lines the camera sent on its own; never waits. Does nothing while
    // an exchange runs or an operation holds the line: those bytes are theirs.
    void PollUnsolicited();
    // Logs every line that arrives until the line has been quiet for quietMs, or at most
    // kMaxListenMs when it never is (a terminal's answer of more than one line). The lines
    // are taken as late answers or dropped. False when the wait was cancelled.
    static constexpr int kMaxListenMs = 10000;
    bool ListenUntilQuiet(int quietMs);
    // The oldest queued line; nothing when the queue is empty.
    std::optional<std::string> PopReply();
    std::size_t QueuedReplies() const { return replies_.size(); }

    // A line without end is told once per operation (or per burst while idle), even when
    // no exchange failed for it: true once when one was seen since the last call.
    bool TakeOverflowNotice() { return std::exchange(overflowNotice_, false); }
    static constexpr const char* kOverflowText = "RS-232C receiving buffer overflowed";

    // An operation holds the line from its first exchange to its last, so that the idle
    // reader takes none of the bytes in between.
    void HoldLine();
    void ReleaseLine();
    bool LineHeld() const { return lineHolds_ > 0; }
    bool InExchange() const { return inExchange_; }

    // Runs at least every kWaitSliceMs while an exchange waits; returning false abandons
    // the wait (the reply is then owed). Without a hook the interface's events are pumped.
    void SetWaitHook(std::function<bool()> hook) { waitHook_ = std::move(hook); }

    // Replies still owed to exchanges that gave up on them.
    std::size_t OwedReplies() const { return owed_.Count(); }

    // Told of each parameter row whose camera value was recorded, also of one the camera
    // answered after its time-out. Runs while the line is read, so a window should only
    // note it.
    void SetValueListener(std::function<void(ControlId)> listener) {
        valueListener_ = std::move(listener);
    }
    // The camera's values are unknown again (another camera may be on the line, or a
    // register write changed what the rows hold); the value listener hears of each row that
    // was known.
    void ForgetValues();

private:
    class ExchangeScope;

    ExchangeResult Begin(const std::string& line);
    // False when the wait for stray bytes was cancelled.
    bool SettleStrayBytes();
    // Waits for the line that answers; the skipped ones are logged already.
    ExchangeResult AwaitAnswer(const AwaitedAnswer& expect, int timeoutMs, bool reportTimeout,
                               std::string& answer);
    bool IsQueryReply(const std::string& line) const;
    // nothingNewerSent: no line went out after the owed ones (the line is read while idle
    // or before the next send).
    bool TakeOwed(const std::string& line, bool nothingNewerSent);
    // The camera answered the sent line: what it holds now, when the line named a row.
    void RecordAnswer(const std::string& sent, const std::string& answer);
    void Record(int row, std::int32_t value);
    // Reads what the channel has (waiting until `deadline` for the first byte) into lines.
    void ReadInto(Clock::time_point deadline);
    void TakeWaitingInput();
    void NoteOverflow();
    bool KeepWaiting();
    ExchangeResult Finish(ExchangeResult result);
    AwaitedAnswer AwaitedFor(const std::string& line) const;

    CommandTable commands_;
    SerialChannel& channel_;
    UserInterface& ui_;
    OnlineStatusNotifier& notifier_;
    TrafficLogs& logs_;
    ControlTable controls_;
    ParameterTable values_;

    std::function<bool()> waitHook_;
    std::function<void(ControlId)> valueListener_;

    LineReceiver receiver_;
    std::deque<std::string> replies_;
    vk::OwedReplies owed_;
    std::string sentLine_;
    bool echoPossible_ = false;
    bool inExchange_ = false;
    int lineHolds_ = 0;
    bool overflowSeen_ = false;      // in this exchange
    bool overflowReported_ = false;  // in this operation, or while idle until the line is quiet
    bool overflowNotice_ = false;    // not yet taken by whoever shows it
    Clock::time_point lastByte_{};
    std::optional<Clock::time_point> strayUntil_;  // binary bytes may still come until then
};

}  // namespace vk
