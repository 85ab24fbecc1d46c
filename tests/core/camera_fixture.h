#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/core_context.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"

namespace vk::test {

// A fresh core talking to a simulated camera over a real pseudo-terminal.
class CameraFixture : public ::testing::Test {
protected:
    static constexpr int kShort = 300;  // ms; the simulator answers within a few

    void Connect(const sim::SimOptions& options = {}) {
        camera = std::make_unique<sim::SimulatedCamera>(options);
        std::string error;
        ASSERT_TRUE(camera->Start(&error)) << error;
        core.port.PinPort(camera->DevicePath());
        ASSERT_TRUE(core.channel.OpenChannel(ChannelMode::ComPort, 115200, 0));
    }

    static sim::SimOptions Model(const std::string& model) {
        sim::SimOptions options;
        options.model = model;
        return options;
    }

    const ControlTable& Table() { return core.exchange.Controls(); }
    std::optional<std::int32_t> CameraValue(ControlId id) {
        return core.exchange.Values().CameraValue(id);
    }
    // The camera holds the value and the tool has read it, as after a full read.
    void CameraHolds(const std::string& mnemonic, std::int32_t value) {
        camera->SetValue(mnemonic, std::to_string(value));
        ASSERT_TRUE(core.exchange.QueryInt(core.exchange.FindCommand(mnemonic), 1000));
    }
    const ControlEntry& RowOf(ControlId id) { return Table().Row(Table().RowOf(id)); }

    std::unique_ptr<sim::SimulatedCamera> camera;
    RecordingUserInterface ui;
    MemorySettingsBackend backend;
    CoreContext core{ui, backend};
};

}  // namespace vk::test
