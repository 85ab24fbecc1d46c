#include "core/lut/lut_transfer.h"

#include <algorithm>

#include "core/comm/model_check.h"
#include "core/operation_runner.h"
#include "core/protocol/exchange.h"

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

ExchangeResult LutTransfer::StartAtEntryZero() {
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
    channel_ = channel;
    entry_ = -1;
    for (int i = 0; i < kEntries; ++i) {
        if (op_.Cancelled()) return Cancelled();
        entry_ = i;
        const QueryResult<std::int32_t> result =
            op_.exchange.SendRawQuery(query, timeoutMs_, /*reportTimeout=*/true);
        if (!result) return result;
        table[static_cast<std::size_t>(i)] = std::clamp(result.value, 0, kMaxValue);
        ShowEntry(text, i);
    }
    return ExchangeResult::Success();
}

ExchangeResult LutTransfer::WriteRun(int channel, const Table& table) {
    const CommandId id = op_.exchange.FindCommand(Mnemonic(channel));
    op_.SetText(kWritingText);
    channel_ = channel;
    entry_ = -1;
    for (int i = 0; i < kEntries; ++i) {
        if (op_.Cancelled()) return Cancelled();
        entry_ = i;
        ExchangeResult result =
            op_.exchange.SendSetInt(id, table[static_cast<std::size_t>(i)], timeoutMs_);
        if (!result) return result;
        ShowEntry(kWritingText, i);
    }
    return ExchangeResult::Success();
}

ExchangeResult LutTransfer::ReadTable(int channel, Table& table) {
    if (!IsChannel(channel)) return NoSuchChannel();
    ExchangeResult result = StartAtEntryZero();
    return result ? ReadRun(channel, table) : result;
}

ExchangeResult LutTransfer::ReadAllTables(Tables& tables) {
    ExchangeResult result = StartAtEntryZero();
    for (int channel = 0; result && channel < static_cast<int>(tables.size()); ++channel)
        result = ReadRun(channel, tables[static_cast<std::size_t>(channel)]);
    return result;
}

ExchangeResult LutTransfer::WriteTable(int channel, const Table& table) {
    if (!IsChannel(channel)) return NoSuchChannel();
    ExchangeResult result = StartAtEntryZero();
    return result ? WriteRun(channel, table) : result;
}

ExchangeResult LutTransfer::WriteToAllChannels(const Table& table) {
    ExchangeResult result = StartAtEntryZero();
    for (int channel = 0; result && channel < static_cast<int>(kChannels.size()); ++channel)
        result = WriteRun(channel, table);
    return result;
}

ExchangeResult LutTransfer::WriteAllTables(const Tables& tables) {
    ExchangeResult result = StartAtEntryZero();
    for (int channel = 0; result && channel < static_cast<int>(tables.size()); ++channel)
        result = WriteRun(channel, tables[static_cast<std::size_t>(channel)]);
    return result;
}

}  // namespace vk::lut
