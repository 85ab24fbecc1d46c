#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/lut/lut_file.h"
#include "support/temp_dir.h"

namespace vk::lut {
namespace {

Tables Filled(std::int32_t r, std::int32_t g, std::int32_t b) {
    Tables t;
    t[0].fill(r);
    t[1].fill(g);
    t[2].fill(b);
    return t;
}

LutLoad Parse(const std::string& text, const Tables& current = Filled(7, 8, 9)) {
    std::istringstream in(text);
    return ParseLutFile(in, current);
}

std::string DataLines(int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text +=
            std::to_string(i) + "," + std::to_string(2 * i) + "," + std::to_string(3 * i) + "\r\n";
    return text;
}

TEST(LutFile, SavedFileIsHeaderAndOneCrLfLinePerEntry) {
    Tables tables{};
    for (int i = 0; i < kEntries; ++i) {
        tables[0][std::size_t(i)] = i;
        tables[1][std::size_t(i)] = 2 * i;
        tables[2][std::size_t(i)] = 3 * i;
    }
    const std::string text = FormatLutFile(tables);
    EXPECT_EQ(text, "GammaData (R G B)\r\n" + DataLines(256));

    test::TempDir dir;
    const std::string path = dir / "gamma.csv";
    std::string error;
    ASSERT_TRUE(SaveLutFile(path, tables, &error)) << error;
    EXPECT_EQ(test::ReadFile(path), text);
    const LutLoad back = LoadLutFile(path, Filled(0, 0, 0));
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.tables, tables);
    EXPECT_EQ(back.dataLines, 256);
    EXPECT_EQ(std::filesystem::directory_iterator(dir.Path())->path().filename(), "gamma.csv");
}

TEST(LutFile, FailedSaveLeavesThePreviousFileAndSaysWhy) {
    test::TempDir dir;
    std::string error;
    const std::string missing = dir / "no-such-folder/gamma.csv";
    EXPECT_FALSE(SaveLutFile(missing, Filled(1, 2, 3), &error));
    EXPECT_EQ(error, missing + "\nCouldn't open this file");

    // The target is a folder that cannot be replaced: the temporary file is gone again.
    const std::string folder = dir / "taken.csv";
    std::filesystem::create_directories(folder + "/inside");
    EXPECT_FALSE(SaveLutFile(folder, Filled(1, 2, 3), &error));
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/inside"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);

    const LutLoad load = LoadLutFile(dir / "absent.csv", Filled(1, 2, 3));
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.error, dir / "absent.csv" + "\nCouldn't open this file");
}

TEST(LutFile, FieldsTakeDigitsOnlyAndShortFilesKeepTheRest) {
    const LutLoad load = Parse("whatever the header says\n-5, 1 2 ,x3y\r\n,,\r\n007,0,4095");
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(load.dataLines, 3);
    EXPECT_EQ(load.tables[0][0], 5);   // the minus sign is skipped
    EXPECT_EQ(load.tables[1][0], 12);  // a blank between digits joins them
    EXPECT_EQ(load.tables[2][0], 3);
    EXPECT_EQ(load.tables[0][1], 0);  // empty fields are 0
    EXPECT_EQ(load.tables[0][2], 7);
    EXPECT_EQ(load.tables[2][2], 4095);
    EXPECT_EQ(load.tables[0][3], 7);  // no line for entry 3: the earlier values stay
    EXPECT_EQ(load.tables[2][255], 9);
    EXPECT_TRUE(load.notice.empty());

    for (const std::string header_only : {"", "GammaData (R G B)\r\n", "GammaData (R G B)"}) {
        const LutLoad h = Parse(header_only);
        EXPECT_TRUE(h.ok);
        EXPECT_EQ(h.dataLines, 0);
        EXPECT_EQ(h.tables, Filled(7, 8, 9));
    }
}

TEST(LutFile, MalformedFilesFailWithTheirMessageAndChangeNoTable) {
    const std::string header = "GammaData (R G B)\r\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {header + "1,2,3\r\n4,5\r\n", "Invaild line format"},        // two values, one comma
        {header + "1,2,3,\r\n", "Invaild data count format"},        // a trailing third comma
        {header + "1,2,3\r\n\r\n4,5,6\r\n", "Invaild line format"},  // a blank line
        {header + DataLines(256) + "1,2,3\r\n", "Too many data"},    // 257 data lines
        {header + DataLines(256) + "\r\n", "Invaild line format"},   // the blank comes first
        {header + "1,2,3" + std::string(130, ' ') + "\r\n", "Invaild line format"},  // a piece
        {header + "9999,2,3\r\n1,2\r\n", "Invaild line format"},  // no clamp notice either
    };
    for (const auto& c : cases) {
        const LutLoad load = Parse(c.text);
        EXPECT_FALSE(load.ok) << c.text.substr(0, 40);
        EXPECT_EQ(load.error, c.error) << c.text.substr(0, 40);
        EXPECT_EQ(load.tables, Filled(7, 8, 9)) << c.text.substr(0, 40);
    }
    // A line of exactly 126 characters is still one line; one more and it breaks in two.
    const std::string line126 = "1,2,3" + std::string(121, ' ');
    EXPECT_TRUE(Parse(header + line126).ok);
    EXPECT_FALSE(Parse(header + line126 + " ").ok);
}

TEST(LutFile, ValuesAbove4095AreLimitedWithOneNoticePerLoad) {
    const LutLoad load = Parse("h\r\n1,2,3\r\n4096,5,99999999999999999999\r\n1,70000,0\r\n");
    ASSERT_TRUE(load.ok);
    EXPECT_EQ(load.notice, "Invalid data value: Line(1) : Value(4096)");
    EXPECT_EQ(load.tables[0][1], 4095);
    EXPECT_EQ(load.tables[2][1], 4095);
    EXPECT_EQ(load.tables[1][2], 4095);

    EXPECT_EQ(Parse("h\r\n0,0,00099999999999999999999\r\n").notice,
              "Invalid data value: Line(0) : Value(99999999999999999999)");
}

}  // namespace
}  // namespace vk::lut
