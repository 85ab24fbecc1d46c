#include <gtest/gtest.h>

#include <set>

#include "core/protocol/control_table.h"

namespace vk {
namespace {

constexpr ControlId kPe = 1943;
constexpr ControlId kHtl = 1984;
constexpr ControlId kGa01 = 1790;
constexpr ControlId kUnknown = 1234;

class ControlTableTest : public ::testing::Test {
protected:
    CommandId Id(const char* mnemonic) const { return commands.Find(mnemonic); }

    CommandTable commands;
    ControlTable table{commands};
};

TEST_F(ControlTableTest, EveryControlIdIsUniqueAndEveryCommandExists) {
    std::set<ControlId> ids;
    for (const ControlEntry& row : table.Rows()) {
        EXPECT_TRUE(ids.insert(row.controlId).second) << row.controlId;
        EXPECT_TRUE(commands.IsValid(row.commandId)) << row.controlId;
        EXPECT_EQ(row.rangeMode, 0u);
        EXPECT_EQ(row.cameraValue, 0);
        // Only push buttons belong to neither mode.
        if (row.level == ParamLevel::None) {
            EXPECT_EQ(row.controlKind, ControlKind::Button);
        }
    }
}

TEST_F(ControlTableTest, ACommandWithTwoRowsResolvesToTheFirst) {
    EXPECT_EQ(table.ControlOf(Id("LUTR")), 4603u);
    EXPECT_EQ(table.ControlOf(Id("BMPYW")), 2072u);
    // Both rows still answer by their own control id, with their own ranges.
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    ASSERT_TRUE(table.Range(4605, minimum, maximum));
    EXPECT_EQ(maximum, 4095);
    ASSERT_TRUE(table.Range(4603, minimum, maximum));
    EXPECT_EQ(maximum, 255);
    EXPECT_EQ(table.CommandOf(4603), table.CommandOf(4605));
}

TEST_F(ControlTableTest, ThePageValueReachesTheCameraValueOnlyByCommit) {
    EXPECT_EQ(table.Row(table.RowOf(kHtl)).value, 2048);
    EXPECT_EQ(table.CameraValue(kHtl), 0);

    EXPECT_TRUE(table.SetPageValue(kPe, 5000));
    EXPECT_EQ(table.CameraValue(kPe), 0);
    table.CommitAll();
    EXPECT_EQ(table.CameraValue(kPe), 5000);
    EXPECT_EQ(table.CameraValue(kHtl), 2048);

    EXPECT_TRUE(table.SetPageValue(kPe, 6000));
    EXPECT_EQ(table.CameraValue(kPe), 5000);

    // What the camera took or reported is both values at once.
    EXPECT_TRUE(table.RecordCameraValue(kHtl, 100));
    EXPECT_EQ(table.CameraValue(kHtl), 100);
    EXPECT_EQ(table.Row(table.RowOf(kHtl)).value, 100);
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
    EXPECT_FALSE(table.IsTransferable(483));                // the end row
}

TEST_F(ControlTableTest, TheSettingFileFlagTakesOnlyZeroOrOne) {
    const CommandId awb = Id("AWB");
    EXPECT_EQ(table.InSettingFile(2241), 1u);
    EXPECT_TRUE(table.SetInSettingFile(awb, 0));
    EXPECT_EQ(table.InSettingFile(2241), 0u);

    EXPECT_FALSE(table.SetInSettingFile(awb, 2));
    EXPECT_EQ(table.InSettingFile(2241), 0u);
}

// A miss is a program error, not a user message: the failure value and nothing changed.
TEST_F(ControlTableTest, EveryMissReturnsItsFailureValue) {
    std::int32_t minimum = 7;
    std::int32_t maximum = 8;
    EXPECT_FALSE(table.SetPageValue(kUnknown, 1));
    EXPECT_FALSE(table.RecordCameraValue(kUnknown, 1));
    EXPECT_EQ(table.CameraValue(kUnknown), -1);
    EXPECT_EQ(table.CommandOf(kEndControlId), kNoCommand);  // the end row never matches
    EXPECT_EQ(table.RowOf(kUnknown), -1);
    EXPECT_EQ(table.ControlOf(9999), kEndControlId);
    EXPECT_FALSE(table.SetInSettingFile(Id("MD"), 1));  // a command without a row
    EXPECT_FALSE(table.IsFactoryParameter(kUnknown));
    EXPECT_FALSE(table.Range(kUnknown, minimum, maximum));
    EXPECT_EQ(table.RangeMode(kUnknown), 0xFFFFFFFFu);
    EXPECT_EQ(table.InSettingFile(kUnknown), 0u);  // silently

    EXPECT_EQ(minimum, 7);
    EXPECT_EQ(maximum, 8);
}

}  // namespace
}  // namespace vk
