#include "python/script_camera.h"

#include <algorithm>
#include <cctype>

#include "core/camera/actions/action_input.h"
#include "core/camera/identity/camera_information.h"
#include "core/comm/port_selection.h"
#include "core/core_context.h"
#include "core/genicam/description_download.h"
#include "core/genicam/serial_register_port.h"
#include "core/lut/lut_transfer.h"
#include "core/persist/flash_areas.h"
#include "core/persist/setting_file.h"
#include "core/persist/setting_file_compare.h"
#include "core/persist/setting_file_loader.h"
#include "core/persist/settings_backend.h"
#include "core/protocol/set_value_check.h"
#include "sim/simulated_camera.h"

namespace vk::script {

// Keeps what the core would show a person as the reason of the call's failure, passes
// progress on, and asks to stop when the script cancelled.
class ScriptCamera::Interface : public UserInterface {
public:
    explicit Interface(std::atomic<bool>& cancel) : cancel_(cancel) {}

    void ShowMessage(const std::string& text, const std::string&, MessageIcon) override {
        std::string line = text;
        while (!line.empty() && line.front() == '\n')
            line.erase(line.begin());
        std::replace(line.begin(), line.end(), '\n', ' ');
        if (!messages.empty()) messages += "; ";
        messages += line;
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void ShowProgress(const std::string& text) override {
        text_ = text;
        Tell(-1);
    }
    void SetProgress(int percent) override { Tell(percent); }
    void CloseProgress() override {}
    void PumpEvents() override {}
    void SetWaitCursor(bool) override {}
    bool CancelRequested() override { return cancel_.load(); }

    Progress progress;
    std::string messages;

private:
    void Tell(int percent) {
        if (progress) progress(text_, percent);
    }
    std::atomic<bool>& cancel_;
    std::string text_;
};

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool IsNumber(const std::string& text) {
    if (text.empty()) return false;
    std::size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (i == text.size()) return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(),
                       [](unsigned char c) { return std::isdigit(c); });
}

void CheckChannel(int channel) {
    if (channel < 0 || channel >= static_cast<int>(lut::kChannels.size())) {
        throw CameraFailure("bad channel " + std::to_string(channel) + " (0 r, 1 g, 2 b)");
    }
}

}  // namespace

ScriptCamera::ScriptCamera(const CameraOptions& options) : ScriptCamera(options, nullptr) {}

ScriptCamera::ScriptCamera(const CameraOptions& options,
                           std::unique_ptr<sim::SimulatedCamera> camera)
    : options_(options),
      port_(options.port),
      simulated_(std::move(camera)),
      ui_(std::make_unique<Interface>(cancel_)),
      settings_(std::make_unique<MemorySettingsBackend>()),
      core_(std::make_unique<CoreContext>(*ui_, *settings_)) {
    const std::optional<ChannelMode> mode = ParseChannelMode(options.mode);
    if (!mode) {
        throw CameraFailure("bad mode: " + options.mode + " (com, cl2000, cl2001 or cl11)");
    }
    const std::uint32_t baud = options.baud ? options.baud : core_->channel.BaudRate();
    std::string error;
    if (!OpenPort(*core_, *mode, options.port, baud, error)) {
        std::replace(error.begin(), error.end(), '\n', ' ');
        throw CameraFailure(error);
    }
    open_ = true;
}

std::unique_ptr<ScriptCamera> ScriptCamera::Simulated(const std::string& model, std::uint32_t baud,
                                                      int timeoutMs) {
    sim::SimOptions simOptions;
    if (!model.empty()) simOptions.model = model;
    simOptions.baud = baud;
    auto camera = std::make_unique<sim::SimulatedCamera>(simOptions);
    std::string error;
    if (!camera->Start(&error)) throw CameraFailure("cannot start the simulated camera: " + error);
    CameraOptions options;
    options.port = camera->DevicePath();
    options.baud = baud;
    options.timeoutMs = timeoutMs;
    return std::unique_ptr<ScriptCamera>(new ScriptCamera(options, std::move(camera)));
}

ScriptCamera::~ScriptCamera() {
    Close();
}

void ScriptCamera::SetProgress(Progress progress) {
    ui_->progress = std::move(progress);
}

void ScriptCamera::Close() {
    open_ = false;
    if (core_) core_->channel.CloseChannel();
    if (simulated_) simulated_->Stop();
}

void ScriptCamera::Fail(const ExchangeResult& result, const std::string& what) {
    // "what: why (what the core would have shown)"
    std::string reason = what;
    if (!result.ok()) reason += (reason.empty() ? "" : ": ") + result.Describe();
    const std::string& shown = ui_->messages;
    if (!shown.empty() && shown != result.Describe()) {
        reason += reason.empty() ? shown : " (" + shown + ")";
    }
    throw CameraFailure(reason.empty() ? "failed" : reason, result.request, result.reply);
}

void ScriptCamera::Run(const std::string& name,
                       const std::function<ExchangeResult(Operation&)>& body) {
    if (!IsOpen()) throw CameraFailure("the camera is closed");
    cancel_ = false;
    ui_->messages.clear();
    std::optional<CameraFailure> failure;
    const ExchangeResult outcome = core_->runner.Run({name, true, false}, [&](Operation& op) {
        try {
            return body(op);
        } catch (const CameraFailure& f) {
            failure = f;  // thrown past the runner only once it has ended the operation
            return ExchangeResult::Success();
        }
    });
    if (failure) throw *failure;
    if (!outcome) Fail(outcome, name);
}

void ScriptCamera::CheckModel(Operation&) {
    const ExchangeResult asked = core_->modelCheck.Check(options_.timeoutMs);
    if (!asked) Fail(asked, "the camera did not answer the model query");
    if (core_->modelCheck.modelIndex == ModelCheck::kNoModel) {
        throw CameraFailure("not a camera of the family: " + core_->modelCheck.modelName);
    }
}

static CommandId FindMnemonic(const Exchange& exchange, const std::string& mnemonic) {
    const CommandId id = exchange.FindCommand(Upper(mnemonic));
    if (id == kNoCommand) throw CameraFailure("unknown mnemonic: " + mnemonic);
    return id;
}

Value ScriptCamera::Get(const std::string& mnemonic) {
    const CommandId id = FindMnemonic(core_->exchange, mnemonic);
    ParamValue value;
    Run("get", [&](Operation& op) {
        QueryResult<ParamValue> answer = op.exchange.SendQuery(id, options_.timeoutMs);
        value = answer.value;
        return static_cast<ExchangeResult>(answer);
    });
    // A few numeric commands (the user id) hold text.
    if (value.kind == ValueKind::String || !IsNumber(value.text)) return value.text;
    return static_cast<std::int64_t>(value.intValue);
}

void ScriptCamera::Set(const std::string& mnemonic, const std::string& text) {
    const CommandId id = FindMnemonic(core_->exchange, mnemonic);
    const SetValueCheck check =
        CheckSetValue(core_->exchange.Controls(), id, text, options_.factory);
    if (!check.refusal.empty()) throw CameraFailure(check.refusal);
    Run("set", [&](Operation& op) {
        return check.number ? op.exchange.SendSetInt(id, *check.number, options_.timeoutMs)
                            : op.exchange.SendSetString(id, text, options_.timeoutMs);
    });
}

std::vector<std::pair<std::string, std::int32_t>> ScriptCamera::Dump() {
    std::vector<std::pair<std::string, std::int32_t>> values;
    Run("dump", [&](Operation& op) {
        CheckModel(op);
        const FullReadResult read = ParameterReader().ReadAllParameters(
            op, core_->modelCheck.modelIndex, options_.factory, options_.timeoutMs);
        const ControlTable& table = op.exchange.Controls();
        for (int row : read.readRows) {
            const ControlEntry& entry = table.Row(row);
            values.emplace_back(op.exchange.GetMnemonic(entry.commandId),
                                op.exchange.Values().ValueAt(row).value_or(0));
        }
        if (read.cancelled) return ExchangeResult::Failure(ExchangeStatus::Cancelled);
        if (!read.failedRows.empty() || read.notQueried > 0) {
            throw CameraFailure(std::to_string(read.readRows.size()) + " parameters read, " +
                                std::to_string(read.failedRows.size()) + " failed, " +
                                std::to_string(read.notQueried) + " not queried");
        }
        return ExchangeResult::Success();
    });
    return values;
}

std::pair<std::string, int> ScriptCamera::Model() {
    Run("model", [&](Operation& op) {
        CheckModel(op);
        return ExchangeResult::Success();
    });
    return {core_->modelCheck.modelName, core_->modelCheck.modelIndex};
}

std::map<std::string, std::optional<std::string>> ScriptCamera::Info() {
    std::map<std::string, std::optional<std::string>> fields;
    Run("info", [&](Operation& op) {
        const CameraInformation info = ReadCameraInformation(op.exchange, core_->modelCheck);
        fields["firmware_version"] = info.firmwareVersion;
        fields["model_name"] = info.modelName;
        fields["camera_id"] = info.cameraId;
        fields["fpga_version"] = info.fpgaVersion;
        fields["user_id"] = info.userId;
        fields["device_version"] = info.deviceVersion
                                       ? std::optional(DeviceVersionText(*info.deviceVersion))
                                       : std::nullopt;
        return info.firstFailure;
    });
    return fields;
}

void ScriptCamera::Save(const std::string& path, bool shipping) {
    const SettingFileVariant variant =
        shipping ? SettingFileVariant::ShippingData : SettingFileVariant::AllData;
    Run("save", [&](Operation& op) {
        CheckModel(op);
        const FullReadResult read =
            ReadSettingFileRows(op, variant, options_.factory, core_->modelCheck.modelIndex);
        if (read.cancelled) return ExchangeResult::Failure(ExchangeStatus::Cancelled);
        // A value that was not read would be saved as the table's default.
        if (!read.failedRows.empty() || read.notQueried > 0) {
            throw CameraFailure(std::to_string(read.failedRows.size() + read.notQueried) +
                                " parameters could not be read; nothing was saved");
        }
        if (const auto failure =
                WriteSettingFile(op.exchange, core_->modelCheck, path, variant, options_.factory)) {
            ShowNotice(*ui_, *failure);
            throw CameraFailure(ui_->messages);
        }
        return ExchangeResult::Success();
    });
}

int ScriptCamera::Load(const std::string& path, bool changedOnly) {
    int sent = 0;
    Run("load", [&](Operation& op) {
        PreparedSettingFile prepared = PrepareSettingFile(op.exchange, path, options_.factory);
        if (!prepared) {
            ShowNotice(*ui_, *prepared.failure);
            throw CameraFailure(ui_->messages);
        }
        SettingFilePlan plan = std::move(prepared.plan);
        CheckModel(op);
        if (changedOnly) {
            const SettingFileComparison comparison =
                CompareWithCamera(op, core_->modelCheck, plan, options_.timeoutMs);
            if (comparison.cancelled) return ExchangeResult::Failure(ExchangeStatus::Cancelled);
            plan = OnlyLines(plan, comparison.DifferingLines());
        }
        const SettingFileLoadResult result = SettingFileLoader().Load(op, core_->modelCheck, plan);
        if (result.cancelled) return ExchangeResult::Failure(ExchangeStatus::Cancelled);
        if (!result.Clean()) throw CameraFailure(LoadSummary(result));
        sent = result.sent;
        return ExchangeResult::Success();
    });
    return sent;
}

std::vector<Difference> ScriptCamera::Diff(const std::string& path) {
    std::vector<Difference> differences;
    Run("diff", [&](Operation& op) {
        PreparedSettingFile prepared = PrepareSettingFile(op.exchange, path, options_.factory);
        if (!prepared) {
            ShowNotice(*ui_, *prepared.failure);
            throw CameraFailure(ui_->messages);
        }
        SettingFilePlan plan = std::move(prepared.plan);
        CheckModel(op);
        const SettingFileComparison result =
            CompareWithCamera(op, core_->modelCheck, plan, options_.timeoutMs);
        if (result.cancelled) return ExchangeResult::Failure(ExchangeStatus::Cancelled);
        if (result.stopped) throw CameraFailure("the camera stopped answering");
        for (const SettingDifference& d : result.differences) {
            Difference out{d.name, std::nullopt, std::nullopt};
            if (d.line > 0) out.fileValue = d.fileValue;
            if (d.answered) out.cameraValue = d.cameraValue;
            differences.push_back(std::move(out));
        }
        return ExchangeResult::Success();
    });
    return differences;
}

std::vector<std::int32_t> ScriptCamera::LutRead(int channel) {
    CheckChannel(channel);
    lut::Table table{};
    Run("lut read", [&](Operation& op) { return lut::LutTransfer(op).ReadTable(channel, table); });
    return {table.begin(), table.end()};
}

void ScriptCamera::LutWrite(int channel, const std::vector<std::int32_t>& values) {
    CheckChannel(channel);
    lut::Table table{};
    if (values.size() != table.size()) {
        throw CameraFailure("a LUT has " + std::to_string(table.size()) + " entries, not " +
                            std::to_string(values.size()));
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (values[i] < 0 || values[i] > 4095) {
            throw CameraFailure("LUT entry " + std::to_string(i) + " is " +
                                std::to_string(values[i]) + " (0 to 4095)");
        }
        table[i] = values[i];
    }
    Run("lut write",
        [&](Operation& op) { return lut::LutTransfer(op).WriteTable(channel, table); });
}

void ScriptCamera::AreaLoad(int area) {
    if (!FlashAreas::IsArea(area)) throw CameraFailure(kInvalidArea);
    Run("area load", [&](Operation& op) {
        return FlashAreas(op.exchange).Load(area, FlashAreas::kLoadTimeoutMs);
    });
}

void ScriptCamera::AreaStore(int area) {
    if (!FlashAreas::IsArea(area)) throw CameraFailure(kInvalidArea);
    // Overwriting the factory area is for the factory only, as in the desktop tool.
    if (area == FlashAreas::kFactoryArea && !options_.factory) {
        throw CameraFailure("storing area 0 is a factory operation (factory=True)");
    }
    Run("area store", [&](Operation& op) {
        return FlashAreas(op.exchange).Store(area, FlashAreas::kStoreTimeoutMs);
    });
}

ActionResult ScriptCamera::Action(const std::string& name, const std::vector<std::string>& args) {
    std::vector<std::string> words = args;
    const CameraAction* action = FindActionOfWords(name, words);
    if (!action) throw CameraFailure("unknown action: " + name);
    ActionInput input;
    if (!TakeActionInput(*action, words, input)) {
        throw CameraFailure("usage: " + ListedName(*action) + " " + ListedArguments(*action));
    }
    if (action->factoryOnly && !options_.factory) {
        throw CameraFailure(ListedName(*action) + " is a factory operation (factory=True)");
    }
    const std::string why = ActionExecutor::CheckInput(*action, input, core_->exchange.Controls());
    if (!why.empty()) throw CameraFailure(why);
    ActionResult result;
    Run(ListedName(*action), [&](Operation& op) {
        const ActionOutcome outcome = ActionExecutor(core_->modelCheck).Run(op, *action, input);
        result.value = outcome.value;
        result.resultCode = outcome.resultCode;
        result.fields = outcome.fieldTexts;
        if (outcome.notice) result.notice = outcome.notice->text;
        if (!outcome.result) {
            if (outcome.notice) throw CameraFailure(outcome.notice->text);
            return outcome.result;
        }
        return ExchangeResult::Success();
    });
    return result;
}

std::uint64_t ScriptCamera::XmlDownload(const std::string& path) {
    std::uint64_t bytes = 0;
    Run("xml download", [&](Operation& op) {
        SerialRegisterPort port(op.exchange,
                                RegisterTiming{options_.timeoutMs, core_->channel.BaudRate()});
        const DownloadResult result = DownloadDescription(op, port, path);
        if (!result.ok() && !result.cancelled()) throw CameraFailure(result.error);
        bytes = result.bytes;
        return result.outcome;
    });
    return bytes;
}

std::vector<std::uint8_t> ScriptCamera::RegisterRead(std::uint64_t address, std::uint32_t length) {
    std::vector<std::uint8_t> bytes;
    Run("register read", [&](Operation& op) {
        SerialRegisterPort port(op.exchange,
                                RegisterTiming{options_.timeoutMs, core_->channel.BaudRate()});
        RegisterResult result = port.Read(address, length);
        if (result.status == ExchangeStatus::Cancelled) {
            return ExchangeResult::Failure(ExchangeStatus::Cancelled);
        }
        if (!result.ok()) throw CameraFailure(result.reason);
        bytes = std::move(result.bytes);
        return ExchangeResult::Success();
    });
    return bytes;
}

}  // namespace vk::script
