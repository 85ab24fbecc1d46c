#include "sim/command_behaviour.h"

#include "core/protocol/command_table.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "sim/control_rows.h"

namespace vk::sim {
namespace {

constexpr std::int32_t kNoLimit = 0;

// Commands without a control row: the camera's own values and actions.
struct OwnCommand {
    std::string_view mnemonic;
    Action action;
    Rule rule;
    std::int32_t minimum;
    std::int32_t maximum;  // for Text: the shortest and longest text
    std::string_view initial;
};

constexpr std::array kOwnCommands = {
    OwnCommand{"EB", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"ST", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"HP", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"VN", Action::Status, Rule::Text, 0, 16, "105"},
    OwnCommand{"MD", Action::Status, Rule::Text, 0, 32, ""},
    OwnCommand{"UD", Action::Store, Rule::Text, 0, 16, ""},
    OwnCommand{"DVW", Action::Store, Rule::IntRange, 0, 9999, "1000"},
    OwnCommand{"ERRER", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"CRS00", Action::Reboot, Rule::IntRange, 0, 1, "0"},
    OwnCommand{"STRG", Action::Run, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"MLI", Action::Iris, Rule::IntRange, 0, 2, "0"},
    OwnCommand{"MLZ", Action::Store, Rule::IntRange, 0, 2, "0"},
    OwnCommand{"MLF", Action::Store, Rule::IntRange, 0, 2, "0"},
    OwnCommand{"AGRS", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"AWRS", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"WBRS", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"BBRS", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"ASRS", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"LUTSR", Action::LutStep, Rule::IntRange, 0, 4095, "0"},
    OwnCommand{"LUTSG", Action::LutStep, Rule::IntRange, 0, 4095, "0"},
    OwnCommand{"LUTSB", Action::LutStep, Rule::IntRange, 0, 4095, "0"},
    OwnCommand{"SDRS", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"BMRCW", Action::Run, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"TMP0", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "38"},
    OwnCommand{"LD", Action::LoadArea, Rule::IntRange, 0, 3, "0"},
    OwnCommand{"SA", Action::StoreArea, Rule::IntRange, 1, 3, "0"},
    OwnCommand{"EA", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"ULCK", Action::Unlock, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"ID", Action::CameraId, Rule::Text, 0, 10, "VK00000001"},
    OwnCommand{"MD00", Action::ModelId, Rule::Text, 1, 32, ""},
    OwnCommand{"FPVN", Action::Status, Rule::Text, 0, 16, "102"},
    OwnCommand{"UPPW", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"UPBA", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"UPBS", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"UPIN", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"UPFS", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"UPFC", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"UPSD", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"UPWF", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"INTR", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"IWBC", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"FDP00", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"CHAR", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"AWAF", Action::Store, Rule::IntRange, 0, 2, "0"},
    OwnCommand{"WBRFS", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"ABAF", Action::Store, Rule::IntRange, 0, 1, "0"},
    OwnCommand{"BBRFS", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"TATB", Action::Store, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"TATBR", Action::Status, Rule::AnyInt, kNoLimit, kNoLimit, "0"},
    OwnCommand{"XMLVR", Action::Store, Rule::IntRange, 0, 999999, "10000"},
};

// Control-row commands that do more than keep a value. Status values start at `initial`.
struct RowAction {
    std::string_view mnemonic;
    Action action;
    std::string_view initial;
};

constexpr std::array kRowActions = {
    RowAction{"RS", Action::Run, "0"},
    RowAction{"PIS", Action::Status, "0"},
    RowAction{"PCV", Action::Status, "0"},
    RowAction{"SQIDX", Action::Status, "0"},
    RowAction{"SQRST", Action::ResetSequence, "0"},
    RowAction{"BNUM", Action::Status, "0"},
    RowAction{"SA00", Action::StoreFactoryArea, "0"},
    RowAction{"ALCST", Action::Status, "0"},
    RowAction{"FBNUM", Action::Status, "0"},
    RowAction{"FBBNUM", Action::Status, "0"},
    RowAction{"LUTR", Action::Indexed, "0"},
    RowAction{"LUTG", Action::Indexed, "0"},
    RowAction{"LUTB", Action::Indexed, "0"},
    RowAction{"BMPXW", Action::Indexed, "0"},
    RowAction{"BMPYW", Action::Indexed, "0"},
    RowAction{"FBMPXB", Action::Indexed, "0"},
    RowAction{"FBMPYB", Action::Indexed, "0"},
    RowAction{"FBMPXW", Action::Indexed, "0"},
    RowAction{"FBMPYW", Action::Indexed, "0"},
};

// The only value "SA00" takes.
constexpr std::int32_t kFactoryArea = 0;

struct LutCommand {
    std::string_view mnemonic;
    int channel;
};

constexpr std::array kLutCommands = {
    LutCommand{"LUTSR", 0}, LutCommand{"LUTSG", 1}, LutCommand{"LUTSB", 2},
    LutCommand{"LUTR", 0},  LutCommand{"LUTG", 1},  LutCommand{"LUTB", 2},
};

// Automatic functions: setting `trigger` to `value` runs it; `result` reports the outcome,
// busy for a few polls first when `polled`.
struct AutoFunction {
    std::string_view trigger;
    std::int32_t value;
    std::string_view result;
    bool polled;
};

constexpr std::array kAutoFunctions = {
    AutoFunction{"AWB", 1, "AWRS", true},    AutoFunction{"AGC", 2, "AGRS", true},
    AutoFunction{"ASC", 2, "ASRS", true},    AutoFunction{"AWA", 1, "WBRS", false},
    AutoFunction{"ABA", 1, "BBRS", false},   AutoFunction{"AWAF", 1, "WBRFS", false},
    AutoFunction{"ABAF", 1, "BBRFS", false}, AutoFunction{"RS", 0, "SDRS", false},
};

// Commands the camera needs a while for: calibrations and detections.
constexpr std::array<std::string_view, 6> kCalibrations = {"RS",     "BMRCW",  "FBMRCB",
                                                           "FBMRCW", "DSNUVD", "DSNUHD"};
// A gain reset sets these to 0, which for them means their power-on value.
constexpr std::array<std::string_view, 1> kZeroResets = {"FGA"};

// Binning exists only on monochrome cameras.
constexpr std::array<std::string_view, 2> kMonochromeOnly = {"HB", "VB"};

constexpr std::array<std::string_view, 10> kMonochromeModels = {
    "TM-3100CL", "QM-R500MCL",   "VK-14000MCL",   "TM-600CL",     "TM-400CL",
    "TM-401CL",  "RD-3900M-MCL", "VK-26000M-MCL", "VK-4100M-MCL", "VK-4100M-PMCL",
};

int IdOf(std::string_view mnemonic) {
    const auto& mnemonics = CommandTable::Mnemonics();
    const auto it = std::find(mnemonics.begin(), mnemonics.end(), mnemonic);
    return it == mnemonics.end() ? -1 : static_cast<int>(it - mnemonics.begin());
}

void ApplyRange(Behaviour& b, const ControlRow& row) {
    b.rule = row.hasRange ? Rule::IntRange : Rule::AnyInt;
    b.minimum = row.minimum;
    b.maximum = row.maximum;
}

void ApplyControlRows(std::vector<Behaviour>& behaviours) {
    std::vector<int> rowsSeen(behaviours.size(), 0);
    for (const ControlRow& row : ControlRows()) {
        const int id = IdOf(row.mnemonic);
        if (id < 0) {
            continue;
        }
        Behaviour& b = behaviours[static_cast<std::size_t>(id)];
        if (rowsSeen[static_cast<std::size_t>(id)]++ == 0) {
            ApplyRange(b, row);
            b.initial = std::to_string(row.defaultValue);
            b.action = row.button ? Action::Run : Action::Store;
            b.inArea = !row.button;
            b.indexMinimum = row.minimum;
            b.indexMaximum = row.maximum;
        } else {
            // The second row of a two-row command is the value of an indexed entry.
            ApplyRange(b, row);
            b.inArea = false;
        }
    }
}

}  // namespace

std::vector<Behaviour> BuildBehaviours() {
    const auto& mnemonics = CommandTable::Mnemonics();
    const CommandTable commands;
    std::vector<Behaviour> behaviours(mnemonics.size());
    for (std::size_t id = 0; id < mnemonics.size(); ++id) {
        if (commands.Entry(static_cast<CommandId>(id)).kind == ValueKind::String) {
            behaviours[id].rule = Rule::Text;
            behaviours[id].maxLength = 32;
            behaviours[id].initial.clear();
        }
    }
    ApplyControlRows(behaviours);
    for (const OwnCommand& own : kOwnCommands) {
        Behaviour& b = behaviours[static_cast<std::size_t>(IdOf(own.mnemonic))];
        b.action = own.action;
        b.rule = own.rule;
        b.minimum = own.minimum;
        b.maximum = own.rule == Rule::Text ? 0 : own.maximum;
        b.maxLength = own.rule == Rule::Text ? static_cast<std::size_t>(own.maximum) : 0;
        b.initial = std::string(own.initial);
        b.inArea = false;
    }
    for (const RowAction& special : kRowActions) {
        Behaviour& b = behaviours[static_cast<std::size_t>(IdOf(special.mnemonic))];
        b.action = special.action;
        b.initial = std::string(special.initial);
        b.inArea = false;
    }
    behaviours[static_cast<std::size_t>(IdOf("SA00"))].rule = Rule::IntRange;
    behaviours[static_cast<std::size_t>(IdOf("SA00"))].minimum = kFactoryArea;
    behaviours[static_cast<std::size_t>(IdOf("SA00"))].maximum = kFactoryArea;
    for (const LutCommand& lut : kLutCommands) {
        behaviours[static_cast<std::size_t>(IdOf(lut.mnemonic))].lutChannel = lut.channel;
    }
    for (const AutoFunction& fn : kAutoFunctions) {
        Behaviour& trigger = behaviours[static_cast<std::size_t>(IdOf(fn.trigger))];
        const int result = IdOf(fn.result);
        trigger.autoResult = result;
        trigger.autoTrigger = fn.value;
        trigger.autoPolled = fn.polled;
        behaviours[static_cast<std::size_t>(result)].isAutoResult = true;
    }
    for (std::string_view mnemonic : kCalibrations) {
        behaviours[static_cast<std::size_t>(IdOf(mnemonic))].calibration = true;
    }
    for (std::string_view mnemonic : kZeroResets) {
        behaviours[static_cast<std::size_t>(IdOf(mnemonic))].zeroResets = true;
    }
    for (std::string_view mnemonic : kMonochromeOnly) {
        behaviours[static_cast<std::size_t>(IdOf(mnemonic))].monoOnly = true;
    }
    return behaviours;
}

bool IsMonochromeModel(const std::string& model) {
    return std::find(kMonochromeModels.begin(), kMonochromeModels.end(), model) !=
           kMonochromeModels.end();
}

}  // namespace vk::sim
