#pragma once

#include <QCoreApplication>
#include <memory>
#include <string>
#include <vector>

#include "core/core_context.h"
#include "gui/app/window_list.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"

namespace vk::gui::test {

// Records like the test port and also turns the event loop when the core lets the windows
// breathe, as the desktop tool does: a release can then arrive while a press still waits.
struct PumpingUiPort : vk::test::RecordingUserInterface {
    void PumpEvents() override {
        RecordingUserInterface::PumpEvents();
        QCoreApplication::processEvents();
    }
};

// A core over a simulated camera on its first COM port, for one side window at a time.
struct IdentityRig {
    PumpingUiPort ui;
    MemorySettingsBackend settings;
    sim::SimulatedCamera camera;
    std::unique_ptr<CoreContext> core;
    WindowList windows;

    IdentityRig() {
        std::string error;
        if (!camera.Start(&error)) qFatal("simulated camera: %s", error.c_str());
        core = std::make_unique<CoreContext>(ui, settings);
        core->port.PinPort(camera.DevicePath());
        core->channel.OpenChannel(ChannelMode::ComPort, 115200, 0);
    }

    std::vector<std::string> Sent() const { return camera.ReceivedLines(); }
    void Forget() { camera.ClearReceivedLines(); }
    std::vector<std::string> Messages() const { return ui.MessageTexts(); }
};

}  // namespace vk::gui::test
