#include <gtest/gtest.h>

#include <set>

#include "protocol/control_table.h"
#include "support/recording_ui_port.h"

namespace vk {
namespace {

constexpr ControlId kPe = 1943;
constexpr ControlId kHtl = 1984;
constexpr ControlId kGa01 = 1790;
constexpr ControlId kUnknown = 1234;

class ControlTableTest : public ::testing::Test {
protected:
    CommandId Id(const char* mnemonic) const { return commands.Find(mnemonic); }
    std::string Mnemonic(ControlId id) { return commands.GetMnemonic(table.ToCmdId(id)); }

    CommandTable commands;
    test::RecordingUiPort ui;
    ControlTable table{commands, ui};
};

TEST_F(ControlTableTest, HoldsTheRowsInTableOrderFollowedByTheEndRow) {
    ASSERT_EQ(table.RowCount(), 483);
    ASSERT_EQ(InitialControlRows().size(), 484u);
    EXPECT_EQ(commands.GetMnemonic(table.Row(0).commandId), "EM");
    EXPECT_EQ(commands.GetMnemonic(table.Row(482).commandId), "TEMPF");

    const ControlEntry& end = InitialControlRows().back();
    EXPECT_EQ(end.controlId, kEndControlId);
    EXPECT_EQ(end.commandId, 0);
    EXPECT_EQ(end.controlKind, ControlKind::End);
    EXPECT_EQ(end.rangeMode, 2u);
    EXPECT_EQ(static_cast<std::uint32_t>(end.level), 3u);
    EXPECT_EQ(end.minimum | end.maximum | end.value | end.cameraValue, 0);
    EXPECT_EQ(end.inSettingFile, 0u);
}

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

TEST_F(ControlTableTest, RowsCarryTheirKindRangeDefaultLevelAndFileFlag) {
    const ControlEntry& pe = table.Row(table.CtrlId2TblIndex(kPe));
    EXPECT_EQ(commands.GetMnemonic(pe.commandId), "PE");
    EXPECT_EQ(pe.controlKind, ControlKind::Edit);
    EXPECT_EQ(pe.level, ParamLevel::User);
    EXPECT_EQ(pe.minimum, 10);
    EXPECT_EQ(pe.maximum, 8000000);
    EXPECT_EQ(pe.value, 10);
    EXPECT_EQ(pe.inSettingFile, 1u);

    const ControlEntry& ga = table.Row(table.CtrlId2TblIndex(1218));
    EXPECT_EQ(commands.GetMnemonic(ga.commandId), "GA");
    EXPECT_EQ(ga.minimum, -84);
    EXPECT_EQ(ga.inSettingFile, 0u);

    EXPECT_EQ(table.Row(table.CtrlId2TblIndex(4503)).controlKind, ControlKind::Radio);
    EXPECT_EQ(table.Row(table.CtrlId2TblIndex(4626)).controlKind, ControlKind::Check);
    EXPECT_EQ(table.Row(table.CtrlId2TblIndex(2047)).controlKind, ControlKind::Button);
    EXPECT_EQ(table.Row(table.CtrlId2TblIndex(2047)).level, ParamLevel::None);
    EXPECT_EQ(Mnemonic(4969), "TEMPF");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlTableTest, ACommandWithTwoRowsResolvesToTheFirst) {
    EXPECT_EQ(table.ToCtrlId(Id("LUTR")), 4603u);
    EXPECT_EQ(table.ToCtrlId(Id("BMPYW")), 2072u);
    // Both rows still answer by their own control id, with their own ranges.
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    ASSERT_TRUE(table.GetRange(4605, minimum, maximum));
    EXPECT_EQ(maximum, 4095);
    ASSERT_TRUE(table.GetRange(4603, minimum, maximum));
    EXPECT_EQ(maximum, 255);
    EXPECT_EQ(table.ToCmdId(4603), table.ToCmdId(4605));
}

TEST_F(ControlTableTest, ThePageValueReachesTheCameraValueOnlyByCommit) {
    EXPECT_EQ(table.Row(table.CtrlId2TblIndex(kHtl)).value, 2048);
    EXPECT_EQ(table.GetDataValue(kHtl), 0);

    EXPECT_TRUE(table.SetDataValue(kPe, 5000));
    EXPECT_EQ(table.GetDataValue(kPe), 0);
    table.CommitAll();
    EXPECT_EQ(table.GetDataValue(kPe), 5000);
    EXPECT_EQ(table.GetDataValue(kHtl), 2048);

    EXPECT_TRUE(table.SetDataValue(kPe, 6000));
    EXPECT_EQ(table.GetDataValue(kPe), 5000);
    table.RevertFrom(0);
    table.CommitAll();
    EXPECT_EQ(table.GetDataValue(kPe), 5000);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlTableTest, FactoryParametersAndTransferableCounts) {
    EXPECT_TRUE(table.IsFactoryParam(kGa01));
    EXPECT_FALSE(table.IsFactoryParam(kPe));
    EXPECT_FALSE(table.IsFactoryParam(2047));  // a button of neither mode

    EXPECT_EQ(table.CountTransferable(), 464);
    EXPECT_EQ(table.CountUserTransferable(), 340);
    EXPECT_FALSE(table.IsTransferable(table.CtrlId2TblIndex(2047)));  // RS, a button
    EXPECT_FALSE(table.IsTransferable(table.CtrlId2TblIndex(2305)));  // ABA
    EXPECT_FALSE(table.IsTransferable(table.CtrlId2TblIndex(2062)));  // BMPXW, second row
    EXPECT_TRUE(table.IsTransferable(table.CtrlId2TblIndex(2304)));   // AWA
    EXPECT_TRUE(table.IsTransferable(table.CtrlId2TblIndex(2094)));   // FBMPXB
    EXPECT_FALSE(table.IsTransferable(-1));                           // a lookup that missed
    EXPECT_FALSE(table.IsTransferable(483));                          // the end row
}

TEST_F(ControlTableTest, TheSettingFileFlagTakesOnlyZeroOrOne) {
    const CommandId awb = Id("AWB");
    EXPECT_EQ(table.GetMasterFileFlag(2241), 1u);
    EXPECT_TRUE(table.SetMasterFileCommand(awb, 0));
    EXPECT_EQ(table.GetMasterFileFlag(2241), 0u);

    EXPECT_FALSE(table.SetMasterFileCommand(awb, 2));
    EXPECT_EQ(table.GetMasterFileFlag(2241), 0u);
    EXPECT_EQ(ui.MessageTexts(),
              std::vector<std::string>{"Invalid Parameter in SetMasterFileCommand()."});
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
}

TEST_F(ControlTableTest, EveryMissIsReportedAndReturnsItsFailureValue) {
    std::int32_t minimum = 7;
    std::int32_t maximum = 8;
    EXPECT_FALSE(table.SetDataValue(kUnknown, 1));
    EXPECT_EQ(table.GetDataValue(kUnknown), -1);
    EXPECT_EQ(table.ToCmdId(kEndControlId), kNoCommand);  // the end row never matches
    EXPECT_EQ(table.CtrlId2TblIndex(kUnknown), -1);
    EXPECT_EQ(table.ToCtrlId(9999), kEndControlId);
    EXPECT_FALSE(table.SetMasterFileCommand(Id("MD"), 1));  // a command without a row
    EXPECT_FALSE(table.IsFactoryParam(kUnknown));
    EXPECT_FALSE(table.GetRange(kUnknown, minimum, maximum));
    EXPECT_EQ(table.GetRangeMode(kUnknown), 0xFFFFFFFFu);
    EXPECT_EQ(table.GetMasterFileFlag(kUnknown), 0u);  // silently

    EXPECT_EQ(ui.MessageTexts(),
              (std::vector<std::string>{
                  "Unexpected error occurred in SetDataValue().",
                  "Unexpected error occurred in GetDataValue().",
                  "Unexpected error occurred in ToCmdId().",
                  "Unexpected error occurred in CtrlId2TblIndex().",
                  "Unexpected error occurred in ToCtrlId(): Command id is 9999",
                  "Unexpected error occurred in SetMasterFileCommand().",
                  "ERROR: IsFactoryParam(): Control id \"1234: 0x4d2\" is not registered in "
                  "database table",
                  "Unexpected error occurred in CtrlId2TblIndex().",
                  "Unexpected error occurred in CtrlId2TblIndex().",
              }));
    for (const auto& m : ui.messages)
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(minimum, 7);
    EXPECT_EQ(maximum, 8);
}

}  // namespace
}  // namespace vk
