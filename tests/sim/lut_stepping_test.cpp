// The simulated camera's LUTs as the tool's transfers use them: one entry per line.
#include <gtest/gtest.h>

#include <string>

#include "core/lut/standard_curve.h"
#include "sim/camera_model.h"

namespace vk::sim {
namespace {

std::string Ask(CameraModel& camera, const std::string& line) {
    return camera.Handle(line).text;
}

void WriteRun(CameraModel& camera, const std::string& mnemonic, const lut::Table& table) {
    for (const std::int32_t value : table)
        ASSERT_EQ(Ask(camera, mnemonic + "=" + std::to_string(value)), "COMPLETE");
}

lut::Table ReadRun(CameraModel& camera, const std::string& mnemonic, int count = 256) {
    lut::Table table{};
    for (int i = 0; i < count; ++i) {
        const std::string reply = Ask(camera, mnemonic + "?");
        table[std::size_t(i)] = std::stoi(reply.substr(mnemonic.size() + 1));
    }
    return table;
}

TEST(SimLutStepping, OneTableWrittenUnderRedGreenAndBlueInTurnFillsAllThree) {
    CameraModel camera;
    const lut::Table gamma = *lut::GammaTable(0.45);
    for (const auto& channel : lut::kChannels)
        WriteRun(camera, std::string(channel.mnemonic), gamma);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(camera.LutTable(c), gamma) << c;
        EXPECT_EQ(ReadRun(camera, std::string(lut::kChannels[std::size_t(c)].mnemonic)), gamma);
    }
}

}  // namespace
}  // namespace vk::sim
