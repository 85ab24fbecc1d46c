#include "core/comm/rs232c_port.h"

#include <algorithm>

namespace vk {

bool Rs232cPort::Open(const std::string& portName, std::uint32_t baudRate, int byteSize,
                      int stopBits, int xonXoff, int parityCheck) {
    if (IsOpen()) Close();
    OpenFailure failure;
    lastError_.clear();
    if (!OpenDevice(portName, baudRate, byteSize, stopBits, xonXoff, parityCheck, failure)) {
        Close();
        lastError_ = OpenFailureText(portName, failure);
        return false;
    }
    StartReader();
    return true;
}

std::string Rs232cPort::OpenFailureText(const std::string& portName, const OpenFailure& failure) {
    // The first two lines are the tool's own; the system's reason follows.
    std::string text = "Failed to initialize " + portName + " port!\n";
    if (failure.inUse) return text + "The port is in use by another program.";
    text += "Error in " + failure.step;
    if (!failure.reason.empty()) text += "\n" + failure.reason;
    if (failure.noPermission) {
        text +=
            "\nSerial devices belong to the dialout group: add your user to it "
            "(sudo usermod -aG dialout $USER) and log in again.";
    }
    return text;
}

void Rs232cPort::StartReader() {
    broken_ = false;
    running_ = true;
    ring_.Reset();
    ring_.Reopen();
    reader_ = std::thread([this] { ReaderLoop(); });
}

void Rs232cPort::Close() {
    running_ = false;
    if (IsOpen()) WakeReader();
    ring_.Shutdown();  // a reader waiting for room in the ring
    if (reader_.joinable()) reader_.join();
    ReleaseDevice();
    ring_.Reset();
}

int Rs232cPort::Read(char* buffer, int maxCount) {
    if (!IsOpen() || maxCount < 1) return 0;
    return static_cast<int>(ring_.Read(buffer, static_cast<std::size_t>(maxCount)));
}

int Rs232cPort::Available() const {
    return static_cast<int>(ring_.Available());
}

void Rs232cPort::ResetBuffer() {
    ring_.Reset();
}

bool Rs232cPort::WaitForData(std::chrono::steady_clock::time_point deadline) {
    if (!IsOpen()) return false;
    return ring_.WaitForData(deadline);
}

void Rs232cPort::SetDataListener(std::function<void()> listener) {
    std::lock_guard lock(listenerLock_);
    listener_ = std::move(listener);
}

void Rs232cPort::NotifyData() {
    std::lock_guard lock(listenerLock_);
    if (listener_) listener_();
}

bool Rs232cPort::Write(const char* bytes, int length) {
    if (!IsOpen() || length < 1 || IsBroken()) return false;
    std::lock_guard lock(lock_);
    return WriteDevice(bytes, length);
}

void Rs232cPort::PinPort(const std::string& name) {
    if (std::find(pinned_.begin(), pinned_.end(), name) == pinned_.end()) {
        pinned_.insert(pinned_.begin(), name);
    }
}

}  // namespace vk
