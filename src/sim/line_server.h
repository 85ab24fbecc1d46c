#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "sim/line_clock.h"
#include "sim/line_splitter.h"
#include "sim/packet_framer.h"
#include "sim/pty_device.h"

namespace vk::sim {

// What the camera puts on the line in answer to something.
struct Outgoing {
    std::string bytes;
    std::chrono::milliseconds delay{0};  // extra wait before the first byte
    bool hangUp = false;                 // close the line instead of answering
    std::string later;                   // sent laterDelay after the bytes
    std::chrono::milliseconds laterDelay{0};
};

struct ReceivedLine {
    std::string text;           // without CR LF
    bool tooLong = false;       // the line was cut at the splitter's limit
    Clock::time_point arrival;  // when its LF crossed the emulated line
};

// Serves a pseudo-terminal on its own thread: splits what arrives into lines, hands each to
// the line handler and sends the answers paced as the emulated line speed allows.
class LineServer {
public:
    struct Hooks {
        std::function<Outgoing(const ReceivedLine&)> onLine;
        // Called on every pass of the loop, with whether the line is quiet (nothing being
        // sent or received). May return something to send and when it wants to run again.
        std::function<Outgoing(Clock::time_point now, bool lineQuiet,
                               std::optional<Clock::time_point>* next)>
            onTimer;
        // A GenCP packet received between lines; not set: packets are dropped.
        std::function<Outgoing(const std::string& packet)> onPacket;
    };

    LineServer(PtyDevice device, std::uint32_t baud, Hooks hooks);
    ~LineServer();
    LineServer(const LineServer&) = delete;
    LineServer& operator=(const LineServer&) = delete;

    bool Start(std::string* error);
    void Stop();

private:
    struct Pending {
        std::string bytes;
        std::size_t sent = 0;
        Clock::time_point start;
    };

    void Run();
    void ReadInput(Clock::time_point now);
    void Send(const Outgoing& out, Clock::time_point ready);
    // Writes the bytes that are due; returns when the next ones are due.
    std::optional<Clock::time_point> WriteDue(Clock::time_point now);
    void HangUp();

    PtyDevice device_;
    Hooks hooks_;
    LineClock rx_;
    LineClock tx_;
    LineSplitter splitter_;
    PacketFramer framer_;
    std::deque<Pending> output_;
    bool waitWritable_ = false;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace vk::sim
