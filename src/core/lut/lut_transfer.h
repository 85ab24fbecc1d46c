#pragma once

#include <string>
#include <vector>

#include "core/lut/lut_table.h"
#include "core/protocol/exchange_result.h"
#include "core/user_interface.h"

namespace vk {
class Operation;
}

namespace vk::lut {

inline constexpr int kTransferTimeoutMs = 5000;
inline constexpr const char* kReadingText = "Now, reading camera gamma data  ";
inline constexpr const char* kWritingText = "Now, writing camera gamma data.";

// The progress text a read of the channel starts with.
std::string ReadingText(int channel);
// How a transfer presents itself: cancellable, with progress at once (it is never short).
OperationInfo TransferInfo(std::string text);

// Moves LUTs between the tool and the camera inside a running operation, one entry per
// line: the camera steps through its table on consecutive lines of one command, so no
// index is sent. Progress shows "(i / 256)" after each entry; Cancel is honoured between
// entries. A failure stops the transfer at that entry and is the result (it was reported
// as it happened); Cancel gives Cancelled.
//
// The camera starts a table from entry 0 only when another command came in between, so a
// transfer that stopped half-way would be continued by the next one of the same command.
// Every transfer therefore opens with the model query, which every camera answers.
class LutTransfer {
public:
    explicit LutTransfer(Operation& operation, int timeoutMs = kTransferTimeoutMs)
        : op_(operation), timeoutMs_(timeoutMs) {}

    // One channel's table, entry by entry into `table`: after a failure or Cancel the
    // entries read so far are in it and the others are as they were. A reply must name the
    // queried command (any other line is refused). A value beyond 0..4095 is stored limited,
    // the read goes on, and the result is Refused with a message naming each such entry.
    ExchangeResult ReadTable(int channel, Table& table);
    // Red, green and blue in turn, stopping at the first failure (values out of range are
    // named at the end, as above).
    ExchangeResult ReadAllTables(Tables& tables);

    // The table under the channel's command: 256 sets.
    ExchangeResult WriteTable(int channel, const Table& table);
    // The same table under red, green and blue in turn: 768 sets.
    ExchangeResult WriteToAllChannels(const Table& table);
    // Each table under its own channel (a file taken into the camera).
    ExchangeResult WriteAllTables(const Tables& tables);

    // Where the last transfer was: its channel and the entry it sent last (-1: none yet).
    int Channel() const { return channel_; }
    int Entry() const { return entry_; }

    // For a transfer that did not finish, one text for whoever started it: where it stopped,
    // why, and what the camera's tables now hold ("stopped at entry 62 of 256 of the Red
    // table"). A read that finished with values out of range gives its own message.
    std::string StopText(const ExchangeResult& result) const;

    // The camera's answers beyond 0..4095 in the last read.
    struct OutOfRange {
        int channel;
        int entry;
        std::int32_t value;
    };
    const std::vector<OutOfRange>& OutOfRangeValues() const { return outOfRange_; }

private:
    ExchangeResult StartAtEntryZero(bool writing);
    void BeginRun(int channel);
    ExchangeResult WithOutOfRange(ExchangeResult result) const;
    ExchangeResult ReadRun(int channel, Table& table);
    ExchangeResult WriteRun(int channel, const Table& table);
    void ShowEntry(const std::string& text, int index);

    Operation& op_;
    int timeoutMs_;
    int channel_ = 0;
    int entry_ = -1;
    int firstChannel_ = -1;  // of the last transfer; -1 while none of its runs started
    int done_ = 0;           // entries of the current run the camera answered or took
    bool writing_ = false;
    std::vector<OutOfRange> outOfRange_;
};

}  // namespace vk::lut
