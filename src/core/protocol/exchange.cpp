#include "core/protocol/exchange.h"

#include <algorithm>

#include "core/comm/line_log.h"
#include "core/comm/online_status_notifier.h"
#include "core/comm/serial_channel.h"
#include "core/user_interface.h"

namespace vk {
namespace {

// A line still arriving after this much silence is a new burst: its overflow is told again.
constexpr auto kQuietLine = std::chrono::seconds(1);
// Stray binary bytes have all come once the line has been quiet this long.
constexpr auto kStrayQuiet = std::chrono::milliseconds(100);

std::string WithoutTerminator(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    return line;
}

}  // namespace

// Marks an exchange as running for its whole length; a second one started from an event
// handled while this one waits finds the line busy.
class Exchange::ExchangeScope {
public:
    explicit ExchangeScope(Exchange& c) : c_(c) {
        c_.inExchange_ = true;
        c_.overflowSeen_ = false;
        if (c_.lineHolds_ == 0) c_.overflowReported_ = false;
    }
    ~ExchangeScope() { c_.inExchange_ = false; }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    Exchange& c_;
};

Exchange::Exchange(SerialChannel& channel, UserInterface& ui, OnlineStatusNotifier& notifier,
                   TrafficLogs& logs)
    : channel_(channel),
      ui_(ui),
      notifier_(notifier),
      logs_(logs),
      controls_(commands_),
      values_(controls_),
      owed_(commands_) {}

std::string Exchange::BuildSetCommand(CommandId id, const ParamValue& value,
                                      bool withTerminator) const {
    const CommandEntry& entry = commands_.Entry(id);
    std::string line = entry.mnemonic + "=" + FormatValue(value);
    if (withTerminator) line += "\r\n";
    return line;
}

std::string Exchange::BuildQueryCommand(CommandId id, bool withTerminator) const {
    std::string line = commands_.Entry(id).mnemonic + "?";
    if (withTerminator) line += "\r\n";
    return line;
}

ExchangeResult Exchange::SendSetInt(CommandId id, std::int32_t value, int timeoutMs) {
    if (!commands_.IsValid(id)) return ExchangeResult::Failure(ExchangeStatus::Refused);
    ParamValue v;
    v.intValue = value;
    return SendSetValue(id, v, timeoutMs);
}

ExchangeResult Exchange::SendSetString(CommandId id, const std::string& text, int timeoutMs) {
    ParamValue v;
    v.kind = ValueKind::String;
    v.text = text;
    return SendSetValue(id, v, timeoutMs);
}

ExchangeResult Exchange::SendSetValue(CommandId id, const ParamValue& value, int timeoutMs) {
    if (!commands_.IsValid(id)) return ExchangeResult::Failure(ExchangeStatus::Refused);
    if (inExchange_) return Finish(ExchangeResult::Failure(ExchangeStatus::Busy));
    ExchangeScope scope(*this);
    const std::string line = BuildSetCommand(id, value, true);
    ExchangeResult result = Begin(line);
    if (!result) return Finish(result);

    std::string answer;
    ui_.SetWaitCursor(true);
    result = AwaitAnswer({AwaitedAnswer::Complete, {}, sentLine_}, timeoutMs, true, answer);
    ui_.SetWaitCursor(false);
    result.request = sentLine_;
    if (!result) return Finish(result);
    result.reply = answer;
    notifier_.SetOnline();
    if (!IsCompleteReply(answer)) {
        result.status = ExchangeStatus::Refused;
        result.message = answer;
    }
    RecordAnswer(sentLine_, answer);
    return Finish(result);
}

QueryResult<ParamValue> Exchange::SendQuery(CommandId id, int timeoutMs) {
    QueryResult<ParamValue> result;
    if (!commands_.IsValid(id) || commands_.Entry(id).mnemonic.empty()) {
        result.status = ExchangeStatus::Refused;
        return result;
    }
    if (inExchange_)
        return QueryResult<ParamValue>::From(Finish(ExchangeResult::Failure(ExchangeStatus::Busy)));
    ExchangeScope scope(*this);
    const std::string& mnemonic = commands_.Entry(id).mnemonic;
    ExchangeResult sent = Begin(BuildQueryCommand(id, true));
    if (!sent) return QueryResult<ParamValue>::From(Finish(sent));

    std::string answer;
    sent = AwaitAnswer({AwaitedAnswer::Reply, mnemonic, sentLine_}, timeoutMs, true, answer);
    sent.request = sentLine_;
    if (!sent) return QueryResult<ParamValue>::From(Finish(sent));
    sent.reply = answer;
    const ParsedReply reply = ParseReply(answer);
    if (reply.valid && reply.mnemonic == mnemonic) {
        notifier_.SetOnline();
        RecordAnswer(sentLine_, answer);
        result = QueryResult<ParamValue>::From(Finish(sent));
        result.value = reply.value;
        return result;
    }
    sent.status = ExchangeStatus::Refused;
    sent.message = reply.raw + " for " + sentLine_;
    return QueryResult<ParamValue>::From(Finish(sent));
}

QueryResult<std::int32_t> Exchange::QueryInt(CommandId id, int timeoutMs) {
    QueryResult<ParamValue> answer = SendQuery(id, timeoutMs);
    QueryResult<std::int32_t> result = QueryResult<std::int32_t>::From(answer);
    if (result) result.value = answer.value.intValue;
    return result;
}

QueryResult<std::string> Exchange::QueryString(CommandId id, int timeoutMs) {
    QueryResult<ParamValue> answer = SendQuery(id, timeoutMs);
    QueryResult<std::string> result = QueryResult<std::string>::From(answer);
    if (result) result.value = std::move(answer.value.text);
    return result;
}

ExchangeResult Exchange::SendLine(const std::string& commandText, int timeoutMs,
                                  bool reportTimeout) {
    if (inExchange_) return Finish(ExchangeResult::Failure(ExchangeStatus::Busy));
    ExchangeScope scope(*this);
    ExchangeResult result = Begin(commandText);
    if (!result) return Finish(result);

    std::string answer;
    result = AwaitAnswer(AwaitedFor(sentLine_), timeoutMs, reportTimeout, answer);
    result.request = sentLine_;
    if (!result) return Finish(result);
    result.reply = answer;
    notifier_.SetOnline();
    // A line typed in the terminal sets or asks a row as any other exchange does.
    RecordAnswer(sentLine_, answer);
    return result;
}

QueryResult<std::int32_t> Exchange::SendRawQuery(const std::string& commandText, int timeoutMs,
                                                 bool reportTimeout) {
    QueryResult<std::int32_t> result =
        QueryResult<std::int32_t>::From(SendLine(commandText, timeoutMs, reportTimeout));
    if (!result) return result;
    // value1 is there even when it is no value of the table.
    const auto number = ReadCInteger(ParseReply(result.reply).value1);
    // An answer without a number (an error text) is no value: the camera refused.
    if (!number) {
        result.status = ExchangeStatus::Refused;
        return result;
    }
    result.value = *number;
    return result;
}

ExchangeResult Exchange::SendRawLine(const std::string& commandText) {
    if (inExchange_) return Finish(ExchangeResult::Failure(ExchangeStatus::Busy));
    ExchangeScope scope(*this);
    return Finish(Begin(commandText));
}

ExchangeResult Exchange::SendBytes(std::span<const std::uint8_t> bytes) {
    if (inExchange_) return Finish(ExchangeResult::Failure(ExchangeStatus::Busy));
    ExchangeScope scope(*this);
    TakeWaitingInput();
    const auto* data = reinterpret_cast<const char*>(bytes.data());
    const bool sent = channel_.Write(data, static_cast<int>(bytes.size()));
    logs_.TransmittedBytes(bytes, sent);
    if (sent) return ExchangeResult::Success();
    notifier_.SetOffline();
    return Finish(ExchangeResult::Failure(ExchangeStatus::LineGone));
}

ExchangeResult Exchange::ReceiveBytes(std::span<std::uint8_t> out, int timeoutMs) {
    if (inExchange_) return Finish(ExchangeResult::Failure(ExchangeStatus::Busy));
    ExchangeScope scope(*this);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    ExchangeResult result;
    const auto slice = std::chrono::milliseconds(kWaitSliceMs);
    auto nextHook = Clock::now() + slice;
    while (done < out.size()) {
        done += static_cast<std::size_t>(channel_.ReceiveSome(
            reinterpret_cast<char*>(out.data() + done), static_cast<int>(out.size() - done),
            std::min(deadline, nextHook)));
        if (done == out.size()) break;
        if (!channel_.IsUsable()) {
            result.status = ExchangeStatus::LineGone;
        } else if (Clock::now() >= deadline) {
            result.status = ExchangeStatus::TimedOut;
        } else if (Clock::now() >= nextHook) {
            nextHook = Clock::now() + slice;
            if (!KeepWaiting()) result.status = ExchangeStatus::Cancelled;
        }
        if (!result) break;
    }
    if (done > 0) logs_.ReceivedBytes(out.first(done));
    if (result) {
        notifier_.SetOnline();
        return result;
    }
    if (result.status != ExchangeStatus::LineGone) ExpectStrayBytes(timeoutMs);
    if (result.status != ExchangeStatus::Cancelled) notifier_.SetOffline();
    return Finish(result);
}

void Exchange::ExpectStrayBytes(int withinMs) {
    const int grace = std::clamp(withinMs, OwedReplies::kMinOwedMs, OwedReplies::kMaxOwedMs);
    const auto until = Clock::now() + std::chrono::milliseconds(grace);
    if (!strayUntil_ || *strayUntil_ < until) strayUntil_ = until;
}

bool Exchange::SettleStrayBytes() {
    if (!strayUntil_) return true;
    const auto slice = std::chrono::milliseconds(kWaitSliceMs);
    std::optional<Clock::time_point> lastSeen;
    for (;;) {
        const auto now = Clock::now();
        // Once some came, a quiet line means the rest will not; a line that never stops is
        // left to the exchange's own overflow handling at the grace's end.
        if (!channel_.IsUsable() || now >= *strayUntil_ ||
            (lastSeen && now - *lastSeen >= kStrayQuiet)) {
            break;
        }
        if (!KeepWaiting()) return false;
        const auto stopAt = lastSeen ? *lastSeen + kStrayQuiet : *strayUntil_;
        std::uint8_t chunk[256];
        const int n = channel_.ReceiveSome(reinterpret_cast<char*>(chunk), sizeof chunk,
                                           std::min({now + slice, stopAt, *strayUntil_}));
        if (n > 0) {
            logs_.ReceivedBytes(std::span<const std::uint8_t>(chunk, static_cast<std::size_t>(n)));
            lastSeen = Clock::now();
        }
    }
    strayUntil_.reset();
    return true;
}

void Exchange::HoldLine() {
    if (lineHolds_++ == 0) overflowReported_ = false;
}

void Exchange::ReleaseLine() {
    if (lineHolds_ > 0) --lineHolds_;
}

ExchangeResult Exchange::Begin(const std::string& line) {
    if (!SettleStrayBytes()) {
        ExchangeResult result = ExchangeResult::Failure(ExchangeStatus::Cancelled);
        result.request = WithoutTerminator(line);
        return result;
    }
    TakeWaitingInput();
    replies_.clear();
    sentLine_ = WithoutTerminator(line);
    echoPossible_ = true;
    if (!channel_.Write(line.data(), static_cast<int>(line.size()))) {
        logs_.TransmitFailed(sentLine_);
        // Nothing reached the camera: it cannot answer, so do not wait for it.
        notifier_.SetOffline();
        ExchangeResult result = ExchangeResult::Failure(ExchangeStatus::LineGone);
        result.request = sentLine_;
        return result;
    }
    logs_.Transmitted(sentLine_);
    return ExchangeResult::Success();
}

ExchangeResult Exchange::AwaitAnswer(const AwaitedAnswer& expect, int timeoutMs, bool reportTimeout,
                                     std::string& answer) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    const auto slice = std::chrono::milliseconds(kWaitSliceMs);
    auto nextHook = Clock::now() + slice;
    for (;;) {
        while (!replies_.empty()) {
            std::string line = std::move(replies_.front());
            replies_.pop_front();
            if (echoPossible_ && line == sentLine_) {
                echoPossible_ = false;
                continue;
            }
            if (TakeOwed(line, false)) continue;
            if (expect.kind == AwaitedAnswer::Complete && IsQueryReply(line)) continue;
            // The camera answers in order: what it still owed would have come before this, so
            // an answer that repeats an owed query is not taken for a late one any more.
            owed_.Clear();
            answer = std::move(line);
            return ExchangeResult::Success();
        }
        ExchangeStatus status = ExchangeStatus::Ok;
        if (!channel_.IsUsable()) {
            status = ExchangeStatus::LineGone;  // a port that has gone away will not answer
        } else if (Clock::now() >= deadline) {
            status = overflowSeen_ ? ExchangeStatus::Overflow : ExchangeStatus::TimedOut;
        } else if (Clock::now() >= nextHook) {
            // Bytes may come one at a time; the windows need a turn only every slice.
            nextHook = Clock::now() + slice;
            if (!KeepWaiting()) status = ExchangeStatus::Cancelled;
        }
        if (status != ExchangeStatus::Ok) {
            if (status != ExchangeStatus::LineGone) owed_.Add(expect, timeoutMs);
            if (reportTimeout || status == ExchangeStatus::LineGone) notifier_.SetOffline();
            return ExchangeResult::Failure(status);
        }
        ReadInto(std::min(deadline, nextHook));
    }
}

bool Exchange::IsQueryReply(const std::string& line) const {
    const ParsedReply reply = ParseReply(line);
    return reply.valid && reply.op == "=";
}

bool Exchange::TakeOwed(const std::string& line, bool nothingNewerSent) {
    std::optional<AwaitedAnswer> answered;
    if (!owed_.Take(line, nothingNewerSent, answered)) return false;
    notifier_.SetOnline();
    // The camera answers again; a set it completed late holds its value after all.
    if (answered) RecordAnswer(answered->sent, line);
    return true;
}

void Exchange::RecordAnswer(const std::string& sent, const std::string& answer) {
    const ParsedReply request = ParseReply(sent);
    if (!request.valid || commands_.Entry(request.commandId).kind != ValueKind::Int) {
        return;
    }
    const int row = controls_.RowOfCommand(request.commandId);
    if (row < 0) return;
    std::optional<std::int32_t> value;
    if (request.op == "=") {
        if (!IsCompleteReply(answer)) return;
        value = request.valueCount == 2 ? ReadCInteger(request.value2)
                                        : std::optional(request.value.intValue);
    } else {
        const ParsedReply reply = ParseReply(answer);
        if (!reply.valid || reply.op != "=" || reply.mnemonic != request.mnemonic ||
            reply.valueCount != 1) {
            return;
        }
        value = reply.value.intValue;
    }
    if (!value) return;
    // An indexed table has an index row and a value row: "LUTR=5,100", or "LUTR?5" answered
    // with the entry's value.
    const bool indexed = controls_.Row(row).Has(RowTrait::IndexedEntry);
    const bool hasIndex = request.op == "=" ? request.valueCount == 2 : request.valueCount == 1;
    if (indexed != hasIndex) return;
    if (indexed) {
        Record(row, request.op == "=" ? request.firstInt : request.value.intValue);
        if (row + 1 < controls_.RowCount() &&
            controls_.Row(row + 1).commandId == request.commandId) {
            Record(row + 1, *value);
        }
        return;
    }
    Record(row, *value);
}

void Exchange::ForgetValues() {
    std::vector<ControlId> known;
    for (int row = 0; row < controls_.RowCount(); ++row) {
        if (values_.Known(row)) known.push_back(controls_.Row(row).controlId);
    }
    values_.Forget();
    if (!valueListener_) return;
    for (const ControlId id : known)
        valueListener_(id);
}

void Exchange::Record(int row, std::int32_t value) {
    values_.Record(row, value);
    if (valueListener_) valueListener_(controls_.Row(row).controlId);
}

AwaitedAnswer Exchange::AwaitedFor(const std::string& line) const {
    const ParsedReply reply = ParseReply(line);
    if (!reply.valid || reply.op != "?") return {AwaitedAnswer::Complete, {}, line};
    return {AwaitedAnswer::Reply, reply.mnemonic, line};
}

void Exchange::ReadInto(Clock::time_point deadline) {
    char chunk[LineReceiver::kBufferSize];
    int n = channel_.ReceiveSome(chunk, static_cast<int>(sizeof chunk), deadline);
    // Taking what waits is quick unless the transport overstays every look (a Camera Link
    // library that ignores its time-out): then the wait gets its turn again.
    const auto drainUntil =
        std::max(deadline, Clock::now()) + std::chrono::milliseconds(kWaitSliceMs);
    while (n > 0) {
        const auto now = Clock::now();
        if (lineHolds_ == 0 && now - lastByte_ > kQuietLine) {
            overflowReported_ = false;
        }
        lastByte_ = now;
        for (int i = 0; i < n; ++i) {
            switch (receiver_.Feed(chunk[i])) {
                case LineReceiver::Event::Line: {
                    std::string line = receiver_.TakeLine();
                    logs_.Received(line);
                    replies_.push_back(std::move(line));
                    if (replies_.size() > kMaxQueuedLines) replies_.pop_front();
                    break;
                }
                case LineReceiver::Event::Overflow:
                    NoteOverflow();
                    break;
                case LineReceiver::Event::None:
                    break;
            }
        }
        // More may wait already; take it without waiting again.
        if (Clock::now() > drainUntil) break;
        n = channel_.ReceiveSome(chunk, static_cast<int>(sizeof chunk), Clock::now());
    }
}

void Exchange::TakeWaitingInput() {
    ReadInto(Clock::now());
    for (const std::string& line : replies_)
        TakeOwed(line, true);
    if (!receiver_.Partial().empty()) logs_.Received(std::string(receiver_.Partial()));
    receiver_.Clear();
    replies_.clear();
}

void Exchange::NoteOverflow() {
    overflowSeen_ = true;
    // A line without end (a wrong rate, a device that streams) is told once, not per buffer.
    if (overflowReported_) return;
    overflowReported_ = true;
    overflowNotice_ = true;
}

bool Exchange::KeepWaiting() {
    if (waitHook_) return waitHook_();
    ui_.PumpEvents();
    return true;
}

ExchangeResult Exchange::Finish(ExchangeResult result) {
    if (result.status == ExchangeStatus::Overflow && result.message.empty()) {
        result.message = kOverflowText;
    }
    return result;
}

void Exchange::PollUnsolicited() {
    if (inExchange_ || lineHolds_ > 0) return;
    inExchange_ = true;
    ReadInto(Clock::now());
    // Late answers are no lines of the camera's own; they are taken at once, not when the
    // next exchange starts.
    std::erase_if(replies_, [this](const std::string& line) { return TakeOwed(line, true); });
    inExchange_ = false;
}

bool Exchange::ListenUntilQuiet(int quietMs) {
    if (inExchange_) return true;
    ExchangeScope scope(*this);
    const auto quiet = std::chrono::milliseconds(std::max(quietMs, 0));
    const auto end = Clock::now() + std::chrono::milliseconds(kMaxListenMs);
    auto quietUntil = Clock::now() + quiet;
    while (channel_.IsUsable() && Clock::now() < std::min(quietUntil, end)) {
        const auto seen = lastByte_;
        ReadInto(
            std::min({quietUntil, end, Clock::now() + std::chrono::milliseconds(kWaitSliceMs)}));
        if (lastByte_ != seen) quietUntil = lastByte_ + quiet;
        for (const std::string& line : replies_)
            TakeOwed(line, true);
        replies_.clear();
        if (!KeepWaiting()) return false;
    }
    return true;
}

std::optional<std::string> Exchange::PopReply() {
    if (replies_.empty()) return std::nullopt;
    std::string line = std::move(replies_.front());
    replies_.pop_front();
    return line;
}

}  // namespace vk
