#include "sim/simulated_camera.h"

#include <mutex>
#include <optional>

#include "core/persist/atomic_file.h"
#include "sim/camera_model.h"
#include "sim/fault_injector.h"
#include "sim/line_server.h"
#include "sim/pty_device.h"
#include "sim/register_space.h"
#include "sim/state_file.h"

namespace vk::sim {
namespace {

// Received lines kept for ReceivedLines(); the oldest go first when a long run fills it.
constexpr std::size_t kReceivedLimit = 100000;
// A changed state is written once the camera has been left alone this long.
constexpr auto kSaveDelay = std::chrono::milliseconds(300);
// The camera talks on its own only after the line has been quiet this long.
constexpr auto kChatterQuiet = std::chrono::milliseconds(200);

ModelOptions ModelOptionsOf(const SimOptions& options) {
    return ModelOptions{options.model, options.autoBusyPolls,
                        std::chrono::milliseconds(options.rebootMs),
                        std::chrono::milliseconds(options.calibrationMs)};
}

// The oldest half goes when a long run fills a record.
template <typename T>
void KeepLimited(std::vector<T>& lines) {
    if (lines.size() >= kReceivedLimit) {
        lines.erase(lines.begin(), lines.begin() + kReceivedLimit / 2);
    }
}

bool Fail(std::string* error, const std::string& why) {
    if (error != nullptr) {
        *error = why;
    }
    return false;
}

}  // namespace

struct SimulatedCamera::Impl {
    explicit Impl(SimOptions o)
        : options(std::move(o)),
          model(ModelOptionsOf(options)),
          registers(model, options.model, options.standardDescription) {}

    Outgoing OnLine(const ReceivedLine& line);
    Outgoing OnPacket(const std::string& packet);
    Outgoing OnTimer(Clock::time_point now, bool quiet, std::optional<Clock::time_point>* next);
    // Carries out what the fault just taken does beyond the answer.
    void AfterFault(Clock::time_point arrival);
    void SaveStateIfChanged();

    const SimOptions options;
    mutable std::mutex mutex;  // guards everything below that the server thread touches
    CameraModel model;
    RegisterSpace registers;
    FaultInjector faults;
    std::vector<std::string> received;
    std::vector<AnsweredLine> answered;
    Clock::time_point silentUntil{};
    Clock::time_point lastLine{};
    Clock::time_point nextChatter{};
    std::optional<Clock::time_point> saveDue;
    // A pending acknowledgement sent again and again until the next packet (Fault::Pending).
    std::string pendingAgain;
    Clock::time_point pendingAgainAt{};
    std::chrono::milliseconds pendingEvery{0};

    std::string devicePath;
    DeviceLink link;
    std::unique_ptr<LineServer> server;
};

Outgoing SimulatedCamera::Impl::OnLine(const ReceivedLine& line) {
    std::lock_guard lock(mutex);
    KeepLimited(received);
    received.push_back(line.text);
    const Clock::time_point now = Clock::now();
    lastLine = now;
    if (now < silentUntil || (line.text.empty() && !line.tooLong)) {
        return {};
    }
    const std::optional<Request> request = line.tooLong ? std::nullopt : ParseRequest(line.text);
    Response response;
    Outgoing out = faults.Answer(request, [&] {
        response = model.Handle(request);
        return response.text;
    });
    if (!out.bytes.empty()) {
        out.delay += response.delay;
    }
    AfterFault(line.arrival);
    const Fault taken = faults.Taken().fault;
    if (!out.bytes.empty() && (taken == Fault::None || taken == Fault::Delay)) {
        KeepLimited(answered);
        answered.push_back({line.text, response.text});
    }
    if (response.silence.count() > 0) {
        silentUntil = line.arrival + out.delay + response.silence;
    }
    if (!options.stateFile.empty() && model.StateChanged()) {
        saveDue = now + kSaveDelay;
    }
    return out;
}

Outgoing SimulatedCamera::Impl::OnPacket(const std::string& packet) {
    std::lock_guard lock(mutex);
    const Clock::time_point now = Clock::now();
    lastLine = now;
    if (now < silentUntil) {
        return {};
    }
    pendingAgain.clear();
    Outgoing out =
        faults.AnswerPacket([&] { return registers.Handle(packet); },
                            [&](int waitMs) { return RegisterSpace::PendingAck(packet, waitMs); });
    const FaultSettings& taken = faults.Taken();
    if (taken.fault == Fault::Pending && taken.pendingAcks < 0) {
        pendingAgain = out.bytes;
        pendingEvery = std::chrono::milliseconds(std::max(taken.delayMs / 2, 1));
        pendingAgainAt = now + pendingEvery;
    }
    AfterFault(now);
    if (!options.stateFile.empty() && model.StateChanged()) {
        saveDue = now + kSaveDelay;
    }
    return out;
}

void SimulatedCamera::Impl::AfterFault(Clock::time_point arrival) {
    const FaultSettings& taken = faults.Taken();
    if (taken.fault == Fault::Reset) {
        model.Reboot();
        silentUntil = arrival + std::chrono::milliseconds(taken.delayMs);
    } else if (taken.fault == Fault::Unplug) {
        link.Remove();
    }
}

Outgoing SimulatedCamera::Impl::OnTimer(Clock::time_point now, bool quiet,
                                        std::optional<Clock::time_point>* next) {
    if (saveDue && now >= *saveDue) {
        SaveStateIfChanged();
    }
    std::lock_guard lock(mutex);
    *next = saveDue;
    if (!pendingAgain.empty()) {
        if (now >= pendingAgainAt) {
            pendingAgainAt = now + pendingEvery;
            *next = pendingAgainAt;
            Outgoing again;
            again.bytes = pendingAgain;
            return again;
        }
        if (!*next || pendingAgainAt < **next) *next = pendingAgainAt;
    }
    if (!options.chatter) {
        return {};
    }
    if (now >= nextChatter) {
        if (quiet && now >= silentUntil && now - lastLine >= kChatterQuiet) {
            nextChatter = now + std::chrono::milliseconds(options.chatterIntervalMs);
            Outgoing chatter;
            chatter.bytes = "TMP0=" + model.Value("TMP0").value_or("0") + "\r\n";
            return chatter;
        }
        nextChatter = std::max(now, lastLine) + kChatterQuiet;
    }
    if (!*next || nextChatter < **next) {
        *next = nextChatter;
    }
    return {};
}

void SimulatedCamera::Impl::SaveStateIfChanged() {
    std::string text;
    {
        std::lock_guard lock(mutex);
        saveDue.reset();
        if (options.stateFile.empty() || !model.StateChanged()) {
            return;
        }
        text = model.SaveState();
        model.ClearStateChanged();
    }
    const FileOutcome written = WriteFileAtomically(options.stateFile, text);
    if (!written && options.warn) options.warn(options.stateFile + ": " + written.reason);
}

SimulatedCamera::SimulatedCamera(SimOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

SimulatedCamera::~SimulatedCamera() {
    Stop();
}

bool SimulatedCamera::Start(std::string* error) {
    Impl& impl = *impl_;
    if (impl.server) {
        return Fail(error, "the simulated camera is already running");
    }
    if (!impl.options.stateFile.empty()) {
        std::optional<std::string> text;
        std::string why;
        if (!ReadTextFile(impl.options.stateFile, text, &why)) {
            return Fail(error, why);
        }
        std::lock_guard lock(impl.mutex);
        if (text && !impl.model.LoadState(*text, &why)) {
            return Fail(error, impl.options.stateFile + ": " + why);
        }
    }
    PtyDevice device;
    if (!device.Open(error)) {
        return false;
    }
    if (!impl.options.linkPath.empty() &&
        !impl.link.Make(impl.options.linkPath, device.SlavePath(), error)) {
        return false;
    }
    impl.devicePath = device.SlavePath();
    impl.nextChatter = Clock::now() + std::chrono::milliseconds(impl.options.chatterIntervalMs);
    LineServer::Hooks hooks;
    hooks.onLine = [&impl](const ReceivedLine& line) { return impl.OnLine(line); };
    hooks.onTimer = [&impl](Clock::time_point now, bool quiet,
                            std::optional<Clock::time_point>* next) {
        return impl.OnTimer(now, quiet, next);
    };
    hooks.onPacket = [&impl](const std::string& packet) { return impl.OnPacket(packet); };
    impl.server = std::make_unique<LineServer>(std::move(device), impl.options.baud, hooks);
    if (!impl.server->Start(error)) {
        impl.server.reset();
        impl.link.Remove();
        return false;
    }
    return true;
}

void SimulatedCamera::Stop() {
    Impl& impl = *impl_;
    if (!impl.server) {
        return;
    }
    impl.server->Stop();
    impl.server.reset();
    impl.SaveStateIfChanged();
    impl.link.Remove();
}

const std::string& SimulatedCamera::DevicePath() const {
    return impl_->devicePath;
}

void SimulatedCamera::SetFault(const FaultSettings& spec) {
    std::lock_guard lock(impl_->mutex);
    impl_->faults.Set(spec);
    impl_->pendingAgain.clear();
}

std::vector<AnsweredLine> SimulatedCamera::AnsweredLines() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->answered;
}

std::vector<std::string> SimulatedCamera::ReceivedLines() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->received;
}

void SimulatedCamera::ClearReceivedLines() {
    std::lock_guard lock(impl_->mutex);
    impl_->received.clear();
    impl_->answered.clear();
}

std::string SimulatedCamera::Value(const std::string& mnemonic) const {
    std::lock_guard lock(impl_->mutex);
    return impl_->model.Value(mnemonic).value_or("");
}

void SimulatedCamera::SetValue(const std::string& mnemonic, const std::string& value) {
    std::lock_guard lock(impl_->mutex);
    impl_->model.SetValue(mnemonic, value);
    if (!impl_->options.stateFile.empty() && impl_->model.StateChanged()) {
        impl_->saveDue = Clock::now() + kSaveDelay;
    }
}

}  // namespace vk::sim
