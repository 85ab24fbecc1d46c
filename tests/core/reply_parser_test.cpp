#include <gtest/gtest.h>

#include "protocol/reply_parser.h"

namespace vk {
namespace {

class ReplyParser : public ::testing::Test {
protected:
    ParsedReply Parse(std::string_view line, bool expectOk = true) {
        ParsedReply r;
        EXPECT_EQ(ParseReply(table, line, r), expectOk) << line;
        return r;
    }
    CommandTable table;
};

TEST_F(ReplyParser, ReadsIntegerValuesInEveryNotation) {
    EXPECT_EQ(Parse("PE=12").value.intValue, 12);
    EXPECT_EQ(Parse("PE=&H1F").value.intValue, 31);
    EXPECT_EQ(Parse("PE = 1 2\r\n").value.intValue, 12);
    EXPECT_EQ(Parse("GA=-84").value.intValue, -84);
    EXPECT_EQ(Parse("PE=abc").value.intValue, 0);
    EXPECT_EQ(Parse("PE=99999999999999999999").value.intValue, INT32_MAX);
    EXPECT_EQ(Parse("PE=-99999999999").value.intValue, INT32_MIN);
    EXPECT_EQ(Parse("PE=&HFFFFFFFF").value.intValue, -1);
    EXPECT_EQ(Parse("PE=&HFFFFFFFFFFFF").value.intValue, -1);  // beyond 32 bits: the most
    EXPECT_EQ(Parse("PE=&H").value.intValue, 0);
    EXPECT_EQ(Parse("pe=7").mnemonic, "PE");
    const auto r = Parse("PE=12");
    EXPECT_EQ(r.commandId, 10);
    EXPECT_EQ(r.op, "=");
    EXPECT_EQ(r.valueCount, 1u);
    EXPECT_EQ(r.error, 0u);
    EXPECT_EQ(r.value.kind, ValueKind::Int);
}

TEST_F(ReplyParser, SplitsTwoValueLines) {
    const auto r = Parse("LUTR=3,7");
    EXPECT_EQ(r.value1, "3");
    EXPECT_EQ(r.value2, "7");
    EXPECT_EQ(r.valueCount, 2u);
    EXPECT_EQ(r.firstInt, 3);
    EXPECT_EQ(r.value.intValue, 3);
}

TEST_F(ReplyParser, QueriesWithAndWithoutArgument) {
    auto r = Parse("PE?");
    EXPECT_EQ(r.op, "?");
    EXPECT_EQ(r.valueCount, 0u);
    r = Parse("LUTR?12");
    EXPECT_EQ(r.valueCount, 1u);
    EXPECT_EQ(r.value1, "12");
}

TEST_F(ReplyParser, RejectsLinesWithoutOperatorOrKnownCommand) {
    EXPECT_EQ(Parse("COMPLETE", false).error, 1u);
    EXPECT_EQ(Parse("", false).error, 1u);
    const auto r = Parse("XYZ=1", false);
    EXPECT_EQ(r.error, 1u);
    EXPECT_EQ(r.commandId, kNoCommand);
    EXPECT_EQ(r.mnemonic, "XYZ");
    EXPECT_EQ(Parse("=5", false).error, 1u);
}

TEST_F(ReplyParser, TextKeepsItsCaseButLosesBlanks) {
    const auto r = Parse("md=vk-4100m-pmcl");
    EXPECT_EQ(r.value.kind, ValueKind::String);
    EXPECT_EQ(r.value.text, "vk-4100m-pmcl");
    EXPECT_EQ(r.value1, "VK-4100M-PMCL");
    EXPECT_EQ(r.raw, "md=vk-4100m-pmcl");
    EXPECT_EQ(Parse("UD=My Camera 1").raw, "UD=MyCamera1");
    EXPECT_EQ(Parse("ID=Ab,Cd").value.text, "Ab");
    EXPECT_EQ(Parse("UD=Line3").value.text, "Line3");  // a numeric command holding text
}

TEST(ValueFormatting, ByKind) {
    CommandEntry e;
    e.mnemonic = "X";
    ParamValue v;
    v.intValue = 0;
    EXPECT_EQ(FormatValue(e, v), "0");
    v.intValue = -12;
    EXPECT_EQ(FormatValue(e, v), "-12");
    e.kind = ValueKind::Float;
    e.decimals = 2;
    v.floatValue = 1.5;
    EXPECT_EQ(FormatValue(e, v), "1.50");
    e.decimals = 0;
    EXPECT_EQ(FormatValue(e, v), "2");
    e.kind = ValueKind::String;
    v.text = "Hello World";
    EXPECT_EQ(FormatValue(e, v), "Hello World");
}

TEST(CIntegerLiterals, ReadAsStrtolWithBaseZero) {
    EXPECT_EQ(ParseCInteger("42"), 42);
    EXPECT_EQ(ParseCInteger("0x1F"), 31);
    EXPECT_EQ(ParseCInteger("010"), 8);
    EXPECT_EQ(ParseCInteger("-7"), -7);
    EXPECT_EQ(ParseCInteger(""), 0);
    EXPECT_EQ(ParseCInteger("12abc"), 12);
    EXPECT_EQ(ParseCInteger("0x1FFFFFFFF"), INT32_MAX);
}

}  // namespace
}  // namespace vk
