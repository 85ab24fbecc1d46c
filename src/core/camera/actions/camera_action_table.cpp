#include "core/camera/actions/camera_action_table.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/persist/flash_areas.h"

namespace vk {
namespace {

constexpr int kCalibrationMs = 10000;
constexpr int kAutoStartMs = 10000;
constexpr const char* kCompleted = "Completed";

// Controls an automatic function changes (read again after it) or that it takes over
// (switched off while it runs or keeps running).
constexpr std::array kWhiteBalanceGains = {2470, 2477, 2027, 2033, 2039, 2031, 2037, 2043};
constexpr std::array kTapGains = {2474, 1264, 1838};
constexpr std::array kBlackTaps = {2495, 2431, 2435, 2439, 2446, 2454,
                                   2462, 2444, 2450, 2458, 2466};
constexpr std::array kGain = {1218, 1220};
constexpr std::array kExposure = {1943};
// GA, FGA, AGC, PGR, PGB, BLR1, BLB1: what a gain reset sets to zero.
constexpr std::array kResetGains = {1218, 1220, 4625, 2470, 2477, 2439, 2444};

// A button that sends one value and says nothing unless told.
CameraAction Send(std::string_view name, std::string_view title, std::string_view summary,
                  int controlId, CommandId exchange, std::int32_t value, int timeoutMs) {
    CameraAction a;
    a.name = name;
    a.title = title;
    a.summary = summary;
    a.controlId = controlId;
    a.command = exchange;
    a.value = value;
    a.timeoutMs = timeoutMs;
    return a;
}

CameraAction Calibration(std::string_view name, std::string_view title, std::string_view summary,
                         int controlId, CommandId exchange, bool factoryOnly,
                         std::string_view doneText) {
    CameraAction a = Send(name, title, summary, controlId, exchange, 0, kCalibrationMs);
    a.doneText = doneText;
    a.factoryOnly = factoryOnly;
    a.longRunning = true;
    return a;
}

// An automatic function started from its combo box with the item of `value`.
CameraAction Auto(std::string_view name, std::string_view title, std::string_view summary,
                  int combo, CommandId exchange, std::int32_t value, CommandId result,
                  ResultWait wait, std::string_view caption, std::span<const int> readBack,
                  std::span<const int> related) {
    CameraAction a = Send(name, title, summary, combo, exchange, value, kAutoStartMs);
    a.resultCommand = result;
    a.resultWait = wait;
    a.caption = caption;
    a.readBack = readBack;
    a.related = related;
    a.longRunning = true;
    return a;
}

CameraAction Read(std::string_view name, std::string_view title, std::string_view summary,
                  int controlId, CommandId exchange, int timeoutMs, int field, bool factoryOnly) {
    CameraAction a = Send(name, title, summary, controlId, exchange, 0, timeoutMs);
    a.family = ActionFamily::Read;
    a.fields = {field, 0, 0};
    a.factoryOnly = factoryOnly;
    return a;
}

// The Write and Read buttons of one indexed table.
struct TablePair {
    int write;
    int read;
    int indexField;
    int valueField;
    CommandId command;
    int writeTimeoutMs;
    bool factoryOnly;
};

constexpr std::array kTables = {
    TablePair{2068, 2146, 2056, 2062, Cmd("BMPXW"), 4000, false},
    TablePair{2069, 2147, 2072, 2074, Cmd("BMPYW"), 4000, false},
    TablePair{2151, 2152, 2094, 2096, Cmd("FBMPXB"), 4000, true},
    TablePair{2153, 2154, 2098, 2100, Cmd("FBMPYB"), 4000, true},
    TablePair{4898, 4899, 4894, 4896, Cmd("FBMPXW"), 4000, true},
    TablePair{4904, 4905, 4900, 4902, Cmd("FBMPYW"), 4000, true},
    TablePair{4608, 4607, 4603, 4605, Cmd("LUTR"), 1000, false},
    TablePair{4614, 4613, 4609, 4611, Cmd("LUTG"), 1000, false},
    TablePair{4621, 4620, 4616, 4618, Cmd("LUTB"), 1000, false},
};

CameraAction Table(const TablePair& t, bool write) {
    CameraAction a;
    a.name = write ? "table-write" : "table-read";
    a.title = write ? "Now, writing a table entry." : "Now, reading a table entry.";
    a.summary =
        write ? "writes one entry of an indexed table" : "reads one entry of an indexed table";
    a.family = write ? ActionFamily::TableWrite : ActionFamily::TableRead;
    a.controlId = write ? t.write : t.read;
    a.command = t.command;
    a.timeoutMs = write ? t.writeTimeoutMs : 2500;
    a.fields = {t.indexField, t.valueField, 0};
    a.arguments = write ? "MNEMONIC INDEX VALUE" : "MNEMONIC INDEX";
    a.factoryOnly = t.factoryOnly;
    return a;
}

std::vector<CameraAction> BuildActions() {
    std::vector<CameraAction> v;
    // User A
    v.push_back(Send("soft-trigger", "Now, triggering.", "triggers one image by software", 2598,
                     Cmd("STRG"), 0, 500));
    v.push_back(Auto("white-balance-once", "Balance White Auto",
                     "balances white once and shows the result", 2241, Cmd("AWB"), 1, Cmd("AWRS"),
                     ResultWait::Polled, "Balance White Auto Result", kWhiteBalanceGains,
                     kWhiteBalanceGains));
    v.push_back(Auto("exposure-auto-once", "Exposure Auto",
                     "adjusts the exposure once and shows the result", 4624, Cmd("ASC"), 2,
                     Cmd("ASRS"), ResultWait::Polled, "Exposure Auto Result", kExposure, {}));
    v.back().busy255 = true;
    v.push_back(Auto("gain-tap-balance-once", "Gain Auto Tap Balance",
                     "balances the tap gains once and shows the result", 2304, Cmd("AWA"), 1,
                     Cmd("WBRS"), ResultWait::Once, "Gain Auto Tap Balance Result", kTapGains,
                     kTapGains));
    v.push_back(Auto("gain-auto-once", "Gain Auto", "adjusts the gain once and shows the result",
                     4625, Cmd("AGC"), 2, Cmd("AGRS"), ResultWait::Polled, "Gain Auto Result",
                     kGain, {}));
    v.back().busy255 = true;
    // User B
    v.push_back(Auto("black-tap-balance-once", "Black Level Auto Tap Balance",
                     "balances the tap black levels once and shows the result", 2305, Cmd("ABA"), 1,
                     Cmd("BBRS"), ResultWait::Once, "Black Level Auto Tap Balance Result",
                     kBlackTaps, kBlackTaps));
    v.push_back(Read("read-iris-status", "Now, reading the iris status.", "reads the P-iris status",
                     4629, Cmd("PIS"), 2500, 2605, false));
    v.push_back(Read("read-iris-position", "Now, reading the iris position.",
                     "reads the iris position as an F-number", 4632, Cmd("PCV"), 1000, 4633,
                     false));
    v.back().displayAs = DisplayAs::Iris;
    {
        CameraAction a = Send("recalibrate-shading", "Recalibrate Shading",
                              "recalibrates the shading correction and shows the result", 2047,
                              Cmd("RS"), 0, 20000);
        a.resultCommand = Cmd("SDRS");
        a.resultWait = ResultWait::Once;
        a.caption = "Recalibrate FFC (User)";
        a.longRunning = true;
        v.push_back(a);
    }
    v.push_back(Calibration("recalibrate-white-blemish", "ReCalibrate White",
                            "detects the white blemishes again", 2051, Cmd("BMRCW"), false,
                            kCompleted));
    v.push_back(Read("read-white-blemish-count", "Now, reading the blemish count.",
                     "reads the number of compensated white pixels", 4916, Cmd("BNUM"), 2500, 4917,
                     false));
    // User C
    v.push_back(Read("read-temperature", "Now, reading the temperature.",
                     "reads the sensor temperature", 2070, Cmd("TMP0"), 2500, 1440, false));
    {
        CameraAction a =
            Read("read-alc-status", "Now, reading the ALC status.",
                 "reads the ALC status (raw query)", 2564, Cmd("ALCST"), 2500, 2565, false);
        a.family = ActionFamily::RawRead;
        v.push_back(a);
    }
    // User E
    v.push_back(Read("read-sequence-index", "Now, reading the sequence index.",
                     "reads the current sequence index", 4906, Cmd("SQIDX"), 500, 4907, false));
    v.push_back(Send("reset-sequence", "Now, resetting the sequence.",
                     "sets the sequence back to its first index", 4908, Cmd("SQRST"), 0, 500));
    // Factory A
    {
        CameraAction a;
        a.name = "gain-reset";
        a.title = "Now, resetting the gains.";
        a.summary = "sets GA, FGA, AGC, PGR, PGB, BLR1 and BLB1 to 0 and reads them back";
        a.family = ActionFamily::GainReset;
        a.controlId = 2545;
        a.command = Cmd("GA");
        a.readBack = kResetGains;
        a.doneText = "Completed resetting gain parameters";
        a.factoryOnly = true;
        a.longRunning = true;
        v.push_back(a);
    }
    // Factory B
    v.push_back(Calibration("recalibrate-black-blemish-factory", "ReCalibrate",
                            "detects the black blemishes again (factory table)", 2299,
                            Cmd("FBMRCB"), true, kCompleted));
    v.push_back(Calibration("recalibrate-white-blemish-factory", "ReCalibrate",
                            "detects the white blemishes again (factory table)", 4891,
                            Cmd("FBMRCW"), true, kCompleted));
    v.push_back(Read("read-factory-white-blemish-count", "Now, reading the blemish count.",
                     "reads the number of compensated white pixels (factory table)", 4918,
                     Cmd("FBNUM"), 2500, 4919, true));
    v.push_back(Read("read-factory-black-blemish-count", "Now, reading the blemish count.",
                     "reads the number of compensated black pixels (factory table)", 4920,
                     Cmd("FBBNUM"), 2500, 4921, true));
    // Factory C
    {
        CameraAction a = Send("write-model-id", "Now, writing the model id.",
                              "writes the camera's model id, then checks the model again", 1020,
                              Cmd("MD00"), 0, 3000);
        a.valueFrom = ValueFrom::Text;
        a.doneText = "Succeeded in writting camera model id.";
        a.failedText = "Failed writting camera model id.";
        a.followUp = FollowUp::ModelCheck;
        a.arguments = "MODEL";
        a.factoryOnly = true;
        v.push_back(a);
    }
    {
        CameraAction a = Read("read-xml-version", "Now, reading the XML version.",
                              "reads the XML version", 4934, Cmd("XMLVR"), 2500, 4931, true);
        a.displayAs = DisplayAs::XmlVersion;
        a.fields = {4931, 4932, 4933};
        v.push_back(a);
    }
    {
        CameraAction a = Send("write-xml-version", "Now, writing the XML version.",
                              "writes the XML version", 4935, Cmd("XMLVR"), 0, 10000);
        a.valueFrom = ValueFrom::XmlVersion;
        a.fields = {4931, 4932, 4933};
        a.doneText = "Writing the XML Version has been completed.";
        a.failedText = "Couldn't write the XML Version.";
        a.arguments = "MAJOR MINOR BUILD";
        a.factoryOnly = true;
        a.longRunning = true;
        v.push_back(a);
    }
    {
        CameraAction a =
            Send("camera-reset", "Now, resetting the camera.",
                 "restarts the camera (the desktop tool closes)", 1018, Cmd("CRS00"), 1, 5000);
        a.failedText = "Failed sending \"Camera Reset Command\".";
        a.followUp = FollowUp::CloseTool;
        a.factoryOnly = true;
        v.push_back(a);
    }
    {
        CameraAction a;
        a.name = "store-all";
        a.title = "Now, storing into every area.";
        a.summary = "stores the current settings into areas 3, 2, 1 and 0";
        a.family = ActionFamily::StoreAll;
        a.controlId = 1105;
        a.command = Cmd("SA");
        a.question = kStoreAllQuestion;
        a.factoryOnly = true;
        a.longRunning = true;
        v.push_back(a);
    }
    {
        CameraAction a =
            Send("save-factory-area", "Now, storing into the factory area.",
                 "stores the current settings into the factory area", 2079, Cmd("SA00"),
                 FlashAreas::kFactoryArea, FlashAreas::kFactoryStoreTimeoutMs);
        a.family = ActionFamily::StoreArea;
        a.factoryOnly = true;
        v.push_back(a);
    }
    v.push_back(Calibration("detect-vertical-dsnu", "Detect", "detects the vertical DSNU", 4439,
                            Cmd("DSNUVD"), true, {}));
    v.push_back(Calibration("detect-horizontal-dsnu", "Detect", "detects the horizontal DSNU", 4596,
                            Cmd("DSNUHD"), true, {}));
    for (const TablePair& t : kTables) {
        v.push_back(Table(t, true));
        v.push_back(Table(t, false));
    }
    return v;
}

bool SameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::span<const CameraAction> CameraActions() {
    static const std::vector<CameraAction> actions = BuildActions();
    return actions;
}

bool IsTableAction(const CameraAction& action) {
    return action.family == ActionFamily::TableWrite || action.family == ActionFamily::TableRead;
}

const CameraAction* FindAction(std::string_view name, std::string_view mnemonic) {
    for (const CameraAction& a : CameraActions()) {
        if (a.name != name) continue;
        if (IsTableAction(a) &&
            !SameText(kMnemonics[static_cast<std::size_t>(a.command)], mnemonic)) {
            continue;
        }
        return &a;
    }
    return nullptr;
}

const CameraAction* FindActionByControl(int controlId) {
    for (const CameraAction& a : CameraActions()) {
        if (a.controlId == controlId) return &a;
    }
    return nullptr;
}

std::string CommandsOf(const CameraAction& action) {
    auto mnemonic = [](CommandId id) {
        return std::string(kMnemonics[static_cast<std::size_t>(id)]);
    };
    switch (action.family) {
        case ActionFamily::GainReset:
            return "GA, FGA, AGC, PGR, PGB, BLR1, BLB1";
        case ActionFamily::StoreAll:
            return "SA, SA00";
        case ActionFamily::Read:
        case ActionFamily::RawRead:
        case ActionFamily::TableRead:
            return mnemonic(action.command) + "?";
        default:
            break;
    }
    std::string text = mnemonic(action.command);
    if (action.resultWait != ResultWait::None) text += ", " + mnemonic(action.resultCommand) + "?";
    return text;
}

}  // namespace vk
