#include "core/lut/lut_transfer.h"

#include <algorithm>
#include <cctype>

#include "core/comm/model_check.h"
#include "core/operation_runner.h"
#include "core/protocol/exchange.h"
#include "core/protocol/printable.h"

namespace vk::lut {
namespace {

bool IsChannel(int channel) {
    return channel >= 0 && channel < static_cast<int>(kChannels.size());
}

std::string Mnemonic(int channel) {
    return std::string(kChannels[static_cast<std::size_t>(channel)].mnemonic);
}

ExchangeResult Cancelled() {
    return ExchangeResult::Failure(ExchangeStatus::Cancelled);
}

// The reply's command, as a query of `mnemonic` must be answered: "LUTSG=123".
bool Names(const std::string& reply, const std::string& mnemonic) {
    std::string name;
    for (char c : reply.substr(0, reply.find('='))) {
        if (c != ' ')
            name.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    return reply.find('=') != std::string::npos && name == mnemonic;
}

std::string Name(int channel) {
    return std::string(kChannels[static_cast<std::size_t>(channel)].name);
}

ExchangeResult NoSuchChannel() {
    return ExchangeResult::Failure(ExchangeStatus::Refused);
}

}  // namespace

std::string ReadingText(int channel) {
    return std::string(kReadingText) +
           (IsChannel(channel) ? std::string(kChannels[std::size_t(channel)].progressTag) : "");
}

OperationInfo TransferInfo(std::string text) {
    return {std::move(text), true, true};
}

ExchangeResult LutTransfer::StartAtEntryZero(bool writing) {
    writing_ = writing;
    firstChannel_ = -1;
    entry_ = -1;
    done_ = 0;
    if (op_.Cancelled()) return Cancelled();
    return op_.exchange.QueryString(Cmd("MD"), std::min(timeoutMs_, ModelCheck::kQueryTimeoutMs));
}

void LutTransfer::ShowEntry(const std::string& text, int index) {
    op_.SetText(text + "  (" + std::to_string(index + 1) + " / " + std::to_string(kEntries) + ")");
    op_.SetPercent(index * 100 / kEntries);
}

ExchangeResult LutTransfer::ReadRun(int channel, Table& table) {
    const std::string text = ReadingText(channel);
    const std::string query = Mnemonic(channel) + "?\r\n";
    op_.SetText(text);
    BeginRun(channel);
    for (int i = 0; i < kEntries; ++i) {
        if (op_.Cancelled()) return Cancelled();
        entry_ = i;
        const QueryResult<std::int32_t> result =
            op_.exchange.SendRawQuery(query, timeoutMs_, /*reportTimeout=*/true);
        if (!result) return result;
        if (!Names(result.reply, Mnemonic(channel))) {
            return ExchangeResult::Failure(ExchangeStatus::Refused,
                                           Mnemonic(channel) + "? entry " + std::to_string(i) +
                                               " was answered by \"" + Printable(result.reply) +
                                               "\"");
        }
        const std::int32_t value = result.value;
        if (value < 0 || value > kMaxValue) outOfRange_.push_back({channel, i, value});
        table[static_cast<std::size_t>(i)] = std::clamp(value, 0, kMaxValue);
        done_ = i + 1;
        ShowEntry(text, i);
    }
    return ExchangeResult::Success();
}

ExchangeResult LutTransfer::WriteRun(int channel, const Table& table) {
    const CommandId id = op_.exchange.FindCommand(Mnemonic(channel));
    op_.SetText(kWritingText);
    BeginRun(channel);
    for (int i = 0; i < kEntries; ++i) {
        if (op_.Cancelled()) return Cancelled();
        entry_ = i;
        ExchangeResult result =
            op_.exchange.SendSetInt(id, table[static_cast<std::size_t>(i)], timeoutMs_);
        if (!result) return result;
        done_ = i + 1;
        ShowEntry(kWritingText, i);
    }
    return ExchangeResult::Success();
}

void LutTransfer::BeginRun(int channel) {
    if (firstChannel_ < 0) firstChannel_ = channel;
    channel_ = channel;
    entry_ = -1;
    done_ = 0;
}

std::string LutTransfer::StopText(const ExchangeResult& result) const {
    if (result.ok() || result.status == ExchangeStatus::Busy) return {};
    const bool cancelled = result.status == ExchangeStatus::Cancelled;
    if (done_ == kEntries && !cancelled) return result.Describe();  // out-of-range values
    const std::string action = writing_ ? "Writing" : "Reading";
    const std::string why = result.status == ExchangeStatus::LineGone
                                ? "the line to the camera is gone (unplugged or closed)"
                                : result.Describe();
    std::string text = action + " camera gamma data ";
    if (firstChannel_ < 0) {
        text += cancelled ? "was cancelled before it began." : "did not begin: " + why + ".";
        return text + "\nThe camera's tables are as they were.";
    }
    const std::string table = "the " + Name(channel_) + " table";
    const int at = std::min(done_, kEntries - 1);
    text += (cancelled ? "was cancelled at entry " : "stopped at entry ") + std::to_string(at) +
            " of " + std::to_string(kEntries) + " of " + table +
            (cancelled ? "." : ": " + why + ".");
    if (!writing_)
        return text + "\nThe camera's tables are unchanged; the editor shows the entries read.";
    for (int c = firstChannel_; c < channel_; ++c)
        text += "\nThe " + Name(c) + " table holds the new values.";
    if (done_ == 0) return text + "\nThe camera's " + Name(channel_) + " table is as it was.";
    return text + "\nThe camera's " + Name(channel_) +
           " table is now partly written: entries 0 to " + std::to_string(done_ - 1) +
           " hold the new values, the others its earlier ones.";
}

// A camera value the table cannot hold is not passed off as the camera's.
ExchangeResult LutTransfer::WithOutOfRange(ExchangeResult result) const {
    if (!result || outOfRange_.empty()) return result;
    std::string message = std::to_string(outOfRange_.size()) +
                          " values the camera answered are beyond 0..4095 (taken as the "
                          "nearest limit):";
    for (const OutOfRange& bad : outOfRange_) {
        message += " " + Mnemonic(bad.channel) + " entry " + std::to_string(bad.entry) + " = " +
                   std::to_string(bad.value) + ";";
    }
    message.pop_back();
    return ExchangeResult::Failure(ExchangeStatus::Refused, message);
}

ExchangeResult LutTransfer::ReadTable(int channel, Table& table) {
    if (!IsChannel(channel)) return NoSuchChannel();
    outOfRange_.clear();
    ExchangeResult result = StartAtEntryZero(false);
    return WithOutOfRange(result ? ReadRun(channel, table) : result);
}

ExchangeResult LutTransfer::ReadAllTables(Tables& tables) {
    outOfRange_.clear();
    ExchangeResult result = StartAtEntryZero(false);
    for (int channel = 0; result && channel < static_cast<int>(tables.size()); ++channel)
        result = ReadRun(channel, tables[static_cast<std::size_t>(channel)]);
    return WithOutOfRange(result);
}

ExchangeResult LutTransfer::WriteTable(int channel, const Table& table) {
    if (!IsChannel(channel)) return NoSuchChannel();
    ExchangeResult result = StartAtEntryZero(true);
    return result ? WriteRun(channel, table) : result;
}

ExchangeResult LutTransfer::WriteToAllChannels(const Table& table) {
    ExchangeResult result = StartAtEntryZero(true);
    for (int channel = 0; result && channel < static_cast<int>(kChannels.size()); ++channel)
        result = WriteRun(channel, table);
    return result;
}

ExchangeResult LutTransfer::WriteAllTables(const Tables& tables) {
    ExchangeResult result = StartAtEntryZero(true);
    for (int channel = 0; result && channel < static_cast<int>(tables.size()); ++channel)
        result = WriteRun(channel, tables[static_cast<std::size_t>(channel)]);
    return result;
}

}  // namespace vk::lut
