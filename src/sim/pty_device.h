#pragma once

#include <string>

namespace vk::sim {

// A pseudo-terminal pair: the camera talks on the master, the tool opens the slave path.
// A slave descriptor stays open here, so the master never reads a hang-up while the tool
// closes and reopens its end.
class PtyDevice {
public:
    PtyDevice() = default;
    ~PtyDevice() { Close(); }
    PtyDevice(PtyDevice&& other) noexcept;
    PtyDevice& operator=(PtyDevice&& other) noexcept;
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    // Opens a new pair; the master is non-blocking and the slave raw. False with a reason.
    bool Open(std::string* error);
    // Closes both ends: the tool's end sees the line hang up.
    void Close();

    bool IsOpen() const { return master_ >= 0; }
    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// A symbolic link to a device that is removed again when this object ends, if it still
// points where it was made to point.
class DeviceLink {
public:
    DeviceLink() = default;
    ~DeviceLink() { Remove(); }
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Replaces an existing symbolic link at `linkPath`; refuses to replace anything else.
    bool Make(const std::string& linkPath, const std::string& target, std::string* error);
    void Remove();

private:
    std::string link_;
    std::string target_;
};

}  // namespace vk::sim
