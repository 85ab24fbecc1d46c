#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "core/protocol/exchange_result.h"

namespace vk {
class CoreContext;
class MemorySettingsBackend;
class Operation;
namespace sim {
class SimulatedCamera;
}
}  // namespace vk

namespace vk::script {

// A failure a script sees: the reason in the tool's words, and the line sent and the
// camera's answer where there was an exchange.
class CameraFailure : public std::runtime_error {
public:
    explicit CameraFailure(const std::string& reason, std::string request = {},
                           std::string reply = {})
        : std::runtime_error(reason), request(std::move(request)), reply(std::move(reply)) {}
    std::string request;
    std::string reply;
};

struct CameraOptions {
    std::string port;  // a device path, a port name or an index of the mode's list
    std::string mode = "com";
    std::uint32_t baud = 0;  // 0: 9600 bit/s
    int timeoutMs = 2500;
    bool factory = false;  // factory mode: factory parameters and areas
};

using Value = std::variant<std::int64_t, std::string>;
// Told of an operation's progress: its text, and a percentage (-1 while there is none).
using Progress = std::function<void(const std::string& text, int percent)>;

struct Difference {
    std::string name;
    std::optional<std::string> fileValue;    // none: only the camera has it
    std::optional<std::string> cameraValue;  // none: the camera did not answer
};

struct ActionResult {
    std::optional<std::int32_t> value;       // what a read returned
    std::optional<std::int32_t> resultCode;  // an automatic function's result
    std::vector<std::string> fields;         // the texts the action's fields show
    std::string notice;                      // the tool's message, if any
};

// One camera for a script: its own core context, opened on construction, every call one
// operation of the core's services; a failure throws CameraFailure. One thread at a time
// per camera; several cameras may run on several threads.
class ScriptCamera {
public:
    explicit ScriptCamera(const CameraOptions& options);
    // The built-in simulated camera of the model, pacing its line at `baud` (0: no pacing).
    static std::unique_ptr<ScriptCamera> Simulated(const std::string& model, std::uint32_t baud,
                                                   int timeoutMs);
    ~ScriptCamera();
    ScriptCamera(const ScriptCamera&) = delete;
    ScriptCamera& operator=(const ScriptCamera&) = delete;

    void SetProgress(Progress progress);
    // Asks the running call to stop at its next step (from any thread).
    void Cancel() { cancel_ = true; }
    void Close();
    bool IsOpen() const { return open_; }
    const std::string& Port() const { return port_; }

    Value Get(const std::string& mnemonic);
    void Set(const std::string& mnemonic, const std::string& value);
    std::vector<std::pair<std::string, std::int32_t>> Dump();
    std::pair<std::string, int> Model();
    std::map<std::string, std::optional<std::string>> Info();
    void Save(const std::string& path, bool shipping);
    int Load(const std::string& path, bool changedOnly);
    std::vector<Difference> Diff(const std::string& path);
    std::vector<std::int32_t> LutRead(int channel);
    void LutWrite(int channel, const std::vector<std::int32_t>& values);
    void AreaLoad(int area);
    void AreaStore(int area);
    ActionResult Action(const std::string& name, const std::vector<std::string>& args);
    std::uint64_t XmlDownload(const std::string& path);
    std::vector<std::uint8_t> RegisterRead(std::uint64_t address, std::uint32_t length);

private:
    class Interface;
    ScriptCamera(const CameraOptions& options, std::unique_ptr<sim::SimulatedCamera> camera);
    // Runs the body as one operation of the core; a failed result throws.
    void Run(const std::string& name, const std::function<ExchangeResult(Operation&)>& body);
    void CheckModel(Operation& operation);
    [[noreturn]] void Fail(const ExchangeResult& result, const std::string& what = {});

    CameraOptions options_;
    std::string port_;
    std::atomic<bool> cancel_{false};
    bool open_ = false;
    std::unique_ptr<sim::SimulatedCamera> simulated_;
    std::unique_ptr<Interface> ui_;
    std::unique_ptr<MemorySettingsBackend> settings_;
    std::unique_ptr<CoreContext> core_;
};

}  // namespace vk::script
