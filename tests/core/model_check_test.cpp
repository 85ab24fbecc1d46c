#include "core/comm/model_check.h"
#include "core/camera_fixture.h"

namespace vk {
namespace {

TEST(ModelTable, MatchesExactlyAndClassifiesColour) {
    EXPECT_EQ(ModelCheck::IndexOf("VK-4100C-PMCL"), 0);
    EXPECT_EQ(ModelCheck::IndexOf("VK-4100M-PMCL"), 1);
    for (const char* other : {"vk-4100m-pmcl", "VK-4100M-PMCL ", "VK-4100", ""}) {
        EXPECT_EQ(ModelCheck::IndexOf(other), ModelCheck::kNoModel) << other;
    }
    EXPECT_TRUE(ModelCheck::IsColour(0));
    EXPECT_FALSE(ModelCheck::IsColour(1));
    EXPECT_FALSE(ModelCheck::IsColour(ModelCheck::kNoModel));
}

class ModelCheckTest : public test::CameraFixture {};

TEST_F(ModelCheckTest, ASupportedAnswerSetsIndexAndName) {
    EXPECT_EQ(core.modelCheck.modelIndex, 18);
    EXPECT_EQ(core.modelCheck.modelName, "");
    ASSERT_NO_FATAL_FAILURE(Connect(Model("VK-4100M-PMCL")));
    EXPECT_TRUE(core.modelCheck.Check());
    EXPECT_EQ(core.modelCheck.modelIndex, 1);
    EXPECT_EQ(core.modelCheck.modelName, "VK-4100M-PMCL");
    EXPECT_EQ(camera->ReceivedLines(), std::vector<std::string>{"MD?"});
    EXPECT_FALSE(core.modelCheck.TakeNotice());
}

TEST_F(ModelCheckTest, AnUnsupportedAnswerIsReportedOnceButCountsAsAnswered) {
    ASSERT_NO_FATAL_FAILURE(Connect(Model("vk-4100m-pmcl")));
    EXPECT_TRUE(core.notifier.CameraUsable());
    EXPECT_TRUE(core.modelCheck.Check());
    EXPECT_EQ(core.modelCheck.modelIndex, 18);
    EXPECT_EQ(core.modelCheck.modelName, "vk-4100m-pmcl");
    EXPECT_FALSE(core.notifier.CameraUsable());
    // The connect and the full read both check, each its own operation: the user hears of
    // it once, after the operation that found it, whatever the operation's caller shows.
    const auto check = [this](bool callerShowsFailure) {
        OperationInfo info{"check"};
        info.callerShowsFailure = callerShowsFailure;
        return core.runner.Run(info, [this](Operation&) { return core.modelCheck.Check(); });
    };
    EXPECT_TRUE(check(true));
    EXPECT_TRUE(check(false));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Unsupported model: \"vk-4100m-pmcl\"\nSupported models: TB-3100CL, TM-3100CL, "
              "QB-R500MCL, QM-R500MCL, VK-14000BCL, VK-14000MCL, TB-600CL, TM-600CL, TB-400CL, "
              "TM-400CL, TB-401CL, TM-401CL, RD-3900C-MCL, RD-3900M-MCL, VK-26000C-MCL, "
              "VK-26000M-MCL, VK-4100C-MCL, VK-4100M-MCL, VK-4100C-PMCL, VK-4100M-PMCL");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);

    // Another camera on the line is checked afresh; the unsupported one again after it.
    camera->SetValue("MD", "VK-4100C-PMCL");
    EXPECT_TRUE(check(false));
    EXPECT_TRUE(core.notifier.CameraUsable());
    camera->SetValue("MD", "VK-4100X");
    EXPECT_TRUE(check(false));
    camera->SetValue("MD", "vk-4100m-pmcl");
    EXPECT_TRUE(check(false));
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_FALSE(core.notifier.CameraUsable());
}

TEST_F(ModelCheckTest, NoAnswerKeepsThePreviousModel) {
    ASSERT_NO_FATAL_FAILURE(Connect(Model("VK-4100C-MCL")));
    ASSERT_TRUE(core.modelCheck.Check());
    camera->SetFault({sim::Fault::Silent, 0, -1, {}});
    EXPECT_FALSE(core.modelCheck.Check());  // waits its full second
    EXPECT_EQ(core.modelCheck.modelIndex, 0);
    EXPECT_EQ(core.modelCheck.modelName, "VK-4100C-MCL");
}

}  // namespace
}  // namespace vk
