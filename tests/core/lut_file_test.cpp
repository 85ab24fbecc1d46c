#include <gtest/gtest.h>

#include <string>

#include "core/lut/lut_file.h"
#include "support/temp_dir.h"

namespace vk::lut {
namespace {

const std::string kHeader = "GammaData (R G B)\r\n";

std::string DataLines(int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text +=
            std::to_string(i) + "," + std::to_string(2 * i) + "," + std::to_string(3 * i) + "\r\n";
    return text;
}

TEST(LutFile, SavedFileIsHeaderAndOneCrLfLinePerEntryAndLoadsBack) {
    const LutLoad parsed = ParseLutFile(kHeader + DataLines(256));
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.tables[2][255], 765);
    EXPECT_EQ(FormatLutFile(parsed.tables), kHeader + DataLines(256));

    test::TempDir dir;
    const std::string path = dir / "gamma.csv";
    std::string error;
    ASSERT_TRUE(SaveLutFile(path, parsed.tables, &error)) << error;
    EXPECT_EQ(test::ReadFile(path), kHeader + DataLines(256));
    const LutLoad back = LoadLutFile(path);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.tables, parsed.tables);
    EXPECT_EQ(std::filesystem::directory_iterator(dir.Path())->path().filename(), "gamma.csv");
    // Plain LF line ends, blanks around numbers and blank lines after the last entry are fine.
    std::string relaxed = "GammaData (R G B)\n";
    for (int i = 0; i < 256; ++i)
        relaxed += " " + std::to_string(i) + " ,\t" + std::to_string(2 * i) + "," +
                   std::to_string(3 * i) + "\n";
    const LutLoad r = ParseLutFile(relaxed + "\n\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.tables, parsed.tables);
}

// Anything but the header and 256 rows of three whole numbers is refused, naming the line.
TEST(LutFile, AnythingElseIsRefusedWithItsLine) {
    const std::string row = "1,2,3\r\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "No header line \"GammaData (R G B)\": Line(1)"},
        {DataLines(256), "No header line \"GammaData (R G B)\": Line(1)"},  // one entry short
        {kHeader, "Too few data: Line(2): 0 of 256 entries"},
        {kHeader + DataLines(101), "Too few data: Line(103): 101 of 256 entries"},
        {kHeader + DataLines(256) + row, "Too many data: Line(258)"},
        {kHeader + "-5,2,3\r\n", "Invaild line format: Line(2)"},
        {kHeader + row + "1e3,2,3\r\n", "Invaild line format: Line(3)"},
        {kHeader + "0x10,2,3\r\n", "Invaild line format: Line(2)"},
        {kHeader + "4.5,2,3\r\n", "Invaild line format: Line(2)"},
        {kHeader + "1 2,2,3\r\n", "Invaild line format: Line(2)"},
        {kHeader + "1,,3\r\n", "Invaild line format: Line(2)"},
        {kHeader + "1,2\r\n", "Invaild line format: Line(2)"},
        {kHeader + row + "\r\n" + row, "Invaild line format: Line(3)"},  // a blank inside
        {kHeader + "1,2,3,\r\n", "Invaild data count format: Line(2)"},
        {"a,b,c\r\n" + DataLines(256), "No header line \"GammaData (R G B)\": Line(1)"},
    };
    for (const auto& c : cases) {
        const LutLoad load = ParseLutFile(c.text);
        EXPECT_FALSE(load.ok) << c.error;
        EXPECT_EQ(load.error, c.error);
    }
}

TEST(LutFile, ValuesAbove4095AreLimitedWithOneNoticeNamingTheFileLine) {
    std::string text = kHeader + "1,2,3\r\n4096,5,99999999999999999999\r\n1,70000,0\r\n";
    const LutLoad load = ParseLutFile(text + DataLines(253));
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(load.notice, "Invalid data value: Line(3) : Value(4096)");
    EXPECT_EQ(load.tables[0][1], 4095);
    EXPECT_EQ(load.tables[2][1], 4095);
    EXPECT_EQ(load.tables[1][2], 4095);
    EXPECT_EQ(ParseLutFile(kHeader + "0,0,00099999999999999999999\r\n" + DataLines(255)).notice,
              "Invalid data value: Line(2) : Value(99999999999999999999)");
}

}  // namespace
}  // namespace vk::lut
