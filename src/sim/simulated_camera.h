#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vk::sim {

// Faults a test can make the simulated camera commit.
enum class Fault {
    None,
    Silent,         // never answers
    Garbage,        // answers with binary garbage and an LF
    WrongMnemonic,  // answers a query with another command's mnemonic
    ErrorOnSet,     // answers a set with an error text instead of COMPLETE
    Overlong,       // sends 1024+ bytes without an LF, then answers normally
    Delay,          // answers after FaultSettings::delayMs
    HangUp,         // closes its end of the line
    Reset,          // loses power: forgets unstored settings, silent for delayMs, then answers
    Unplug,         // closes the line and removes the device's link, as a pulled USB cable
    Twice,          // answers, and sends the answer again FaultSettings::delayMs later
    Pending,        // asks for more time (GenCP packets only); see FaultSettings::pendingAcks
};

struct FaultSettings {
    Fault fault = Fault::None;
    int delayMs = 0;                  // for Delay, and Reset's silence
    int count = -1;                   // how many lines the fault applies to; -1 = until cleared
    std::string errorText = "ERROR";  // for ErrorOnSet
    int after = 0;                    // lines and packets answered normally before it begins
    // For Pending: the pending acknowledgements (each asking for delayMs) sent before the
    // answer; -1: one every delayMs / 2 for as long as no other packet comes, never the answer.
    int pendingAcks = -1;
};

// One line the camera answered as it should (late, for Delay), with its answer.
struct AnsweredLine {
    std::string line;
    std::string answer;
};

struct SimOptions {
    std::string model = "VK-4100C-PMCL";
    std::uint32_t baud = 0;            // 0: no line-speed pacing
    std::string linkPath;              // when set, a symlink to the device is made here
    std::string stateFile;             // when set, areas, ids and LUTs persist across runs
    bool chatter = false;              // sends a line of its own now and then
    bool standardDescription = false;  // serves the standard-style description
    int chatterIntervalMs = 3000;
    int autoBusyPolls = 2;     // "busy" answers to a result query before an automatic result
    int rebootMs = 1500;       // silence after "CRS00=1"
    int calibrationMs = 1000;  // how long calibrations take before they complete
    // Told of trouble that does not stop the camera (a state file that cannot be written).
    std::function<void(const std::string&)> warn;
};

// A camera of the family on a pseudo-terminal: runs its own thread and answers the line
// protocol (and register access) on the master side; the tool opens DevicePath().
class SimulatedCamera {
public:
    explicit SimulatedCamera(SimOptions options = {});
    ~SimulatedCamera();
    SimulatedCamera(const SimulatedCamera&) = delete;
    SimulatedCamera& operator=(const SimulatedCamera&) = delete;

    // Opens the pseudo-terminal and starts serving; false with a reason on failure.
    bool Start(std::string* error = nullptr);
    void Stop();

    const std::string& DevicePath() const;

    void SetFault(const FaultSettings& spec);
    void ClearFault() { SetFault({}); }

    // Every line answered as it should so far, oldest first.
    std::vector<AnsweredLine> AnsweredLines() const;

    // Every line received so far, without CR LF, oldest first.
    std::vector<std::string> ReceivedLines() const;
    // Forgets the received and the answered lines.
    void ClearReceivedLines();

    // Direct access to a stored parameter value (as the camera would report it).
    std::string Value(const std::string& mnemonic) const;
    void SetValue(const std::string& mnemonic, const std::string& value);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vk::sim
