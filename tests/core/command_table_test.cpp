#include <gtest/gtest.h>

#include <set>

#include "core/protocol/command_table.h"

namespace vk {
namespace {

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

}  // namespace
}  // namespace vk
