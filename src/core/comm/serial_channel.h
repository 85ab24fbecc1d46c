#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vk {

class ClSerialLibrary;
class Rs232cPort;
class ToolSettings;

enum class ChannelMode : std::uint32_t {
    ComPort = 0,
    ClSerial2000 = 1,
    ClSerial2001 = 2,
    ClSerialV11 = 3,
};

inline constexpr std::size_t ModeIndex(ChannelMode mode) {
    return static_cast<std::size_t>(mode);
}
// The mode a stored number or a list position names; nothing for one no mode has.
inline std::optional<ChannelMode> ChannelModeOf(std::uint32_t number) {
    if (number > ModeIndex(ChannelMode::ClSerialV11)) return std::nullopt;
    return static_cast<ChannelMode>(number);
}

// Text of each mode in the connection window's Category list; position = mode.
inline constexpr std::array<const char*, 4> kChannelModeNames = {
    "Com Port", "Camera Link spec. 2000", "Camera Link spec. 2001", "Camera Link spec. ver.1.1"};

// The one channel to the camera, over a COM port or one of three kinds of Camera Link
// serial library. Remembers the selection across runs through the tool settings.
class SerialChannel {
public:
    static constexpr std::array<std::uint32_t, 5> kBaudRates = {9600, 19200, 38400, 57600, 115200};
    // Camera Link libraries for modes 1-3; a null entry makes that mode fail to open.
    using Libraries = std::array<ClSerialLibrary*, 3>;

    // Takes the stored selection; when the previous run did not end normally
    // (ToolSettings::PreviousRunEndedNormally() is false) the mode starts as ComPort.
    SerialChannel(ToolSettings& settings, Rs232cPort& port, Libraries libraries);
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    // Opens the port at portIndex of the mode's list. Only a selection that opened is
    // written back at the end; a failed one is this run's alone.
    bool OpenChannel(ChannelMode mode, std::uint32_t baudRate, std::uint32_t portIndex);
    // Opens the port chosen for the mode before: by its name when one is known (wherever it
    // is in the list now), by its index otherwise.
    bool OpenChosenPort(ChannelMode mode, std::uint32_t baudRate);
    bool ReopenChannel() { return OpenChosenPort(mode_, baudRate_); }
    bool SelectMode(ChannelMode mode) { return OpenChosenPort(mode, baudRate_); }
    bool SelectBaudRate(std::uint32_t rate) { return OpenChosenPort(mode_, rate); }
    bool SelectPort(std::uint32_t index) { return OpenChannel(mode_, baudRate_, index); }
    void CloseChannel();

    using Clock = std::chrono::steady_clock;

    // Sends every byte; false when they could not all be sent. Logging is the caller's.
    bool Write(const char* bytes, int length);
    // Takes what has arrived, up to maxCount bytes, waiting until `deadline` for the first
    // one; 0 when nothing came.
    int ReceiveSome(char* buffer, int maxCount, Clock::time_point deadline);
    // Returns when count bytes are in or timeoutMs has passed, whichever is first.
    int ReceiveBytes(char* buffer, int count, int timeoutMs);
    // True when the transport of the current mode is open and has not gone away.
    bool IsUsable() const;

    // Called from the port's reader thread whenever bytes arrive on a COM port, so that an
    // idle tool sleeps until there is something to read. Camera Link libraries have no such
    // notice: WakesOnData() is false for them and the idle reader has to look from time to
    // time.
    void SetDataListener(std::function<void()> listener);
    bool WakesOnData() const { return mode_ == ChannelMode::ComPort; }
    // Why the last OpenChannel failed, in words; empty after a success.
    const std::string& LastOpenError() const { return lastOpenError_; }

    int GetPortCount();
    std::string GetPortName(int index);
    std::uint32_t CurrentPortIndex() const;

    ChannelMode GetMode() const { return mode_; }
    // Selects without opening; nothing of it is stored.
    void SetMode(ChannelMode mode) { mode_ = mode; }
    void SetBaudRate(std::uint32_t rate) { baudRate_ = rate; }
    std::uint32_t BaudRate() const { return baudRate_; }
    // The rate of a store without one, and the one to fall back on.
    static constexpr std::uint32_t kDefaultBaudRate = 9600;

    static std::uint32_t BaudRateFromIndex(int index);
    static int BaudRateIndex(std::uint32_t rate);

    // Stores the channel last opened (mode, rate, each mode's port); the owner calls it at
    // the orderly end.
    void SaveChannelSettings();

private:
    // A port of one mode: its position in the mode's list and, once known, its name.
    struct PortChoice {
        std::uint32_t index = 0;
        std::string name;
    };
    struct Selection {
        ChannelMode mode = ChannelMode::ComPort;
        std::uint32_t baudRate = kDefaultBaudRate;
        std::array<PortChoice, 4> ports{};
    };

    bool OpenTransport(ChannelMode mode, std::uint32_t baudRate, std::uint32_t portIndex);
    ClSerialLibrary* Library(ChannelMode mode) const;
    std::string ComPortName(std::uint32_t index) const;
    // The name the mode's list gives the index now; empty when the list is not known.
    std::string ListedName(ChannelMode mode, std::uint32_t index);
    // Where a named port is in the mode's list now. A COM device outside the list (a path
    // given once) is put at its head.
    std::optional<std::uint32_t> FindPort(ChannelMode mode, const std::string& name);

    ToolSettings& settings_;
    Rs232cPort& port_;
    Libraries libraries_;

    ChannelMode mode_ = ChannelMode::ComPort;
    std::uint32_t baudRate_ = kDefaultBaudRate;
    std::array<PortChoice, 4> ports_{};  // this run's choice per mode
    Selection opened_;                   // what is written back
    std::string lastOpenError_;
};

}  // namespace vk
