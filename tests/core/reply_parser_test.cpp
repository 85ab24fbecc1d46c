#include <gtest/gtest.h>

#include "core/protocol/reply_parser.h"

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
    const std::pair<std::string_view, std::int32_t> cases[] = {
        {"PE=12", 12},
        {"PE=&H1F", 31},
        {"pe=&h1f", 31},
        {"PE = 1 2\r\n", 12},  // blanks are dropped, also inside the digits
        {"GA=-84", -84},
        {"GA=+84", 84},
        {"PE=007", 7},
        {"PE=-0", 0},
        {"PE=2147483647", INT32_MAX},
        {"PE=-2147483648", INT32_MIN},
        {"PE=&HFFFFFFFF", -1},  // 32 bits
        {"PE=&H000000000001F", 31},
        {"LUTR?12", 12},
    };
    for (const auto& [line, value] : cases) {
        EXPECT_EQ(Parse(line).value.intValue, value) << line;
    }
    const auto r = Parse("PE=12");
    EXPECT_EQ(r.mnemonic, "PE");
    EXPECT_EQ(r.commandId, 10);
    EXPECT_EQ(r.op, "=");
    EXPECT_EQ(r.valueCount, 1u);
    EXPECT_EQ(r.error, 0u);
    EXPECT_EQ(r.value.kind, ValueKind::Int);
}

// Each of these once read as a value with success (5000, 0, 20, a clamped number).
TEST_F(ReplyParser, MalformedNumbersAreUnusableAnswers) {
    const std::string_view lines[] = {
        "PE=5000junk",
        "PE=",
        "PE=abc",
        "PE=12.5",
        "PE=1e3",
        "PE=0x1F",
        "PE=+",
        "PE=-",
        "PE=+-5",
        "PE=--5",
        "PE=&H",
        "PE=&H-1",
        "PE=&H+1",
        "PE=&H1G",
        "PE=&H 1 2 3 4 5 6 7 8 9",  // beyond 32 bits once the blanks are gone
        "PE=&H100000000",
        "PE=2147483648",
        "PE=-2147483649",
        "PE=99999999999999999999",
        "LUTR=3,",
        "LUTR=3,x",
        "LUTR=,7",
        "LUTR=3,4294967296",
        "LUTR?abc",
    };
    for (std::string_view line : lines) {
        const auto r = Parse(line, false);
        EXPECT_EQ(r.error, 1u) << line;
        EXPECT_EQ(r.commandId, table.Find(r.mnemonic)) << line;  // still named for the report
    }
    // A NUL or another control character inside a value: 2048 must not read as 20.
    for (char c : {'\0', '\x01', '\t', '\x1b', '\x7f'}) {
        std::string line = "HTL=20";
        line += c;
        line += "48";
        EXPECT_EQ(Parse(line, false).error, 1u) << int(c);
        EXPECT_EQ(Parse("MD=VK" + std::string(1, c) + "4100", false).error, 1u) << int(c);
    }
}

TEST_F(ReplyParser, SplitsTwoValueLines) {
    auto r = Parse("LUTR=3,7");
    EXPECT_EQ(r.value1, "3");
    EXPECT_EQ(r.value2, "7");
    EXPECT_EQ(r.valueCount, 2u);
    EXPECT_EQ(r.firstInt, 3);
    EXPECT_EQ(r.value.intValue, 3);
    r = Parse("LUTR=-1,0x1F");  // the second value is a C integer literal
    EXPECT_EQ(r.value2, "0X1F");
    EXPECT_EQ(r.value.intValue, -1);
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
    const auto userId = Parse("UD=Line3");  // the user id is text
    EXPECT_EQ(userId.value.kind, ValueKind::String);
    EXPECT_EQ(userId.value.text, "Line3");
    EXPECT_EQ(Parse("ID=").value.text, "");
    EXPECT_EQ(Parse("MD=Prüfplatz").value.text, "Prüfplatz");
}

TEST(ValueFormatting, ByKind) {
    ParamValue v;
    v.intValue = 0;
    EXPECT_EQ(FormatValue(v), "0");
    v.intValue = -12;
    EXPECT_EQ(FormatValue(v), "-12");
    v.kind = ValueKind::String;
    v.text = "Hello World";
    EXPECT_EQ(FormatValue(v), "Hello World");
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

TEST(CIntegerLiterals, StrictReadingTakesOnlyWholeLiteralsOf32Bits) {
    const std::pair<std::string_view, std::int32_t> good[] = {
        {"42", 42},
        {"+42", 42},
        {"-7", -7},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-0x10", -16},
        {"010", 8},
        {"0", 0},
        {"-0", 0},
        {"-2147483648", INT32_MIN},
        {"0x7FFFFFFF", INT32_MAX},
    };
    for (const auto& [text, value] : good) {
        EXPECT_EQ(ReadCInteger(text), value) << text;
    }
    const std::string_view bad[] = {"",
                                    "+",
                                    "-",
                                    "0x",
                                    "12abc",
                                    "09",
                                    "0x-1",
                                    "+-1",
                                    "--1",
                                    "2147483648",
                                    "0xFFFFFFFF",
                                    "-2147483649",
                                    "1 2",
                                    std::string_view("1\0"
                                                     "2",
                                                     3)};
    for (std::string_view text : bad) {
        EXPECT_EQ(ReadCInteger(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace vk
