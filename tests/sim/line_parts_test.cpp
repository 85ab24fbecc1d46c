#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "sim/fault_injector.h"
#include "sim/line_clock.h"
#include "sim/line_splitter.h"
#include "sim/request.h"

namespace vk::sim {
namespace {

std::vector<std::string> Split(LineSplitter& splitter, const std::string& bytes) {
    std::vector<std::string> lines;
    for (char c : bytes) {
        if (splitter.Push(c)) {
            lines.push_back(splitter.TooLong() ? "<long>" + splitter.Line() : splitter.Line());
        }
    }
    return lines;
}

TEST(LineSplitterTest, LinesEndWithCrLfOrABareLf) {
    LineSplitter splitter;
    EXPECT_EQ(Split(splitter, "PE?\r\nMD?\nA\rB\r\n\r\n"),
              (std::vector<std::string>{"PE?", "MD?", "A\rB", ""}));
    EXPECT_EQ(Split(splitter, "PE"), std::vector<std::string>{});
    EXPECT_TRUE(splitter.Partial());
    EXPECT_EQ(Split(splitter, "=5\r\n"), std::vector<std::string>{"PE=5"});
    EXPECT_FALSE(splitter.Partial());
}

TEST(LineSplitterTest, AnEndlessLineIsCutAndFlagged) {
    LineSplitter splitter(8);
    EXPECT_EQ(Split(splitter, "0123456789\r\nOK\r\n"),
              (std::vector<std::string>{"<long>01234567", "OK"}));
    EXPECT_EQ(Split(splitter, "01234567\r\n"), std::vector<std::string>{"01234567"});
}

TEST(RequestTest, SetsAndQueriesAreTakenApart) {
    const auto set = ParseRequest("BMPXW=5,100");
    ASSERT_TRUE(set);
    EXPECT_EQ(set->op, RequestOp::Set);
    EXPECT_EQ(set->mnemonic, "BMPXW");
    EXPECT_EQ(set->argument, "5,100");

    const auto query = ParseRequest("LUTR?12");
    ASSERT_TRUE(query);
    EXPECT_EQ(query->op, RequestOp::Query);
    EXPECT_EQ(query->argument, "12");

    const auto text = ParseRequest("UD=a=b?c");  // the first operator decides
    ASSERT_TRUE(text);
    EXPECT_EQ(text->op, RequestOp::Set);
    EXPECT_EQ(text->argument, "a=b?c");

    for (const char* bad : {"", "PE", "=1", "?", "pe?", "PE =1", "P-E?", "\xff?"}) {
        EXPECT_FALSE(ParseRequest(bad)) << bad;
    }
}

TEST(LineClockTest, BytesTakeTenBitTimesOneAfterAnother) {
    using std::chrono::microseconds;
    LineClock line(9600);
    EXPECT_EQ(std::chrono::duration_cast<microseconds>(line.ByteTime()), microseconds(1041));
    const Clock::time_point t0{};
    const Clock::time_point first = line.Reserve(t0, 10);
    EXPECT_EQ(first, t0);
    // A reply queued while the line is busy starts when the line is free.
    const Clock::time_point second = line.Reserve(t0, 5);
    EXPECT_EQ(second, t0 + 10 * line.ByteTime());
    EXPECT_EQ(line.CrossingOf(second, 4), t0 + 15 * line.ByteTime());
    EXPECT_EQ(line.CrossedBy(second, 5, second), 0u);
    EXPECT_EQ(line.CrossedBy(second, 5, second + 2 * line.ByteTime()), 2u);
    EXPECT_EQ(line.CrossedBy(second, 5, second + 100 * line.ByteTime()), 5u);
    // After a pause the line starts at once.
    const Clock::time_point later = t0 + std::chrono::seconds(1);
    EXPECT_EQ(line.Reserve(later, 1), later);
}

TEST(LineClockTest, WithoutASpeedEverythingCrossesAtOnce) {
    LineClock line(0);
    EXPECT_FALSE(line.Paced());
    const Clock::time_point t0{};
    EXPECT_EQ(line.Reserve(t0, 1000), t0);
    EXPECT_EQ(line.Reserve(t0, 1000), t0);
    EXPECT_EQ(line.CrossedBy(t0, 1000, t0), 1000u);
}

class FaultInjectorTest : public ::testing::Test {
protected:
    Outgoing Answer(const std::string& line) {
        return faults.Answer(ParseRequest(line), [&] {
            return std::string(line.back() == '?' ? line.substr(0, line.size() - 1) + "=10"
                                                  : "COMPLETE");
        });
    }

    FaultInjector faults;
};

TEST_F(FaultInjectorTest, AFaultLastsForItsCountOfLinesItAppliesTo) {
    faults.Set({Fault::WrongMnemonic, 0, 2, {}});
    EXPECT_EQ(Answer("PE=5").bytes, "COMPLETE\r\n");  // a set is no query: not counted
    EXPECT_EQ(Answer("PE?").bytes, "TRGOP=10\r\n");   // the next command of the table
    EXPECT_EQ(Answer("TEMPF?").bytes, "EB=10\r\n");   // ... round to the first
    EXPECT_EQ(Answer("PE?").bytes, "PE=10\r\n");

    faults.Set({Fault::Silent, 0, -1, {}});
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Answer("PE?").bytes, "");
    }
    faults.Set({});
    EXPECT_EQ(Answer("PE?").bytes, "PE=10\r\n");
}

}  // namespace
}  // namespace vk::sim
