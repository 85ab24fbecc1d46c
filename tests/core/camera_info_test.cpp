// The identity services against the simulated camera: the information queries, the id and
// version writes with their checks, the lens moves, and lines typed into the terminal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/camera/identity/camera_information.h"
#include "core/camera/identity/identity_writes.h"
#include "core/camera/identity/lens.h"
#include "core/camera_fixture.h"
#include "core/comm/terminal_line.h"

namespace vk {
namespace {

using Lines = std::vector<std::string>;

TEST(CameraInformationFormat, VersionsAreHundredthsAndOtherTextsStayAsSent) {
    const struct {
        const char* received;
        const char* shown;
    } cases[] = {
        {"123", "1.23"}, {"5", "0.05"},
        {"0", "0.00"},   {"1000", "10.00"},
        {"-5", "-5"},    {"V1.0", "V1.0"},
        {"", ""},        {"007", "0.07"},
        {"1 2", "1 2"},  {"99999999999", "99999999999"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionText(c.received), c.shown) << c.received;
}

TEST(CameraInformationFormat, DeviceVersionSplitsIntoFourDigitsAndJoinsBack) {
    using Digits = std::array<std::int32_t, 4>;
    EXPECT_EQ(DeviceVersionDigits(1203), (Digits{1, 2, 0, 3}));
    EXPECT_EQ(DeviceVersionDigits(7), (Digits{0, 0, 0, 7}));
    EXPECT_EQ(DeviceVersionDigits(12345), (Digits{12, 3, 4, 5}));

    const struct {
        std::array<std::string, 4> fields;
        std::optional<std::int32_t> joined;
    } cases[] = {
        {{"1", "2", "0", "3"}, 1203},
        {{"12", "3", "4", "5"}, 12345},
        {{"1", "", "0", "3"}, 103},  // an empty field shortens the number
        {{"", "", "", ""}, std::nullopt},
        {{"1", "a", "0", "3"}, std::nullopt},
        {{"?", "?", "?", "?"}, std::nullopt},  // the placeholders
        {{"-1", "2", "0", "3"}, std::nullopt},
        {{"9999", "9999", "9999", "9"}, std::nullopt},  // beyond 32 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JoinDeviceVersion(c.fields), c.joined)
            << c.fields[0] << "|" << c.fields[1] << "|" << c.fields[2] << "|" << c.fields[3];
    }
}

class CameraInfoTest : public test::CameraFixture {
protected:
    void SetUp() override { Connect(); }

    Lines Sent() const { return camera->ReceivedLines(); }
    // The lines sent while `body` ran.
    template <typename F>
    Lines SentBy(F body) {
        camera->ClearReceivedLines();
        body();
        return Sent();
    }
};

TEST_F(CameraInfoTest, InformationIsQueriedInOrderAndFormatted) {
    camera->SetValue("UD", "line-4-left");
    camera->SetValue("DVW", "1203");
    CameraInformation info;
    const Lines sent =
        SentBy([&] { info = ReadCameraInformation(core.exchange, core.modelCheck); });
    EXPECT_EQ(sent, (Lines{"VN?", "MD?", "ID?", "FPVN?", "UD?", "DVW?"}));
    EXPECT_EQ(info.firmwareVersion, "1.05");
    EXPECT_EQ(info.modelName, "VK-4100C-PMCL");
    EXPECT_EQ(info.cameraId, "VK00000001");
    EXPECT_EQ(info.fpgaVersion, "1.02");
    EXPECT_EQ(info.userId, "line-4-left");
    EXPECT_EQ(info.deviceVersion, 1203);
    EXPECT_TRUE(info.firstFailure.ok());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CameraInfoTest, SilentFirmwareQueryStopsEveryOtherQuery) {
    camera->SetFault({sim::Fault::Silent, 0, 1});
    CameraInformation info;
    const Lines sent =
        SentBy([&] { info = ReadCameraInformation(core.exchange, core.modelCheck, kShort); });
    EXPECT_EQ(sent, (Lines{"VN?"}));
    EXPECT_FALSE(info.firmwareVersion || info.modelName || info.cameraId || info.fpgaVersion ||
                 info.userId || info.deviceVersion);
    EXPECT_EQ(info.firstFailure.status, ExchangeStatus::TimedOut);
    EXPECT_TRUE(ui.messages.empty());  // the placeholders tell it
}

TEST_F(CameraInfoTest, UserIdWritesUpToSixteenCharacters) {
    const std::string sixteen = "ABCDEFGHIJKLMNOP";
    IdentityOutcome out;
    Lines sent = SentBy([&] { out = WriteUserId(core.exchange, sixteen); });
    EXPECT_EQ(sent, (Lines{"UD=" + sixteen}));
    EXPECT_TRUE(out.ok);
    EXPECT_EQ(out.text, "Writing the User ID \"ABCDEFGHIJKLMNOP\" has been completed.");
    EXPECT_EQ(out.icon, MessageIcon::Information);
    EXPECT_EQ(camera->Value("UD"), sixteen);

    const struct {
        std::string text;
        const char* message;
    } refused[] = {
        {sixteen + "Q", "User ID string is too long !!"},
        {"two\r\nUD=lines", "The text holds a character that cannot be sent: \"two\r\nUD=lines\""},
    };
    for (const auto& r : refused) {
        sent = SentBy([&] { out = WriteUserId(core.exchange, r.text); });
        EXPECT_TRUE(sent.empty()) << r.text;
        EXPECT_FALSE(out.ok || out.sent);
        EXPECT_EQ(out.text, r.message);
        EXPECT_EQ(out.icon, MessageIcon::Stop);
    }
    EXPECT_EQ(camera->Value("UD"), sixteen);

    camera->SetFault({sim::Fault::ErrorOnSet, 0, 1});
    out = WriteUserId(core.exchange, "x");
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.text, "Couldn't write the User ID.");
    EXPECT_EQ(out.exchange.status, ExchangeStatus::Refused);
    EXPECT_TRUE(ui.messages.empty());  // the caller shows the one sentence
}

TEST_F(CameraInfoTest, CameraIdIsUnlockedRightBeforeItIsWritten) {
    IdentityOutcome out;
    Lines sent = SentBy([&] { out = WriteCameraId(core.exchange, "CAM0000042"); });
    EXPECT_EQ(sent, (Lines{"ULCK=5127038", "ID=CAM0000042"}));
    EXPECT_TRUE(out.ok);
    EXPECT_EQ(out.text, "Completed saving camera id: CAM0000042.");
    EXPECT_EQ(camera->Value("ID"), "CAM0000042");

    // A shorter id (an empty box) goes as it is.
    sent = SentBy([&] { out = WriteCameraId(core.exchange, "CAM42"); });
    EXPECT_EQ(sent, (Lines{"ULCK=5127038", "ID=CAM42"}));
    EXPECT_EQ(camera->Value("ID"), "CAM42");

    sent = SentBy([&] { out = WriteCameraId(core.exchange, "CAM00000042"); });
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(out.text, "Camera ID string is too long !!");

    camera->SetFault({sim::Fault::ErrorOnSet, 0, 1});
    sent = SentBy([&] { out = WriteCameraId(core.exchange, "CAM0000043"); });
    EXPECT_EQ(sent, (Lines{"ULCK=5127038"}));  // a refused unlock stops the write
    EXPECT_EQ(out.text, "Couldn't save camera id.");
    EXPECT_EQ(camera->Value("ID"), "CAM42");
}

TEST_F(CameraInfoTest, DeviceVersionIsWrittenFromItsDigits) {
    IdentityOutcome out;
    Lines sent = SentBy([&] {
        out = WriteDeviceVersion(core.exchange, std::array<std::string, 4>{"1", "2", "0", "3"});
    });
    EXPECT_EQ(sent, (Lines{"DVW=1203"}));
    EXPECT_EQ(out.text, "Writing the Device Version has been completed.");
    const auto read = QueryDeviceVersion(core.exchange);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value, 1203);

    sent = SentBy([&] {
        out = WriteDeviceVersion(core.exchange, std::array<std::string, 4>{"?", "?", "?", "?"});
    });
    EXPECT_TRUE(sent.empty());
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.text, "Couldn't write the Device Version.");
}

TEST_F(CameraInfoTest, LensMovesForItsTimeThenStops) {
    const struct {
        const char* axis;
        const char* way;
        Lines wire;
    } cases[] = {
        {"iris", "open", {"MLI=1", "MLI=0"}},  {"iris", "close", {"MLI=2", "MLI=0"}},
        {"zoom", "wide", {"MLZ=1", "MLZ=0"}},  {"zoom", "tele", {"MLZ=2", "MLZ=0"}},
        {"focus", "near", {"MLF=1", "MLF=0"}}, {"focus", "far", {"MLF=2", "MLF=0"}},
    };
    for (const auto& c : cases) {
        const LensMove* move = FindLensMove(c.axis, c.way);
        ASSERT_NE(move, nullptr) << c.axis << " " << c.way;
        const Lines sent = SentBy([&] {
            const auto result = core.runner.Run(
                {"lens", true}, [&](Operation& op) { return MoveLensFor(op, *move, 30); });
            EXPECT_TRUE(result.ok());
        });
        EXPECT_EQ(sent, c.wire);
    }
    EXPECT_EQ(FindLensMove("zoom", "near"), nullptr);
}

TEST_F(CameraInfoTest, TerminalLinesGoAsTypedAndStayInStep) {
    ExchangeResult result;
    Lines sent = SentBy([&] { result = SendTerminalLine(core.exchange, "PE?", kShort); });
    EXPECT_EQ(sent, (Lines{"PE?"}));
    EXPECT_EQ(result.reply, "PE=" + camera->Value("PE"));
    EXPECT_EQ(core.logs.terminal.At(1).substr(11), "Tx: PE?");
    EXPECT_EQ(core.logs.terminal.At(0).substr(11), "Rx: " + result.reply);

    // An empty line is CR LF alone, and no answer is waited for.
    sent = SentBy([&] { result = SendTerminalLine(core.exchange, "", kShort); });
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(core.logs.terminal.At(0).substr(11), "Tx: ");
    EXPECT_EQ(core.exchange.OwedReplies(), 0u);
    ASSERT_TRUE(SendTerminalLine(core.exchange, "PE=20", kShort));
    EXPECT_EQ(core.logs.terminal.At(0).substr(11), "Rx: COMPLETE");
    EXPECT_EQ(camera->ReceivedLines(), (Lines{"", "PE=20"}));

    sent = SentBy([&] { result = SendTerminalLine(core.exchange, "PE?\r\nPE=1", kShort); });
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(result.status, ExchangeStatus::Refused);

    // An answer that comes late is logged but does not answer the next exchange.
    camera->SetFault({sim::Fault::Delay, kShort * 2, 1});
    result = SendTerminalLine(core.exchange, "VN?", kShort / 3);
    EXPECT_EQ(result.status, ExchangeStatus::TimedOut);
    EXPECT_EQ(core.exchange.QueryString(Cmd("ID"), kShort * 4).value, "VK00000001");
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vk
