#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "core/comm/byte_ring.h"

namespace vk {
namespace {

std::string Pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(i * 7 + 3);
    return s;
}

TEST(ByteRing, WrapsAroundKeepingOrder) {
    ByteRing ring;
    const std::string a = Pattern(1000);
    ASSERT_EQ(ring.Write(a.data(), a.size()), 1000u);
    std::string got(900, '\0');
    ASSERT_EQ(ring.Read(got.data(), got.size()), 900u);
    EXPECT_EQ(got, a.substr(0, 900));
    const std::string b = Pattern(500);
    ASSERT_EQ(ring.Write(b.data(), b.size()), 500u);  // crosses the end of the storage
    std::string rest(1000, '\0');
    ASSERT_EQ(ring.Read(rest.data(), rest.size()), 600u);
    EXPECT_EQ(rest.substr(0, 600), a.substr(900) + b);
    EXPECT_EQ(ring.Available(), 0u);
}

TEST(ByteRing, AFullRingIsNotEmptyAndRefusesMore) {
    ByteRing ring;
    const std::string a = Pattern(1500);
    EXPECT_EQ(ring.Write(a.data(), a.size()), ByteRing::kCapacity);
    EXPECT_EQ(ring.Available(), ByteRing::kCapacity);
    EXPECT_EQ(ring.Free(), 0u);
    EXPECT_EQ(ring.Write("x", 1), 0u);
    std::string got(2000, '\0');
    ASSERT_EQ(ring.Read(got.data(), got.size()), ByteRing::kCapacity);
    EXPECT_EQ(got.substr(0, ByteRing::kCapacity), a.substr(0, ByteRing::kCapacity));
}

TEST(ByteRing, ProducerWaitsForRoomSoNothingIsLost) {
    ByteRing ring;
    const std::string data = Pattern(5000);
    std::thread producer([&] {
        std::size_t sent = 0;
        while (sent < data.size() && ring.WaitForSpace()) {
            sent += ring.Write(data.data() + sent, data.size() - sent);
        }
    });
    std::string got;
    char buf[100];
    while (got.size() < data.size()) {
        if (!ring.WaitForData(ByteRing::Clock::now() + std::chrono::seconds(5))) break;
        got.append(buf, ring.Read(buf, sizeof buf));
    }
    producer.join();
    EXPECT_EQ(got, data);
}

TEST(ByteRing, WaitsEndAtDeadlineOrShutdown) {
    ByteRing ring;
    EXPECT_FALSE(ring.WaitForData(ByteRing::Clock::now() + std::chrono::milliseconds(5)));
    std::thread closer([&] { ring.Shutdown(); });
    EXPECT_FALSE(ring.WaitForData(ByteRing::Clock::now() + std::chrono::seconds(30)));
    closer.join();
    ring.Reopen();
    ring.Write("ab", 2);
    EXPECT_TRUE(ring.WaitForData(ByteRing::Clock::now()));
    ring.Reset();
    EXPECT_EQ(ring.Available(), 0u);
}

}  // namespace
}  // namespace vk
