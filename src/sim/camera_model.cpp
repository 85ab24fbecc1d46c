#include "sim/camera_model.h"

#include "core/protocol/command_table.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace vk::sim {
namespace {

constexpr std::int32_t kIrisOpen = 0;
constexpr std::int32_t kIrisClosed = 11;
constexpr std::int32_t kLensForward = 1;  // iris: open
constexpr std::int32_t kLensBack = 2;     // iris: close
constexpr std::int32_t kRebootValue = 1;
constexpr std::int32_t kLutMaximum = 4095;

std::optional<std::int32_t> ParseInt(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

bool Printable(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7e; });
}

}  // namespace

CameraModel::CameraModel(ModelOptions options)
    : options_(std::move(options)), behaviours_(BuildBehaviours()) {
    const auto& mnemonics = CommandTable::Mnemonics();
    for (std::size_t id = 0; id < mnemonics.size(); ++id) {
        ids_.emplace(mnemonics[id], static_cast<int>(id));
        values_.push_back(behaviours_[id].initial);
    }
    Set("MD", options_.model);
    Set("MD00", options_.model);
    for (auto& lut : luts_) {
        for (int i = 0; i < kLutSize; ++i) {
            lut[static_cast<std::size_t>(i)] =
                (i * kLutMaximum + (kLutSize - 1) / 2) / (kLutSize - 1);
        }
    }
    for (int area = 0; area < kAreaCount; ++area) {
        StoreArea(area);
    }
    Set("EA", "0");
    stateChanged_ = false;
}

bool CameraModel::IsPersisted(int id) const {
    const std::string_view mnemonic = CommandTable::Mnemonics()[static_cast<std::size_t>(id)];
    return std::find(kPersistedValues.begin(), kPersistedValues.end(), mnemonic) !=
           kPersistedValues.end();
}

int CameraModel::Find(std::string_view mnemonic) const {
    const auto it = ids_.find(mnemonic);
    return it == ids_.end() ? -1 : it->second;
}

int CameraModel::IdOrDie(std::string_view mnemonic) const {
    const int id = Find(mnemonic);
    if (id < 0) {
        throw std::logic_error("no command " + std::string(mnemonic));
    }
    return id;
}

void CameraModel::Set(std::string_view mnemonic, std::string value) {
    values_[static_cast<std::size_t>(IdOrDie(mnemonic))] = std::move(value);
}

const std::string& CameraModel::Get(std::string_view mnemonic) const {
    return values_[static_cast<std::size_t>(IdOrDie(mnemonic))];
}

bool CameraModel::IsColour() const {
    return !IsMonochromeModel(Get("MD"));
}

std::string CameraModel::Reply(int id, const std::string& value) const {
    return std::string(CommandTable::Mnemonics()[static_cast<std::size_t>(id)]) + "=" + value;
}

Response CameraModel::Handle(const std::optional<Request>& request) {
    const int id = request ? Find(request->mnemonic) : -1;
    const Behaviour* b = id >= 0 ? &behaviours_[static_cast<std::size_t>(id)] : nullptr;
    if (b == nullptr || b->action != Action::LutStep) {
        stepCommand_ = -1;  // any other line ends a run of LUT steps
    }
    // The unlock opens the camera id for the very next line only.
    if (b == nullptr || b->action != Action::CameraId || request->op != RequestOp::Set) {
        unlocked_ = false;
    }
    if (b == nullptr || (b->monoOnly && IsColour())) {
        return {std::string(kError)};
    }
    return request->op == RequestOp::Set ? OnSet(id, *b, request->argument)
                                         : OnQuery(id, *b, request->argument);
}

std::optional<std::string> CameraModel::Accept(const Behaviour& b, const std::string& text) const {
    if (b.rule == Rule::Text) {
        const bool fits = text.size() >= static_cast<std::size_t>(b.minimum) &&
                          text.size() <= b.maxLength && Printable(text);
        return fits ? std::optional<std::string>(text) : std::nullopt;
    }
    const std::optional<std::int32_t> value = ParseInt(text);
    if (!value) return std::nullopt;
    // A camera takes back its own power-on value even where that lies outside the range.
    const bool outside = b.rule == Rule::IntRange && (*value < b.minimum || *value > b.maximum) &&
                         !(b.inArea && std::to_string(*value) == b.initial);
    if (outside) {
        return std::nullopt;
    }
    return std::to_string(*value);
}

Response CameraModel::OnSet(int id, const Behaviour& b, const std::string& argument) {
    switch (b.action) {
        case Action::Status:
            return {std::string(kError)};
        case Action::Indexed:
            return SetIndexed(id, b, argument);
        case Action::LutStep:
            return StepLut(id, b, RequestOp::Set, argument);
        default:
            break;
    }
    const std::optional<std::string> accepted = b.zeroResets && argument == "0"
                                                    ? std::optional<std::string>(b.initial)
                                                    : Accept(b, argument);
    if (!accepted) {
        return {std::string(kError)};
    }
    const std::string& value = *accepted;
    const std::int32_t number = b.rule == Rule::Text ? 0 : *ParseInt(value);
    Response response{std::string(kComplete)};
    if (b.calibration) {
        response.delay = options_.calibrationTime;
    }
    switch (b.action) {
        case Action::Unlock:
            unlocked_ = number == kUnlockCode;
            return unlocked_ ? response : Response{std::string(kError)};
        case Action::CameraId:
            if (!unlocked_) {
                return {std::string(kError)};
            }
            unlocked_ = false;
            break;
        case Action::ModelId:
            Set("MD", value);
            break;
        case Action::StoreArea:
        case Action::StoreFactoryArea:
            StoreArea(number);
            break;
        case Action::LoadArea:
            LoadArea(number);
            break;
        case Action::ResetSequence:
            Set("SQIDX", "0");
            break;
        case Action::Iris: {
            const std::int32_t position = *ParseInt(Get("PCV"));
            const std::int32_t step = number == kLensForward ? -1 : number == kLensBack ? 1 : 0;
            Set("PCV", std::to_string(std::clamp(position + step, kIrisOpen, kIrisClosed)));
            break;
        }
        case Action::Reboot:
            if (number == kRebootValue) {
                Reboot();
                response.silence = options_.rebootTime;
                return response;
            }
            break;
        default:
            break;
    }
    values_[static_cast<std::size_t>(id)] = value;
    stateChanged_ = stateChanged_ || IsPersisted(id);
    if (b.autoResult >= 0) {
        StartAuto(b, number);
    }
    return response;
}

Response CameraModel::OnQuery(int id, const Behaviour& b, const std::string& argument) {
    if (b.action == Action::Indexed) {
        return QueryIndexed(id, b, argument);
    }
    if (b.action == Action::LutStep) {
        return StepLut(id, b, RequestOp::Query, argument);
    }
    if (!argument.empty()) {
        return {std::string(kError)};
    }
    if (b.isAutoResult) {
        return {Reply(id, PollAutoResult(id))};
    }
    return {Reply(id, values_[static_cast<std::size_t>(id)])};
}

Response CameraModel::SetIndexed(int id, const Behaviour& b, const std::string& argument) {
    const std::size_t comma = argument.find(',');
    if (comma == std::string::npos) {
        return {std::string(kError)};
    }
    const std::optional<std::int32_t> index = ParseInt(std::string_view(argument).substr(0, comma));
    const std::optional<std::string> value = Accept(b, argument.substr(comma + 1));
    if (!index || *index < b.indexMinimum || *index > b.indexMaximum || !value) {
        return {std::string(kError)};
    }
    StoreEntry(id, b, *index, *ParseInt(*value));
    return {std::string(kComplete)};
}

std::int32_t CameraModel::Entry(int id, const Behaviour& b, std::int32_t index) const {
    if (b.lutChannel >= 0) {
        return luts_[static_cast<std::size_t>(b.lutChannel)][static_cast<std::size_t>(index)];
    }
    const auto table = tables_.find(id);
    if (table == tables_.end()) {
        return 0;
    }
    const auto entry = table->second.find(index);
    return entry == table->second.end() ? 0 : entry->second;
}

void CameraModel::StoreEntry(int id, const Behaviour& b, std::int32_t index, std::int32_t value) {
    if (b.lutChannel >= 0) {
        luts_[static_cast<std::size_t>(b.lutChannel)][static_cast<std::size_t>(index)] = value;
        stateChanged_ = true;
    } else {
        tables_[id][index] = value;
    }
}

Response CameraModel::QueryIndexed(int id, const Behaviour& b, const std::string& argument) const {
    const std::optional<std::int32_t> index = ParseInt(argument);
    if (!index || *index < b.indexMinimum || *index > b.indexMaximum) {
        return {std::string(kError)};
    }
    return {Reply(id, std::to_string(Entry(id, b, *index)))};
}

Response CameraModel::StepLut(int id, const Behaviour& b, RequestOp op,
                              const std::string& argument) {
    if (stepCommand_ != id || stepOp_ != op) {
        stepCommand_ = id;
        stepOp_ = op;
        stepIndex_ = 0;
    }
    Lut& lut = luts_[static_cast<std::size_t>(b.lutChannel)];
    auto& entry = lut[static_cast<std::size_t>(stepIndex_)];
    Response response;
    if (op == RequestOp::Set) {
        const std::optional<std::string> value = Accept(b, argument);
        if (!value) {
            return {std::string(kError)};
        }
        entry = *ParseInt(*value);
        stateChanged_ = true;
        response.text = std::string(kComplete);
    } else {
        if (!argument.empty()) {
            return {std::string(kError)};
        }
        response.text = Reply(id, std::to_string(entry));
    }
    stepIndex_ = (stepIndex_ + 1) % kLutSize;
    return response;
}

void CameraModel::StartAuto(const Behaviour& b, std::int32_t value) {
    if (value != b.autoTrigger) {
        return;
    }
    const int trigger = static_cast<int>(&b - behaviours_.data());
    if (b.autoPolled) {
        runs_[b.autoResult] = AutoRun{options_.autoBusyPolls, trigger};
        values_[static_cast<std::size_t>(b.autoResult)] = std::to_string(kBusy);
        return;
    }
    FinishAuto(b.autoResult, trigger);
}

void CameraModel::FinishAuto(int result, int trigger) {
    // A "once" run is over: the function is off again and its result is known.
    const auto outcome = outcome_.find(result);
    values_[static_cast<std::size_t>(result)] = outcome == outcome_.end() ? "0" : outcome->second;
    values_[static_cast<std::size_t>(trigger)] = "0";
}

std::string CameraModel::PollAutoResult(int id) {
    const auto run = runs_.find(id);
    if (run != runs_.end()) {
        if (run->second.busyPolls > 0) {
            --run->second.busyPolls;
            return std::to_string(kBusy);
        }
        FinishAuto(id, run->second.trigger);
        runs_.erase(run);
    }
    return values_[static_cast<std::size_t>(id)];
}

void CameraModel::StoreArea(int area) {
    Area& stored = areas_[static_cast<std::size_t>(area)];
    stored.assign(values_.size(), std::string());
    for (std::size_t id = 0; id < values_.size(); ++id) {
        if (behaviours_[id].inArea) {
            stored[id] = values_[id];
        }
    }
    Set("EA", std::to_string(area));
    stateChanged_ = true;
}

void CameraModel::LoadArea(int area) {
    const Area& stored = areas_[static_cast<std::size_t>(area)];
    for (std::size_t id = 0; id < values_.size(); ++id) {
        if (behaviours_[id].inArea) {
            values_[id] = stored[id];
        }
    }
    Set("EA", std::to_string(area));
    stateChanged_ = true;
}

void CameraModel::Reboot() {
    LoadArea(*ParseInt(Get("EA")));
    unlocked_ = false;
    runs_.clear();
    stepCommand_ = -1;
}

std::optional<std::string> CameraModel::Value(std::string_view mnemonic) const {
    const std::size_t mark = mnemonic.find('?');
    const int id = Find(mnemonic.substr(0, mark));
    if (id < 0) {
        return std::nullopt;
    }
    if (mark == std::string_view::npos) {
        return values_[static_cast<std::size_t>(id)];
    }
    const Behaviour& b = behaviours_[static_cast<std::size_t>(id)];
    if (b.action != Action::Indexed) {
        return std::nullopt;
    }
    const Response response = QueryIndexed(id, b, std::string(mnemonic.substr(mark + 1)));
    const std::size_t eq = response.text.find('=');
    if (eq == std::string::npos) {
        return std::nullopt;
    }
    return response.text.substr(eq + 1);
}

bool CameraModel::SetValue(std::string_view mnemonic, std::string_view value) {
    const std::size_t mark = mnemonic.find('?');
    const int id = Find(mnemonic.substr(0, mark));
    if (id < 0) {
        return false;
    }
    const Behaviour& b = behaviours_[static_cast<std::size_t>(id)];
    if (mark != std::string_view::npos) {
        const std::optional<std::int32_t> index = ParseInt(mnemonic.substr(mark + 1));
        const std::optional<std::int32_t> number = ParseInt(value);
        if (b.action != Action::Indexed || !index || !number || *index < b.indexMinimum ||
            *index > b.indexMaximum) {
            return false;
        }
        StoreEntry(id, b, *index, *number);
        return true;
    }
    values_[static_cast<std::size_t>(id)] = std::string(value);
    stateChanged_ = stateChanged_ || IsPersisted(id);
    if (b.isAutoResult) {
        outcome_[id] = std::string(value);
    }
    return true;
}

}  // namespace vk::sim
