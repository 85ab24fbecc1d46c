#include "camera_fixture.h"

namespace vk {
namespace {

constexpr ControlId kPe = 1943;
constexpr ControlId kOfl = 1982;  // 0..65535, after PE in table order
constexpr ControlId kHtl = 1984;  // after OFL

class SendChangedValuesTest : public test::CameraFixture {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(Connect());
        Table().CommitAll();  // as the main window does before anything is sent
    }

    // Changes three rows and sends them as a page change does.
    bool ChangeAndSend(std::int32_t ofl, int timeoutMs = kShort) {
        Table().SetPageValue(kPe, 5000);
        Table().SetPageValue(kOfl, ofl);
        Table().SetPageValue(kHtl, 100);
        const bool ok = SendChangedValues(core.command, timeoutMs).ok();
        Table().CommitAll();
        return ok;
    }
};

TEST_F(SendChangedValuesTest, SendsOnlyChangedRowsInTableOrder) {
    EXPECT_TRUE(ChangeAndSend(200));
    EXPECT_EQ(camera->ReceivedLines(), (std::vector<std::string>{"PE=5000", "OFL=200", "HTL=100"}));
    EXPECT_EQ(Table().CameraValue(kPe), 5000);
    EXPECT_EQ(Table().CameraValue(kOfl), 200);
    EXPECT_EQ(Table().CameraValue(kHtl), 100);
    EXPECT_EQ(camera->Value("HTL"), "100");

    camera->ClearReceivedLines();
    EXPECT_TRUE(SendChangedValues(core.command, kShort).ok());
    EXPECT_TRUE(camera->ReceivedLines().empty());
}

TEST_F(SendChangedValuesTest, ARefusedValueAndEverythingAfterItKeepTheCamerasValue) {
    EXPECT_FALSE(ChangeAndSend(70000));  // out of range: the camera answers with an error

    EXPECT_EQ(camera->ReceivedLines(), (std::vector<std::string>{"PE=5000", "OFL=70000"}));
    EXPECT_EQ(Table().CameraValue(kPe), 5000);   // sent and completed
    EXPECT_EQ(Table().CameraValue(kOfl), 0);     // refused
    EXPECT_EQ(Table().CameraValue(kHtl), 2048);  // never sent
    EXPECT_EQ(RowOf(kOfl).value, 0);
    EXPECT_EQ(RowOf(kHtl).value, 2048);
    EXPECT_EQ(camera->Value("OFL"), "0");
    ASSERT_EQ(ui.messages.size(), 1u);  // the camera's own text
    EXPECT_EQ(ui.messages[0].caption, "Communication Error");

    // Nothing is left pending: the next send has nothing to do.
    camera->ClearReceivedLines();
    EXPECT_TRUE(SendChangedValues(core.command, kShort).ok());
    EXPECT_TRUE(camera->ReceivedLines().empty());
}

TEST_F(SendChangedValuesTest, AValueTheCameraNeverAnsweredIsNotRecorded) {
    camera->SetFault({sim::Fault::Silent, 0, 1, {}});
    EXPECT_FALSE(ChangeAndSend(200, 100));
    EXPECT_EQ(camera->ReceivedLines(), std::vector<std::string>{"PE=5000"});
    EXPECT_EQ(Table().CameraValue(kPe), 10);
    EXPECT_EQ(Table().CameraValue(kOfl), 0);
    EXPECT_EQ(Table().CameraValue(kHtl), 2048);
}

}  // namespace
}  // namespace vk
