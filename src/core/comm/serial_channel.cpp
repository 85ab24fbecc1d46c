#include "comm/serial_channel.h"

#include <algorithm>
#include <thread>

#include "comm/cl_serial_library.h"
#include "comm/rs232c_port.h"
#include "persist/tool_settings.h"

namespace vk {
namespace {

constexpr int kClWriteTimeoutMs = 500;
// How long the bytes that are already there may take to collect, past the caller's wait.
constexpr auto kLookMs = std::chrono::milliseconds(20);
// A device that streams must not keep an open going for ever.
constexpr int kMaxStaleBytes = 4096;
constexpr auto kComMode = static_cast<std::uint32_t>(ChannelMode::ComPort);

bool IsLibraryMode(std::uint32_t mode) {
    return mode >= 1 && mode <= 3;
}

SettingIndex LibraryIndexSetting(std::uint32_t mode) {
    return static_cast<SettingIndex>(static_cast<int>(SettingIndex::ClSerial2000Index) +
                                     static_cast<int>(mode) - 1);
}

}  // namespace

SerialChannel::SerialChannel(ToolSettings& settings, Rs232cPort& port, Libraries libraries)
    : settings_(settings), port_(port), libraries_(libraries) {
    mode_ = settings_.Number(SettingIndex::CommunicationMode);
    // After a run that did not reach its normal end (a Camera Link library may have taken
    // it down), start on the COM port; the stored indices and rate stay.
    if (settings_.PreviousShutdownStatus() != 1) mode_ = kComMode;
    baudRate_ = settings_.Number(SettingIndex::Baudrate);
    comPortIndex_ = settings_.Number(SettingIndex::ComPortNo);
    for (std::uint32_t m = 1; m <= 3; ++m) {
        libraryPortIndex_[m - 1] = settings_.Number(LibraryIndexSetting(m));
    }
}

SerialChannel::~SerialChannel() {
    SaveChannelSettings();
}

void SerialChannel::SaveChannelSettings() {
    settings_.SetNumber(SettingIndex::CommunicationMode, mode_);
    settings_.SetNumber(SettingIndex::Baudrate, baudRate_);
    settings_.SetNumber(SettingIndex::ComPortNo, comPortIndex_);
    for (std::uint32_t m = 1; m <= 3; ++m) {
        settings_.SetNumber(LibraryIndexSetting(m), libraryPortIndex_[m - 1]);
    }
}

ClSerialLibrary* SerialChannel::Library(std::uint32_t mode) const {
    return IsLibraryMode(mode) ? libraries_[mode - 1] : nullptr;
}

bool SerialChannel::OpenChannel(std::uint32_t mode, std::uint32_t baudRate,
                                std::uint32_t portIndex) {
    CloseChannel();
    mode_ = mode;
    baudRate_ = baudRate;
    lastOpenError_.clear();
    if (mode == kComMode) {
        comPortIndex_ = portIndex;
        if (port_.Open(ComPortName(portIndex), baudRate, 8, 0, 0, 0)) return true;
        lastOpenError_ = port_.LastError();
        return false;
    }
    if (!IsLibraryMode(mode)) return false;
    libraryPortIndex_[mode - 1] = portIndex;
    ClSerialLibrary* lib = Library(mode);
    if (!lib || !lib->OpenPort(static_cast<int>(portIndex))) return false;
    if (lib->SetBaudRate(baudRate)) {
        // What the library kept from before is no answer to anything this tool will ask.
        char stale = 0;
        for (int i = 0; i < kMaxStaleBytes && lib->Read(&stale, 1, 0) > 0; ++i) {
        }
        return true;
    }
    // A refused rate fails the open: the port must not stay usable behind that report.
    lastOpenError_ = lib->LastError();
    lib->ClosePort();
    return false;
}

bool SerialChannel::SelectMode(std::uint32_t mode) {
    const std::uint32_t index =
        mode == kComMode ? comPortIndex_ : (IsLibraryMode(mode) ? libraryPortIndex_[mode - 1] : 0);
    return OpenChannel(mode, baudRate_, index);
}

void SerialChannel::CloseChannel() {
    if (mode_ == kComMode) {
        port_.Close();
    } else if (ClSerialLibrary* lib = Library(mode_)) {
        lib->ClosePort();
    }
}

bool SerialChannel::IsUsable() const {
    if (mode_ == kComMode) return port_.IsOpen() && !port_.IsBroken();
    const ClSerialLibrary* lib = Library(mode_);
    return lib && lib->IsOpen();
}

bool SerialChannel::Write(const char* bytes, int length) {
    if (mode_ == kComMode) return port_.Write(bytes, length);
    ClSerialLibrary* lib = Library(mode_);
    return lib && lib->Write(bytes, length, kClWriteTimeoutMs);
}

int SerialChannel::ReceiveSome(char* buffer, int maxCount, Clock::time_point deadline) {
    if (maxCount < 1) return 0;
    if (mode_ == kComMode) {
        int n = port_.Read(buffer, maxCount);
        // A look without waiting costs no sleep on the ring.
        if (n == 0 && deadline > Clock::now() && port_.WaitForData(deadline)) {
            n = port_.Read(buffer, maxCount);
        }
        return n;
    }
    ClSerialLibrary* lib = Library(mode_);
    if (!lib || !lib->IsOpen()) return 0;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    // The library reads all or nothing: the first byte waits, the rest is what is there.
    int n = lib->Read(buffer, 1, static_cast<int>(std::max<long long>(left, 0)));
    if (n == 0) {
        // A library that returns at once without a byte ignores its time-out; do not spin
        // on it for the rest of the wait.
        if (Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 0;
    }
    // A library that overstays even a look without waiting would otherwise cost its delay
    // once per byte; what is left stays in the library for the next call.
    const auto lookUntil = std::max(deadline, Clock::now() + kLookMs);
    while (n < maxCount && Clock::now() < lookUntil && lib->Read(buffer + n, 1, 0) == 1)
        ++n;
    return n;
}

int SerialChannel::ReceiveBytes(char* buffer, int count, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    int total = 0;
    while (total < count) {
        const int n = ReceiveSome(buffer + total, count - total, deadline);
        total += n;
        if (n == 0 && (Clock::now() >= deadline || !IsUsable())) break;
    }
    return total;
}

void SerialChannel::SetDataListener(std::function<void()> listener) {
    port_.SetDataListener(std::move(listener));
}

int SerialChannel::GetPortCount() {
    if (mode_ == kComMode) {
#ifdef _WIN32
        return 16;
#else
        return static_cast<int>(port_.PortNames().size());
#endif
    }
    ClSerialLibrary* lib = Library(mode_);
    return lib ? lib->PortCount() : 0;
}

std::string SerialChannel::ComPortName(std::uint32_t index) const {
#ifndef _WIN32
    const auto names = port_.PortNames();
    if (index < names.size()) return names[index];
#endif
    return "COM" + std::to_string(std::uint64_t{index} + 1);
}

std::string SerialChannel::GetPortName(int index) {
    if (mode_ == kComMode) {
#ifdef _WIN32
        return index >= 0 && index < 16 ? ComPortName(index) : "ERROR";
#else
        const auto names = port_.PortNames();
        return index >= 0 && index < static_cast<int>(names.size()) ? names[index] : "ERROR";
#endif
    }
    ClSerialLibrary* lib = Library(mode_);
    return lib ? lib->PortName(index) : "ERROR";
}

std::uint32_t SerialChannel::CurrentPortIndex() const {
    if (mode_ == kComMode) return comPortIndex_;
    return IsLibraryMode(mode_) ? libraryPortIndex_[mode_ - 1] : 0;
}

std::uint32_t SerialChannel::BaudRateFromIndex(int index) {
    return index >= 0 && index < static_cast<int>(kBaudRates.size()) ? kBaudRates[index] : 9600;
}

int SerialChannel::BaudRateIndex(std::uint32_t rate) {
    auto it = std::find(kBaudRates.begin(), kBaudRates.end(), rate);
    return it == kBaudRates.end() ? 0 : static_cast<int>(it - kBaudRates.begin());
}

}  // namespace vk
