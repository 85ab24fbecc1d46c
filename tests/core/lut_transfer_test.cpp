// LUT transfers end to end: the core's runner and exchange over a pseudo-terminal to the
// simulated camera, which steps through its tables one line at a time.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/core_context.h"
#include "core/lut/lut_transfer.h"
#include "core/lut/standard_curve.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"

namespace vk::lut {
namespace {

// Records like the others; runs a hook at every progress text and presses Cancel on demand.
struct ScriptedUi : test::RecordingUserInterface {
    std::function<void(const std::string&)> onProgress;
    bool cancel = false;

    void ShowProgress(const std::string& text) override {
        RecordingUserInterface::ShowProgress(text);
        if (onProgress) onProgress(text);
    }
    bool CancelRequested() override { return cancel; }
};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class LutTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(camera.Start(&error)) << error;
        core.port.PinPort(camera.DevicePath());
        ASSERT_TRUE(core.channel.OpenChannel(ChannelMode::ComPort, 115200, 0));
    }

    ExchangeResult Run(const std::function<ExchangeResult(LutTransfer&)>& body) {
        camera.ClearReceivedLines();
        return core.runner.Run(TransferInfo("LUT"), [&](Operation& operation) {
            LutTransfer transfer(operation);
            const ExchangeResult result = body(transfer);
            stoppedAt = {transfer.Channel(), transfer.Entry()};
            return result;
        });
    }

    // The camera's table as it holds it, read past the protocol.
    Table CameraTable(int channel) {
        static constexpr const char* kIndexed[] = {"LUTR", "LUTG", "LUTB"};
        Table table{};
        for (int i = 0; i < kEntries; ++i) {
            const std::string value =
                camera.Value(std::string(kIndexed[channel]) + "?" + std::to_string(i));
            table[std::size_t(i)] = std::stoi(value);
        }
        return table;
    }

    // The lines of the LUT commands the camera received, in order.
    std::vector<std::string> LutLines() {
        std::vector<std::string> lines;
        for (const std::string& line : camera.ReceivedLines()) {
            if (line.starts_with("LUTS")) lines.push_back(line);
        }
        return lines;
    }

    sim::SimulatedCamera camera;
    ScriptedUi ui;
    MemorySettingsBackend backend;
    CoreContext core{ui, backend};
    std::pair<int, int> stoppedAt{};
};

TEST_F(LutTransferTest, WhatIsWrittenIsReadBackOnEachChannel) {
    struct Case {
        int channel;
        double gamma;
        const char* set;
        const char* readText;
    };
    for (const Case& c : {Case{0, 0.45, "LUTSR=", "Now, reading camera gamma data  [R]. "},
                          Case{1, 1.8, "LUTSG=", "Now, reading camera gamma data  [G]. "},
                          Case{2, 2.2, "LUTSB=", "Now, reading camera gamma data  [B]. "}}) {
        SCOPED_TRACE(c.channel);
        const Table table = *GammaTable(c.gamma);
        ASSERT_TRUE(Run([&](LutTransfer& t) { return t.WriteTable(c.channel, table); }));
        EXPECT_EQ(CameraTable(c.channel), table);
        const auto lines = camera.ReceivedLines();
        ASSERT_EQ(lines.size(), 257u);
        EXPECT_EQ(lines.front(), "MD?");  // starts the camera's stepping at entry 0
        EXPECT_EQ(lines[1], c.set + std::to_string(table[0]));
        EXPECT_EQ(lines.back(), c.set + std::to_string(table[255]));
        EXPECT_EQ(ui.progressTexts.back(), "Now, writing camera gamma data.  (256 / 256)");

        Table read{};
        ASSERT_TRUE(Run([&](LutTransfer& t) { return t.ReadTable(c.channel, read); }));
        EXPECT_EQ(read, table);
        EXPECT_EQ(ui.progressTexts.back(), std::string(c.readText) + "  (256 / 256)");
        EXPECT_EQ(ui.progress.back(), 99);
    }
    // The other channels kept the camera's own tables.
    EXPECT_EQ(CameraTable(0), *GammaTable(0.45));
}

TEST_F(LutTransferTest, AllOtherTablesGetThe768SetsRedGreenBlueInTurn) {
    const Table table = *GammaTable(0.6);
    ASSERT_TRUE(Run([&](LutTransfer& t) { return t.WriteToAllChannels(table); }));
    std::vector<std::string> expected;
    for (const char* mnemonic : {"LUTSR=", "LUTSG=", "LUTSB="}) {
        for (std::int32_t value : table)
            expected.push_back(mnemonic + std::to_string(value));
    }
    EXPECT_EQ(LutLines(), expected);
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_EQ(CameraTable(channel), table) << channel;

    // And back: each channel under its own query, red first.
    Tables read{};
    ASSERT_TRUE(Run([&](LutTransfer& t) { return t.ReadAllTables(read); }));
    EXPECT_EQ(read, (Tables{table, table, table}));
    const auto lines = LutLines();
    ASSERT_EQ(lines.size(), 768u);
    EXPECT_EQ(lines[0], "LUTSR?");
    EXPECT_EQ(lines[256], "LUTSG?");
    EXPECT_EQ(lines[767], "LUTSB?");
}

TEST_F(LutTransferTest, EachTableOfAFileGoesUnderItsOwnChannel) {
    const Tables tables = {*GammaTable(0.45), LinearTable(), *GammaTable(2.2)};
    ASSERT_TRUE(Run([&](LutTransfer& t) { return t.WriteAllTables(tables); }));
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_EQ(CameraTable(channel), tables[std::size_t(channel)]) << channel;
}

TEST_F(LutTransferTest, RepliesOutsideTheTableRangeAreNamedAndAnotherCommandsReplyRefused) {
    camera.SetValue("LUTR?7", "5000");
    camera.SetValue("LUTR?9", "-3");
    Table expected = CameraTable(0);
    expected[7] = 4095;
    expected[9] = 0;
    Table read{};
    ExchangeResult result = Run([&](LutTransfer& t) { return t.ReadTable(0, read); });
    EXPECT_EQ(result.status, ExchangeStatus::Refused);
    EXPECT_EQ(result.message,
              "2 values the camera answered are beyond 0..4095 (taken as the nearest limit): "
              "LUTSR entry 7 = 5000; LUTSR entry 9 = -3");
    EXPECT_EQ(read, expected);  // the whole table was read

    // The model query, then five entries answered as asked; the sixth names another command.
    camera.SetFault({sim::Fault::WrongMnemonic, 0, 1, {}, 6});
    result = Run([&](LutTransfer& t) { return t.ReadTable(1, read); });
    EXPECT_EQ(result.status, ExchangeStatus::Refused);
    EXPECT_TRUE(result.message.starts_with("LUTSG? entry 5 was answered by \"")) << result.message;
}

TEST_F(LutTransferTest, CancelAfter100EntriesKeepsThemAndTheNextTransferStartsAtEntryZero) {
    const Table before = CameraTable(0);
    const Table gamma = *GammaTable(0.45);
    ui.onProgress = [this](const std::string& text) {
        if (EndsWith(text, "(100 / 256)")) ui.cancel = true;
    };

    Table read;
    read.fill(7);
    ExchangeResult result = Run([&](LutTransfer& t) { return t.ReadTable(0, read); });
    EXPECT_EQ(result.status, ExchangeStatus::Cancelled);
    EXPECT_EQ(LutLines().size(), 100u);
    for (int i = 0; i < kEntries; ++i)
        ASSERT_EQ(read[std::size_t(i)], i < 100 ? before[std::size_t(i)] : 7) << i;

    ui.cancel = false;
    result = Run([&](LutTransfer& t) { return t.WriteTable(0, gamma); });
    EXPECT_EQ(result.status, ExchangeStatus::Cancelled);
    EXPECT_EQ(LutLines().size(), 100u);
    for (int i = 0; i < kEntries; ++i)
        ASSERT_EQ(CameraTable(0)[std::size_t(i)], (i < 100 ? gamma : before)[std::size_t(i)]) << i;

    // Without the camera starting again, these would go on at entry 100.
    ui.cancel = false;
    ui.onProgress = nullptr;
    ASSERT_TRUE(Run([&](LutTransfer& t) { return t.WriteTable(0, gamma); }));
    EXPECT_EQ(CameraTable(0), gamma);
    read.fill(7);
    ASSERT_TRUE(Run([&](LutTransfer& t) { return t.ReadTable(0, read); }));
    EXPECT_EQ(read, gamma);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LutTransferTest, ARefusedSetStopsTheWriteAtThatEntry) {
    const Table before = CameraTable(1);
    const Table gamma = *GammaTable(2.2);
    ui.onProgress = [this](const std::string& text) {
        if (EndsWith(text, "(50 / 256)")) camera.SetFault({sim::Fault::ErrorOnSet, 0, 1});
    };
    const ExchangeResult result = Run([&](LutTransfer& t) { return t.WriteTable(1, gamma); });
    EXPECT_EQ(result.status, ExchangeStatus::Refused);
    EXPECT_EQ(stoppedAt, std::make_pair(1, 50));
    EXPECT_EQ(LutLines().size(), 51u);
    ASSERT_EQ(ui.messages.size(), 1u);  // reported once, as it happened
    EXPECT_EQ(ui.messages[0].caption, kCommunicationErrorCaption);
    const Table now = CameraTable(1);
    for (int i = 0; i < kEntries; ++i) {
        if (i == 50) continue;  // refused
        ASSERT_EQ(now[std::size_t(i)], (i < 50 ? gamma : before)[std::size_t(i)]) << i;
    }
}

TEST_F(LutTransferTest, AChannelOutsideRedGreenBlueSendsNothing) {
    Table table{};
    EXPECT_FALSE(Run([&](LutTransfer& t) { return t.ReadTable(3, table); }));
    EXPECT_FALSE(Run([&](LutTransfer& t) { return t.WriteTable(-1, table); }));
    EXPECT_TRUE(camera.ReceivedLines().empty());
}

}  // namespace
}  // namespace vk::lut
