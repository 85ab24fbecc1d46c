#include <gtest/gtest.h>

#include "core/protocol/reply_parser.h"

namespace vk {
namespace {

class ReplyParser : public ::testing::Test {
protected:
    ParsedReply Parse(std::string_view line, bool expectOk = true) {
        const ParsedReply r = ParseReply(table, line);
        EXPECT_EQ(r.valid, expectOk) << line;
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
    EXPECT_EQ(r.value.kind, ValueKind::Int);
}

// A camera's answer is read as the design reads it: the leading decimal digits with their
// sign (0 when there are none), or "&H" hexadecimal; beyond 32 bits the nearest value, or
// for a bit pattern no value at all, never a wrapped one.
TEST_F(ReplyParser, AnswersAreReadByTheirLeadingNumber) {
    const std::pair<std::string_view, std::optional<std::int32_t>> cases[] = {
        {"TO=12.7", 12},
        {"LS0=", 0},
        {"LI0=12abc", 12},
        {"TI=0x10", 0},
        {"PE=abc", 0},
        {"PE=1e3", 1},
        {"PE=+-5", 0},
        {"PE=&H1G", 1},
        {"PE=&H", 0},
        {"PE=2147483648", INT32_MAX},
        {"PE=-2147483649", INT32_MIN},
        {"PE=99999999999999999999", INT32_MAX},
        {"PE=&H100000000", std::nullopt},
        {"PE=&H 1 2 3 4 5 6 7 8 9", std::nullopt},  // beyond 32 bits once the blanks are gone
    };
    for (const auto& [line, value] : cases) {
        const auto r = Parse(line, value.has_value());
        if (value) {
            EXPECT_EQ(r.value.intValue, *value) << line;
        }
    }
}

// Pairs and query lines (setting files, LUT entries) stay strict.
TEST_F(ReplyParser, MalformedPairsAndQueryArgumentsAreUnusable) {
    const std::string_view lines[] = {
        "LUTR=3,", "LUTR=3,x", "LUTR=,7", "LUTR=3,4294967296", "LUTR?abc", "LUTR?12.5",
    };
    for (std::string_view line : lines) {
        const auto r = Parse(line, false);
        EXPECT_FALSE(r.valid) << line;
        EXPECT_EQ(r.commandId, table.Find(r.mnemonic)) << line;  // still named for the report
    }
    // A NUL or another control character inside a value: 2048 must not read as 20.
    for (char c : {'\0', '\x01', '\t', '\x1b', '\x7f'}) {
        std::string line = "HTL=20";
        line += c;
        line += "48";
        EXPECT_FALSE(Parse(line, false).valid) << int(c);
        EXPECT_FALSE(Parse("MD=VK" + std::string(1, c) + "4100", false).valid) << int(c);
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
    EXPECT_FALSE(Parse("COMPLETE", false).valid);
    EXPECT_FALSE(Parse("", false).valid);
    const auto r = Parse("XYZ=1", false);
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.commandId, kNoCommand);
    EXPECT_EQ(r.mnemonic, "XYZ");
    EXPECT_FALSE(Parse("=5", false).valid);
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
    const std::string_view bad[] = {"",           "+",           "-",   "0x",  "12abc",
                                    "09",         "0x-1",        "+-1", "--1", "2147483648",
                                    "0xFFFFFFFF", "-2147483649", "1 2"};
    for (std::string_view text : bad) {
        EXPECT_EQ(ReadCInteger(text), std::nullopt) << text;
    }
    EXPECT_EQ(ReadCInteger(std::string_view("1\0002", 3)), std::nullopt);  // a NUL inside
}

}  // namespace
}  // namespace vk
