#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/comm/byte_ring.h"

namespace vk {

// A PC serial port: fixed line settings, a reader thread that moves received bytes into
// the ring, and one lock that covers whole writes and whole drains. The platform part
// lives in rs232c_port_posix.cpp / rs232c_port_win32.cpp.
class Rs232cPort {
public:
    Rs232cPort();
    ~Rs232cPort();
    Rs232cPort(const Rs232cPort&) = delete;
    Rs232cPort& operator=(const Rs232cPort&) = delete;

    // stopBits 0 means one stop bit. The port is this program's alone while open: another
    // program that has it open makes the open fail. Input that waited is dropped.
    // LastError() says why an open failed.
    bool Open(const std::string& portName, std::uint32_t baudRate, int byteSize = 8,
              int stopBits = 0, int xonXoff = 0, int parityCheck = 0);
    void Close();
    bool IsOpen() const;
    const std::string& LastError() const { return lastError_; }
    // True once the device has gone away (hang-up, unplugged); reopening clears it.
    bool IsBroken() const { return broken_.load(); }

    // Sends every byte or reports failure (no port, nothing to send, device gone).
    bool Write(const char* bytes, int length);
    // Takes waiting bytes from the ring without waiting.
    int Read(char* buffer, int maxCount);
    int Available() const;
    void ResetBuffer();
    // Blocks until a byte waits, the deadline passes or the port closes or breaks.
    bool WaitForData(std::chrono::steady_clock::time_point deadline);
    // Called on the reader thread after bytes arrived (and once when the port breaks).
    void SetDataListener(std::function<void()> listener);

    // The selectable port names, after the pinned ones: on Windows the system's serial-port
    // list (COM1..COM16 when it has none), elsewhere the serial devices that exist.
    std::vector<std::string> PortNames() const;
#ifdef _WIN32
    // The pinned names, then the system's (COM1..COM16 when none) in the order of their
    // numbers, each once.
    static std::vector<std::string> ListComPorts(const std::vector<std::string>& pinned,
                                                 std::vector<std::string> system);
#endif
    // Puts a device (the simulator's, one named on the command line) first in the list.
    void PinPort(const std::string& name);

    // The device path that Open uses for a port name.
    static std::string DevicePath(const std::string& portName);

private:
    struct Platform;

    // Why OpenDevice failed: the call, the system's words for it, whether another program
    // has the port, and whether the user lacks the rights to the device.
    struct OpenFailure {
        std::string step;
        std::string reason;
        bool inUse = false;
        bool noPermission = false;
    };

    // The platform's part: the device, the reader's wait, the writes.
    bool OpenDevice(const std::string& portName, std::uint32_t baudRate, int byteSize, int stopBits,
                    int xonXoff, int parityCheck, OpenFailure& failure);
    static std::string OpenFailureText(const std::string& portName, const OpenFailure& failure);
    void ReaderLoop();
    void WakeReader();     // ends the reader's pending wait
    void ReleaseDevice();  // closes what OpenDevice opened
    bool WriteDevice(const char* bytes, int length);

    void StartReader();
    void NotifyData();

    std::unique_ptr<Platform> platform_;
    std::mutex lock_;  // whole writes and whole drains
    ByteRing ring_;
    std::thread reader_;
    std::atomic<bool> running_{false};
    std::atomic<bool> broken_{false};
    std::vector<std::string> pinned_;
    std::string lastError_;
    std::mutex listenerLock_;
    std::function<void()> listener_;
};

}  // namespace vk
