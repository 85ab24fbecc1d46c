#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/genicam/gencp.h"
#include "sim/packet_framer.h"
#include "sim/simulated_camera.h"
#include "support/pty_peer.h"

namespace vk::sim {
namespace {

using gencp::Bytes;
using test::PtyPeer;

constexpr std::uint32_t kExposureTime = 0x20200;

std::string Text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class GenCpLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(camera.Start(&error)) << error;
        client = std::make_unique<PtyPeer>(camera.DevicePath());
        ASSERT_TRUE(client->IsOpen());
    }

    // Sends a packet and reads its acknowledgement: the header, then the length it gives.
    gencp::Ack Exchange(const Bytes& request, const gencp::AckExpectation& expect,
                        int patienceMs = 2000) {
        EXPECT_TRUE(client->Send(Text(request)));
        std::string got = client->Receive(gencp::kHeaderSize, patienceMs);
        const Bytes header(got.begin(), got.end());
        const gencp::AckCheck check = gencp::CheckAckHeader(header, expect);
        if (check.state == gencp::AckState::Invalid) return gencp::Ack{check, {}};
        got += client->Receive(check.dataLength);
        return gencp::ParseAck(Bytes(got.begin(), got.end()), expect);
    }

    SimulatedCamera camera;
    std::unique_ptr<PtyPeer> client;
    gencp::RequestCounter ids;
};

TEST_F(GenCpLineTest, PacketsAndTextLinesShareTheLine) {
    camera.SetValue("PE", "4660");
    const std::uint16_t id = ids.Take();
    const gencp::Ack ack = Exchange(gencp::BuildReadRequest(id, kExposureTime, 4),
                                    gencp::ReadAckExpectation(id, 4, 4));
    ASSERT_EQ(ack.check.state, gencp::AckState::Done) << ack.check.reason;
    EXPECT_EQ(ack.check.header.command, gencp::kReadMemAck);
    EXPECT_EQ(ack.data, (Bytes{0x00, 0x00, 0x12, 0x34}));

    EXPECT_EQ(client->Ask("PE?"), "PE=4660");
    EXPECT_EQ(camera.ReceivedLines(), std::vector<std::string>{"PE?"});

    // A packet right behind a line in one write is still told apart.
    const std::uint16_t next = ids.Take();
    const Bytes read = gencp::BuildReadRequest(next, kExposureTime, 4);
    ASSERT_TRUE(client->Send("MD?\r\n" + Text(read)));
    EXPECT_EQ(client->ReceiveLine(), "MD=VK-4100C-PMCL\r\n");
    const std::string raw = client->Receive(gencp::kHeaderSize + 4);
    EXPECT_EQ(
        gencp::ParseAck(Bytes(raw.begin(), raw.end()), gencp::ReadAckExpectation(next, 4, 4)).data,
        (Bytes{0x00, 0x00, 0x12, 0x34}));
}

TEST_F(GenCpLineTest, AnUnfinishedPacketDoesNotSwallowLaterLines) {
    const Bytes read = gencp::BuildReadRequest(ids.Take(), kExposureTime, 4);
    ASSERT_TRUE(client->Send(Text(Bytes(read.begin(), read.begin() + 10))));
    std::this_thread::sleep_for(PacketFramer::kStaleAfter + std::chrono::milliseconds(100));
    EXPECT_EQ(client->Ask("PE?"), "PE=10");
}

}  // namespace
}  // namespace vk::sim
