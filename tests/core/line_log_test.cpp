#include <gtest/gtest.h>

#include "comm/line_log.h"

namespace vk {
namespace {

TEST(LineLog, KeepsNewestFirstUpToCapacity) {
    LineLog log(3, LineLog::Stamp::None);
    int added = 0;
    log.onAdded = [&](const std::string&) { ++added; };
    for (const char* s : {"a", "b", "c", "d"})
        log.Add(s);
    ASSERT_EQ(log.Size(), 3u);
    EXPECT_EQ(log.At(0), "d");
    EXPECT_EQ(log.At(2), "b");
    EXPECT_EQ(added, 4);
    log.Clear();
    EXPECT_EQ(log.Size(), 0u);
}

TEST(LineLog, CapacitiesOfTheTwoSinks) {
    TrafficLogs logs;
    for (int i = 0; i < 32787; ++i)
        logs.Transmitted(std::to_string(i));
    EXPECT_EQ(logs.messages.Size(), 4096u);
    EXPECT_EQ(logs.messages.At(4095), std::to_string(32787 - 4096));
    EXPECT_EQ(logs.terminal.Size(), 32786u);  // the first line has gone
    EXPECT_EQ(logs.terminal.At(32785).substr(11), "Tx: 1");
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
