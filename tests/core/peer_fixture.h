#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "core/core_context.h"
#include "support/pty_peer.h"
#include "support/recording_user_interface.h"

namespace vk::test {

// A fresh core on one end of a pseudo-terminal whose other end the test plays byte for byte.
class PeerFixture : public ::testing::Test {
protected:
    bool OpenPeer(std::uint32_t baud = 9600) {
        core.port.PinPort(peer.Path());
        return core.channel.OpenChannel(ChannelMode::ComPort, baud, 0);
    }

    // Lets the port's reader run until `done` holds or five seconds pass; with `poll` the
    // idle exchange takes the lines that came, as the idle reader does.
    template <class Done>
    bool WaitOnPort(Done done, bool poll = false) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            core.port.WaitForData(deadline);
            if (poll) core.exchange.PollUnsolicited();
        }
        return true;
    }

    RecordingUserInterface ui;
    MemorySettingsBackend backend;
    CoreContext core{ui, backend};
    PtyPeer peer;
};

}  // namespace vk::test
