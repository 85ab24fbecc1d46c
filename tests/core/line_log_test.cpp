#include <gtest/gtest.h>

#include <vector>

#include "core/comm/line_log.h"

namespace vk {
namespace {

struct CountingObserver : LineLogObserver {
    void OnLineAdded(const std::string& line) override { lines.push_back(line); }
    void OnCleared() override { ++cleared; }
    std::vector<std::string> lines;
    int cleared = 0;
};

TEST(LineLog, KeepsNewestFirstUpToCapacityAndTellsEveryObserver) {
    LineLog log(3, LineLog::Stamp::None);
    CountingObserver first;
    CountingObserver second;
    log.AddObserver(&first);
    log.AddObserver(&second);
    log.AddObserver(&second);  // watching twice tells once
    for (const char* s : {"a", "b", "c", "d"})
        log.Add(s);
    ASSERT_EQ(log.Size(), 3u);
    EXPECT_EQ(log.At(0), "d");
    EXPECT_EQ(log.At(2), "b");
    EXPECT_EQ(first.lines, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(second.lines.size(), 4u);
    EXPECT_EQ(log.TotalAdded(), 4u);
    log.RemoveObserver(&first);
    log.Add("e");
    log.Clear();
    EXPECT_EQ(log.Size(), 0u);
    EXPECT_EQ(first.lines.size(), 4u);
    EXPECT_EQ(first.cleared, 0);
    EXPECT_EQ(second.lines.size(), 5u);
    EXPECT_EQ(second.cleared, 1);
}

TEST(LineLog, BinaryTrafficAndFailedWritesAreLoggedAsSuch) {
    TrafficLogs logs;
    const std::uint8_t bytes[] = {0x01, 0x0A, 0x0D, 0xFF};
    logs.TransmittedBytes(bytes, true);
    logs.ReceivedBytes(std::span(bytes, 2));
    logs.TransmitFailed("PE=10");
    EXPECT_EQ(logs.terminal.At(2).substr(11), "Tx: 01 0A 0D FF");
    EXPECT_EQ(logs.terminal.At(1).substr(11), "Rx: 01 0A");
    EXPECT_EQ(logs.terminal.At(0).substr(11), "Tx failed: PE=10");
    EXPECT_EQ(logs.messages.At(0), "PE=10  (not sent)");
}

TEST(LineLog, TerminalLinesAreStampedAndPrefixed) {
    EXPECT_EQ(FormatLogStamp(7, 3, 45), "07:03:045  ");
    TrafficLogs logs;
    logs.Transmitted("PE=10");
    logs.Received("COMPLETE");
    ASSERT_EQ(logs.terminal.Size(), 2u);
    EXPECT_EQ(logs.terminal.At(0).substr(11), "Rx: COMPLETE");
    EXPECT_EQ(logs.terminal.At(1).substr(11), "Tx: PE=10");
    EXPECT_EQ(logs.terminal.At(0)[2], ':');
    EXPECT_EQ(logs.messages.At(0), "COMPLETE");
    EXPECT_EQ(logs.messages.At(1), "PE=10");
}

}  // namespace
}  // namespace vk
