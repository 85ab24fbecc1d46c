#include "core/comm/serial_channel.h"

#include <algorithm>
#include <cstdint>
#include <thread>

#include "core/comm/cl_serial_library.h"
#include "core/comm/rs232c_port.h"
#include "core/persist/tool_settings.h"

namespace vk {
namespace {

constexpr int kClWriteTimeoutMs = 500;
// How long the bytes that are already there may take to collect, past the caller's wait.
constexpr auto kLookMs = std::chrono::milliseconds(20);
// A device that streams must not keep an open going for ever.
constexpr int kMaxStaleBytes = 4096;
constexpr auto kComMode = ChannelMode::ComPort;

bool IsLibraryMode(ChannelMode mode) {
    return mode != kComMode && ChannelModeOf(static_cast<std::uint32_t>(mode));
}

// A mode made from a number elsewhere may name none.
bool IsMode(ChannelMode mode) {
    return ChannelModeOf(static_cast<std::uint32_t>(mode)).has_value();
}

SettingIndex IndexSetting(std::size_t mode) {
    return mode == ModeIndex(kComMode)
               ? SettingIndex::ComPortNo
               : static_cast<SettingIndex>(static_cast<int>(SettingIndex::ClSerial2000Index) +
                                           static_cast<int>(mode) - 1);
}

int NameSetting(std::size_t mode) {
    return static_cast<int>(SettingIndex::ComPortName) + static_cast<int>(mode);
}

}  // namespace

SerialChannel::SerialChannel(ToolSettings& settings, Rs232cPort& port, Libraries libraries)
    : settings_(settings), port_(port), libraries_(libraries) {
    // The store gives only numbers of a mode (others read as the default, the COM port).
    opened_.mode =
        ChannelModeOf(settings_.Number(SettingIndex::CommunicationMode)).value_or(kComMode);
    // After a run that did not reach its normal end (a Camera Link library may have taken
    // it down), start on the COM port, and do not go back to that library by itself next
    // time either; the stored ports and rate stay.
    if (!settings_.PreviousRunEndedNormally()) opened_.mode = kComMode;
    opened_.baudRate = settings_.Number(SettingIndex::Baudrate);
    for (std::size_t m = 0; m < opened_.ports.size(); ++m) {
        PortChoice& choice = opened_.ports[m];
        choice.index = settings_.Number(IndexSetting(m));
        settings_.ReadText(NameSetting(m), choice.name);
    }
    mode_ = opened_.mode;
    baudRate_ = opened_.baudRate;
    ports_ = opened_.ports;
}

void SerialChannel::SaveChannelSettings() {
    settings_.SetNumber(SettingIndex::CommunicationMode, static_cast<std::uint32_t>(opened_.mode));
    settings_.SetNumber(SettingIndex::Baudrate, opened_.baudRate);
    for (std::size_t m = 0; m < opened_.ports.size(); ++m) {
        settings_.SetNumber(IndexSetting(m), opened_.ports[m].index);
        // Written even when empty: a name left from before would name another port.
        settings_.WriteText(NameSetting(m), opened_.ports[m].name);
    }
}

ClSerialLibrary* SerialChannel::Library(ChannelMode mode) const {
    return IsLibraryMode(mode) ? libraries_[ModeIndex(mode) - 1] : nullptr;
}

bool SerialChannel::OpenChannel(ChannelMode mode, std::uint32_t baudRate, std::uint32_t portIndex) {
    CloseChannel();
    mode_ = mode;
    baudRate_ = baudRate;
    lastOpenError_.clear();
    if (!IsMode(mode)) {
        lastOpenError_ = "There is no channel mode " + std::to_string(ModeIndex(mode)) + ".";
        return false;
    }
    PortChoice& choice = ports_[ModeIndex(mode)];
    choice = {portIndex, ListedName(mode, portIndex)};
    if (!OpenTransport(mode, baudRate, portIndex)) return false;
    // Opening may have listed the ports for the first time.
    if (choice.name.empty()) choice.name = ListedName(mode, portIndex);
    opened_.mode = mode;
    opened_.baudRate = baudRate;
    opened_.ports[ModeIndex(mode)] = choice;
    return true;
}

bool SerialChannel::OpenTransport(ChannelMode mode, std::uint32_t baudRate,
                                  std::uint32_t portIndex) {
    if (mode == kComMode) {
        if (port_.Open(ComPortName(portIndex), baudRate, 8, 0, 0, 0)) return true;
        lastOpenError_ = port_.LastError();
        return false;
    }
    ClSerialLibrary* lib = Library(mode);
    if (!lib) {
        lastOpenError_ = std::string("No Camera Link library is bound for \"") +
                         kChannelModeNames[ModeIndex(mode)] + "\".";
        return false;
    }
    if (!lib->OpenPort(static_cast<int>(portIndex))) {
        lastOpenError_ = lib->LastError();
        return false;
    }
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

bool SerialChannel::OpenChosenPort(ChannelMode mode, std::uint32_t baudRate) {
    if (!IsMode(mode)) return OpenChannel(mode, baudRate, 0);
    PortChoice& choice = ports_[ModeIndex(mode)];
    if (!choice.name.empty()) {
        const auto found = FindPort(mode, choice.name);
        if (!found) {
            CloseChannel();
            mode_ = mode;
            baudRate_ = baudRate;
            lastOpenError_ = "The port \"" + choice.name + "\" is not in the list of \"" +
                             kChannelModeNames[ModeIndex(mode)] + "\" any more.";
            return false;
        }
        choice.index = *found;
    }
    return OpenChannel(mode, baudRate, choice.index);
}

std::optional<std::uint32_t> SerialChannel::FindPort(ChannelMode mode, const std::string& name) {
    if (mode == kComMode) {
        // A name the list lacks (COM40, a device path) is still reached by its name.
        auto names = port_.PortNames();
        auto it = std::find(names.begin(), names.end(), name);
        if (it == names.end()) {
            port_.PinPort(name);
            names = port_.PortNames();
            it = std::find(names.begin(), names.end(), name);
        }
        return static_cast<std::uint32_t>(it - names.begin());
    }
    ClSerialLibrary* lib = Library(mode);
    if (!lib) return std::nullopt;
    const int count = lib->PortCount();
    for (int i = 0; i < count; ++i) {
        if (lib->PortName(i) == name) return static_cast<std::uint32_t>(i);
    }
    return std::nullopt;
}

std::string SerialChannel::ListedName(ChannelMode mode, std::uint32_t index) {
    if (mode == kComMode) {
        const auto names = port_.PortNames();
        return index < names.size() ? names[index] : std::string();
    }
    ClSerialLibrary* lib = Library(mode);
    return lib && index <= static_cast<std::uint32_t>(INT32_MAX)
               ? lib->PortName(static_cast<int>(index))
               : std::string();
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
    if (mode_ == kComMode) return static_cast<int>(port_.PortNames().size());
    ClSerialLibrary* lib = Library(mode_);
    return lib ? lib->PortCount() : 0;
}

std::string SerialChannel::ComPortName(std::uint32_t index) const {
    const auto names = port_.PortNames();
    if (index < names.size()) return names[index];
    return "COM" + std::to_string(std::uint64_t{index} + 1);
}

std::string SerialChannel::GetPortName(int index) {
    if (mode_ == kComMode) {
        const auto names = port_.PortNames();
        return index >= 0 && index < static_cast<int>(names.size()) ? names[index] : "ERROR";
    }
    ClSerialLibrary* lib = Library(mode_);
    return lib ? lib->PortName(index) : "ERROR";
}

std::uint32_t SerialChannel::CurrentPortIndex() const {
    return IsMode(mode_) ? ports_[ModeIndex(mode_)].index : 0;
}

std::uint32_t SerialChannel::BaudRateFromIndex(int index) {
    return index >= 0 && index < static_cast<int>(kBaudRates.size()) ? kBaudRates[index] : 9600;
}

int SerialChannel::BaudRateIndex(std::uint32_t rate) {
    auto it = std::find(kBaudRates.begin(), kBaudRates.end(), rate);
    return it == kBaudRates.end() ? 0 : static_cast<int>(it - kBaudRates.begin());
}

}  // namespace vk
