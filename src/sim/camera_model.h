#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sim/command_behaviour.h"
#include "sim/request.h"

namespace vk::sim {

struct ModelOptions {
    std::string model = "VK-4100C-PMCL";
    int autoBusyPolls = 2;  // result queries answered "busy" before an automatic result
    std::chrono::milliseconds rebootTime{1500};
    std::chrono::milliseconds calibrationTime{1000};  // before a calibration completes
};

// The camera's answer to one line.
struct Response {
    std::string text;                      // without CR LF
    std::chrono::milliseconds silence{0};  // the camera stops listening this long afterwards
    std::chrono::milliseconds delay{0};    // the camera works this long before it answers
};

// A camera of the family as its command line sees it: current settings, four flash areas,
// three LUTs, indexed tables, ids, automatic functions and status values.
class CameraModel {
public:
    static constexpr int kAreaCount = 4;
    static constexpr int kLutSize = 256;
    static constexpr std::string_view kError = "ERROR";
    static constexpr std::string_view kComplete = "COMPLETE";
    static constexpr std::int32_t kUnlockCode = 5127038;
    static constexpr std::int32_t kBusy = 4;

    explicit CameraModel(ModelOptions options = {});

    Response Handle(const std::optional<Request>& request);
    Response Handle(std::string_view line) { return Handle(ParseRequest(line)); }

    bool IsColour() const;

    // Starts again as after power-on: the settings of the area it runs from, nothing
    // unlocked, running or half-stepped.
    void Reboot();

    // The stored value of a command, or of one entry as "MNEMONIC?index" for indexed tables;
    // nothing for an unknown command or entry. Does not step a LUT.
    std::optional<std::string> Value(std::string_view mnemonic) const;
    // Stores a value as it stands, without the command's rule. For an automatic function's
    // result command it also sets the outcome of later runs.
    bool SetValue(std::string_view mnemonic, std::string_view value);

    using Lut = std::array<std::int32_t, kLutSize>;
    const Lut& LutTable(int channel) const { return luts_.at(static_cast<std::size_t>(channel)); }

    // Flash areas, ids and LUTs as text, and back; see state_file.h for the format.
    std::string SaveState() const;
    bool LoadState(std::string_view text, std::string* error);
    // True when something that SaveState writes changed since the last ClearStateChanged.
    bool StateChanged() const { return stateChanged_; }
    void ClearStateChanged() { stateChanged_ = false; }

private:
    using Area = std::vector<std::string>;  // values by command id; empty where not kept

    // Values kept across runs besides the areas and LUTs.
    static constexpr std::array<std::string_view, 4> kPersistedValues = {"ID", "UD", "DVW",
                                                                         "XMLVR"};

    int Find(std::string_view mnemonic) const;
    bool IsPersisted(int id) const;
    std::string Reply(int id, const std::string& value) const;
    Response OnSet(int id, const Behaviour& b, const std::string& argument);
    Response OnQuery(int id, const Behaviour& b, const std::string& argument);
    Response SetIndexed(int id, const Behaviour& b, const std::string& argument);
    Response QueryIndexed(int id, const Behaviour& b, const std::string& argument) const;
    std::int32_t Entry(int id, const Behaviour& b, std::int32_t index) const;
    void StoreEntry(int id, const Behaviour& b, std::int32_t index, std::int32_t value);
    Response StepLut(int id, const Behaviour& b, RequestOp op, const std::string& argument);
    std::string PollAutoResult(int id);
    void StartAuto(const Behaviour& b, std::int32_t value);
    void FinishAuto(int result, int trigger);
    void StoreArea(int area);
    void LoadArea(int area);
    // The value text if it passes the rule, normalised; nothing if it does not.
    std::optional<std::string> Accept(const Behaviour& b, const std::string& text) const;
    int IdOrDie(std::string_view mnemonic) const;
    void Set(std::string_view mnemonic, std::string value);
    const std::string& Get(std::string_view mnemonic) const;

    ModelOptions options_;
    std::vector<Behaviour> behaviours_;
    std::unordered_map<std::string_view, int> ids_;
    std::vector<std::string> values_;
    std::array<Area, kAreaCount> areas_;
    std::array<Lut, 3> luts_{};
    // Entries of the tables other than the LUTs, by command id and index.
    std::map<int, std::map<std::int32_t, std::int32_t>> tables_;
    // LUT stepping: which command and direction the last line was, and the next entry.
    int stepCommand_ = -1;
    RequestOp stepOp_ = RequestOp::Set;
    int stepIndex_ = 0;
    bool unlocked_ = false;
    struct AutoRun {
        int busyPolls = 0;  // busy answers still to give
        int trigger = -1;   // the command that started the run
    };
    std::map<int, AutoRun> runs_;         // by result command id
    std::map<int, std::string> outcome_;  // by result command id: the result of a run
    bool stateChanged_ = false;
};

}  // namespace vk::sim
