#include <gtest/gtest.h>

#include "core/protocol/control_table.h"

namespace vk {
namespace {

constexpr ControlId kPe = 1943;
constexpr ControlId kGa01 = 1790;

class ControlTableTest : public ::testing::Test {
protected:
    CommandId Id(const char* mnemonic) const { return commands.Find(mnemonic); }

    CommandTable commands;
    ControlTable table{commands};
};

TEST_F(ControlTableTest, ACommandWithTwoRowsResolvesToTheFirst) {
    EXPECT_EQ(table.ControlOf(Id("LUTR")), 4603u);
    EXPECT_EQ(table.ControlOf(Id("BMPYW")), 2072u);
    // Both rows still answer by their own control id.
    EXPECT_EQ(table.CommandOf(4603), table.CommandOf(4605));
}

TEST_F(ControlTableTest, FactoryParametersAndTransferableCounts) {
    EXPECT_TRUE(table.IsFactoryParameter(kGa01));
    EXPECT_FALSE(table.IsFactoryParameter(kPe));
    EXPECT_FALSE(table.IsFactoryParameter(2047));  // a button of neither mode

    EXPECT_EQ(table.CountTransferable(), 464);
    EXPECT_EQ(table.CountUserTransferable(), 340);
    EXPECT_FALSE(table.IsTransferable(table.RowOf(2047)));  // RS, a button
    EXPECT_FALSE(table.IsTransferable(table.RowOf(2305)));  // ABA
    EXPECT_FALSE(table.IsTransferable(table.RowOf(2062)));  // BMPXW, second row
    EXPECT_TRUE(table.IsTransferable(table.RowOf(2304)));   // AWA
    EXPECT_TRUE(table.IsTransferable(table.RowOf(2094)));   // FBMPXB
    EXPECT_FALSE(table.IsTransferable(-1));                 // a lookup that missed
    EXPECT_FALSE(table.IsTransferable(483));                // past the last row
}

}  // namespace
}  // namespace vk
