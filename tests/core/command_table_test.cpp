#include <gtest/gtest.h>

#include <set>

#include "protocol/command_table.h"

namespace vk {
namespace {

TEST(CommandTable, HoldsEveryCommandInIdOrder) {
    CommandTable table;
    ASSERT_EQ(table.Count(), 524);
    EXPECT_EQ(table.GetMnemonic(0), "EB");
    EXPECT_EQ(table.GetMnemonic(4), "MD");
    EXPECT_EQ(table.GetMnemonic(10), "PE");
    EXPECT_EQ(table.GetMnemonic(366), "LD");
    EXPECT_EQ(table.GetMnemonic(367), "SA");
    EXPECT_EQ(table.GetMnemonic(368), "EA");
    EXPECT_EQ(table.GetMnemonic(369), "SA00");
    EXPECT_EQ(table.GetMnemonic(523), "TEMPF");
    for (CommandId id = 0; id < table.Count(); ++id) {
        EXPECT_EQ(table.Entry(id).id, static_cast<std::uint32_t>(id));
        EXPECT_EQ(table.Entry(id).decimals, 0u);
        EXPECT_EQ(table.Entry(id).reserved, 0u);
    }
}

TEST(CommandTable, MnemonicsAreUniqueAndFoundByExactMatch) {
    CommandTable table;
    std::set<std::string> seen;
    for (CommandId id = 0; id < table.Count(); ++id) {
        const std::string m = table.GetMnemonic(id);
        EXPECT_TRUE(seen.insert(m).second) << m << " occurs twice";
        EXPECT_EQ(table.Find(m), id);
    }
    EXPECT_EQ(table.Find("md"), kNoCommand);
    EXPECT_EQ(table.Find(""), kNoCommand);
    EXPECT_EQ(table.Find("PE "), kNoCommand);
    EXPECT_EQ(table.GetMnemonic(-1), "");
    EXPECT_EQ(table.GetMnemonic(524), "");
}

TEST(CommandTable, OnlyIdentityTextsAreStrings) {
    CommandTable table;
    std::set<std::string> strings;
    for (CommandId id = 0; id < table.Count(); ++id) {
        if (table.Entry(id).kind == ValueKind::String) strings.insert(table.GetMnemonic(id));
        EXPECT_NE(table.Entry(id).kind, ValueKind::Float);
    }
    EXPECT_EQ(strings, (std::set<std::string>{"VN", "MD", "UD", "ID", "MD00"}));
}

}  // namespace
}  // namespace vk
