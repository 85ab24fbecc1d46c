#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/core_context.h"
#include "core/genicam/gencp.h"
#include "core/genicam/register_port.h"

namespace vk::bench {

// The simulated camera as a separate process, so its pacing is not counted as ours.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess();
    const std::string& DevicePath() const { return path_; }

private:
    pid_t pid_ = -1;
    std::string path_;
};

// The tool's core connected to a simulated camera process at an emulated line speed.
class BenchCamera {
public:
    explicit BenchCamera(std::uint32_t baud, const std::vector<std::string>& simArgs = {});
    // Opens the channel and checks the model; false when the camera does not answer.
    bool Connect();
    // Bytes that crossed the line so far, both ways, from the message log.
    std::size_t WireBytes() const;
    double LineLimitSeconds() const;

    SimProcess sim;
    SilentUserInterface ui;
    MemorySettingsBackend backend;
    CoreContext core{ui, backend};

private:
    std::uint32_t baud_;
};

// Counts the bytes each register access puts on the line: the request, the
// acknowledgement's header and its data.
class CountingPort : public RegisterPort {
public:
    explicit CountingPort(RegisterPort& port) : port_(port) {}
    RegisterResult Read(std::uint64_t address, std::uint32_t length) override {
        RegisterResult r = port_.Read(address, length);
        wireBytes += kReadRequestBytes + gencp::kHeaderSize + r.bytes.size();
        return r;
    }
    RegisterResult Write(std::uint64_t address, const std::vector<std::uint8_t>& bytes) override {
        RegisterResult r = port_.Write(address, bytes);
        wireBytes += kHeaderSize8 + bytes.size() + gencp::kHeaderSize + 4;
        return r;
    }
    std::size_t wireBytes = 0;

private:
    static constexpr std::size_t kReadRequestBytes = 28;
    static constexpr std::size_t kHeaderSize8 = gencp::kHeaderSize + 8;
    RegisterPort& port_;
};

// Wall time and this process's CPU time over a stretch of work.
class Stopwatch {
public:
    Stopwatch();
    double WallSeconds() const;
    double CpuSeconds() const;

private:
    std::chrono::steady_clock::time_point wall_;
    double cpu_;
};

// Seconds that `bytes` need on an 8N1 line at `baud`.
double LineSeconds(std::size_t bytes, std::uint32_t baud);

// "NAME: time_s=… limit_s=… ratio=… cpu_pct=…"
void Report(const std::string& name, const Stopwatch& watch, double limitSeconds);

}  // namespace vk::bench
