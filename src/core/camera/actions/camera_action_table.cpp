#include "core/camera/actions/camera_action_table.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/persist/flash_areas.h"
#include "core/protocol/control_rows.h"

namespace vk {
namespace {

constexpr int kCalibrationMs = 10000;
constexpr int kAutoStartMs = 10000;
constexpr const char* kCompleted = "Completed";

// Controls an automatic function changes (read again after it) or that it takes over
// (switched off while it runs or keeps running).
constexpr auto kWhiteBalanceGains =
    ControlIds({Cmd("PGR"), Cmd("PGB"), Cmd("PGR2"), Cmd("PGR3"), Cmd("PGR4"), Cmd("PGB2"),
                Cmd("PGB3"), Cmd("PGB4")});
constexpr auto kTapGains = ControlIds({Cmd("GJUT2"), Cmd("GJUT3"), Cmd("GJUT4")});
constexpr auto kBlackTaps =
    ControlIds({Cmd("BL2"), Cmd("BL3"), Cmd("BL4"), Cmd("BLR1"), Cmd("BLR2"), Cmd("BLR3"),
                Cmd("BLR4"), Cmd("BLB1"), Cmd("BLB2"), Cmd("BLB3"), Cmd("BLB4")});
constexpr auto kGain = ControlIds({Cmd("GA"), Cmd("FGA")});
constexpr auto kExposure = ControlIds({Cmd("PE")});
// What a gain reset sets to zero.
constexpr auto kResetGains = ControlIds(
    {Cmd("GA"), Cmd("FGA"), Cmd("AGC"), Cmd("PGR"), Cmd("PGB"), Cmd("BLR1"), Cmd("BLB1")});

// A button that sends one value and says nothing unless told.
CameraAction Send(std::string_view name, std::string_view title, std::string_view summary,
                  Control control, CommandId exchange, std::int32_t value, int timeoutMs) {
    CameraAction a;
    a.name = name;
    a.title = title;
    a.summary = summary;
    a.controlId = control.id;
    a.command = exchange;
    a.value = value;
    a.timeoutMs = timeoutMs;
    return a;
}

CameraAction Calibration(std::string_view name, std::string_view title, std::string_view summary,
                         Control control, CommandId exchange, bool factoryOnly,
                         std::string_view doneText) {
    CameraAction a = Send(name, title, summary, control, exchange, 0, kCalibrationMs);
    a.doneText = doneText;
    a.factoryOnly = factoryOnly;
    a.longRunning = true;
    return a;
}

// An automatic function started from its combo box with the item of `value`.
CameraAction Auto(std::string_view name, std::string_view title, std::string_view summary,
                  Control combo, CommandId exchange, std::int32_t value, CommandId result,
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
                  Control control, CommandId exchange, int timeoutMs, ControlName field,
                  bool factoryOnly) {
    CameraAction a = Send(name, title, summary, control, exchange, 0, timeoutMs);
    a.family = ActionFamily::Read;
    a.fields = {field.id, 0, 0};
    a.factoryOnly = factoryOnly;
    return a;
}

// The Write and Read buttons of one indexed table; its index and value fields are the
// table's two rows.
struct TablePair {
    consteval TablePair(ControlName write, ControlName read, CommandId command, int writeTimeoutMs,
                        bool factoryOnly)
        : write(write.id),
          read(read.id),
          indexField(ControlIdOf(command, true)),
          valueField(ControlIdOf(command, false)),
          command(command),
          writeTimeoutMs(writeTimeoutMs),
          factoryOnly(factoryOnly) {}
    int write;
    int read;
    int indexField;
    int valueField;
    CommandId command;
    int writeTimeoutMs;
    bool factoryOnly;
};

using namespace controls;
constexpr std::array kTables = {
    TablePair{kWhiteHorizontalWrite, kWhiteHorizontalRead, Cmd("BMPXW"), 4000, false},
    TablePair{kWhiteVerticalWrite, kWhiteVerticalRead, Cmd("BMPYW"), 4000, false},
    TablePair{kBlackHorizontalWrite, kBlackHorizontalRead, Cmd("FBMPXB"), 4000, true},
    TablePair{kBlackVerticalWrite, kBlackVerticalRead, Cmd("FBMPYB"), 4000, true},
    TablePair{kFactoryWhiteHorizontalWrite, kFactoryWhiteHorizontalRead, Cmd("FBMPXW"), 4000, true},
    TablePair{kFactoryWhiteVerticalWrite, kFactoryWhiteVerticalRead, Cmd("FBMPYW"), 4000, true},
    TablePair{kLutRedWrite, kLutRedRead, Cmd("LUTR"), 1000, false},
    TablePair{kLutGreenWrite, kLutGreenRead, Cmd("LUTG"), 1000, false},
    TablePair{kLutBlueWrite, kLutBlueRead, Cmd("LUTB"), 1000, false},
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
    v.push_back(Send("soft-trigger", "Now, triggering.", "triggers one image by software",
                     kSoftTrigger, Cmd("STRG"), 0, 500));
    v.push_back(Auto("white-balance-once", "Balance White Auto",
                     "balances white once and shows the result", Cmd("AWB"), Cmd("AWB"), 1,
                     Cmd("AWRS"), ResultWait::Polled, "Balance White Auto Result",
                     kWhiteBalanceGains, kWhiteBalanceGains));
    v.push_back(Auto("exposure-auto-once", "Exposure Auto",
                     "adjusts the exposure once and shows the result", Cmd("ASC"), Cmd("ASC"), 2,
                     Cmd("ASRS"), ResultWait::Polled, "Exposure Auto Result", kExposure, {}));
    v.back().busy255 = true;
    v.push_back(Auto("gain-tap-balance-once", "Gain Auto Tap Balance",
                     "balances the tap gains once and shows the result", Cmd("AWA"), Cmd("AWA"), 1,
                     Cmd("WBRS"), ResultWait::Once, "Gain Auto Tap Balance Result", kTapGains,
                     kTapGains));
    v.push_back(Auto("gain-auto-once", "Gain Auto", "adjusts the gain once and shows the result",
                     Cmd("AGC"), Cmd("AGC"), 2, Cmd("AGRS"), ResultWait::Polled, "Gain Auto Result",
                     kGain, {}));
    v.back().busy255 = true;
    // User B
    v.push_back(Auto("black-tap-balance-once", "Black Level Auto Tap Balance",
                     "balances the tap black levels once and shows the result", Cmd("ABA"),
                     Cmd("ABA"), 1, Cmd("BBRS"), ResultWait::Once,
                     "Black Level Auto Tap Balance Result", kBlackTaps, kBlackTaps));
    v.push_back(Read("read-iris-status", "Now, reading the iris status.", "reads the P-iris status",
                     Cmd("PIS"), Cmd("PIS"), 2500, kIrisStatus, false));
    v.push_back(Read("read-iris-position", "Now, reading the iris position.",
                     "reads the iris position as an F-number", Cmd("PCV"), Cmd("PCV"), 1000,
                     kIrisPosition, false));
    v.back().displayAs = DisplayAs::Iris;
    {
        CameraAction a = Send("recalibrate-shading", "Recalibrate Shading",
                              "recalibrates the shading correction and shows the result", Cmd("RS"),
                              Cmd("RS"), 0, 20000);
        a.resultCommand = Cmd("SDRS");
        a.resultWait = ResultWait::Once;
        a.caption = "Recalibrate FFC (User)";
        a.longRunning = true;
        v.push_back(a);
    }
    v.push_back(Calibration("recalibrate-white-blemish", "ReCalibrate White",
                            "detects the white blemishes again", kRecalibrateWhite, Cmd("BMRCW"),
                            false, kCompleted));
    v.push_back(Read("read-white-blemish-count", "Now, reading the blemish count.",
                     "reads the number of compensated white pixels", Cmd("BNUM"), Cmd("BNUM"), 2500,
                     kWhiteBlemishCount, false));
    // User C
    v.push_back(Read("read-temperature", "Now, reading the temperature.",
                     "reads the sensor temperature", kReadTemperature, Cmd("TMP0"), 2500,
                     kTemperature, false));
    {
        CameraAction a = Read("read-alc-status", "Now, reading the ALC status.",
                              "reads the ALC status (raw query)", Cmd("ALCST"), Cmd("ALCST"), 2500,
                              kAlcStatus, false);
        a.family = ActionFamily::RawRead;
        v.push_back(a);
    }
    // User E
    v.push_back(Read("read-sequence-index", "Now, reading the sequence index.",
                     "reads the current sequence index", Cmd("SQIDX"), Cmd("SQIDX"), 500,
                     kSequenceIndex, false));
    v.push_back(Send("reset-sequence", "Now, resetting the sequence.",
                     "sets the sequence back to its first index", Cmd("SQRST"), Cmd("SQRST"), 0,
                     500));
    // Factory A
    {
        CameraAction a;
        a.name = "gain-reset";
        a.title = "Now, resetting the gains.";
        a.summary = "sets GA, FGA, AGC, PGR, PGB, BLR1 and BLB1 to 0 and reads them back";
        a.family = ActionFamily::GainReset;
        a.controlId = kGainReset.id;
        a.command = Cmd("GA");
        a.readBack = kResetGains;
        a.doneText = "Completed resetting gain parameters";
        a.factoryOnly = true;
        a.longRunning = true;
        v.push_back(a);
    }
    // Factory B
    v.push_back(Calibration("recalibrate-black-blemish-factory", "ReCalibrate",
                            "detects the black blemishes again (factory table)", Cmd("FBMRCB"),
                            Cmd("FBMRCB"), true, kCompleted));
    v.push_back(Calibration("recalibrate-white-blemish-factory", "ReCalibrate",
                            "detects the white blemishes again (factory table)", Cmd("FBMRCW"),
                            Cmd("FBMRCW"), true, kCompleted));
    v.push_back(Read("read-factory-white-blemish-count", "Now, reading the blemish count.",
                     "reads the number of compensated white pixels (factory table)", Cmd("FBNUM"),
                     Cmd("FBNUM"), 2500, kFactoryWhiteCount, true));
    v.push_back(Read("read-factory-black-blemish-count", "Now, reading the blemish count.",
                     "reads the number of compensated black pixels (factory table)", Cmd("FBBNUM"),
                     Cmd("FBBNUM"), 2500, kFactoryBlackCount, true));
    // Factory C
    {
        CameraAction a = Send("write-model-id", "Now, writing the model id.",
                              "writes the camera's model id, then checks the model again",
                              kWriteModelId, Cmd("MD00"), 0, 3000);
        a.valueFrom = ValueFrom::Text;
        a.doneText = "Succeeded in writting camera model id.";
        a.failedText = "Failed writting camera model id.";
        a.followUp = FollowUp::ModelCheck;
        a.arguments = "MODEL";
        a.factoryOnly = true;
        v.push_back(a);
    }
    {
        CameraAction a =
            Read("read-xml-version", "Now, reading the XML version.", "reads the XML version",
                 kReadXmlVersion, Cmd("XMLVR"), 2500, kXmlVersionMajor, true);
        a.displayAs = DisplayAs::XmlVersion;
        a.fields = {kXmlVersionMajor.id, kXmlVersionMinor.id, kXmlVersionBuild.id};
        v.push_back(a);
    }
    {
        CameraAction a = Send("write-xml-version", "Now, writing the XML version.",
                              "writes the XML version", kWriteXmlVersion, Cmd("XMLVR"), 0, 10000);
        a.valueFrom = ValueFrom::XmlVersion;
        a.fields = {kXmlVersionMajor.id, kXmlVersionMinor.id, kXmlVersionBuild.id};
        a.doneText = "Writing the XML Version has been completed.";
        a.failedText = "Couldn't write the XML Version.";
        a.arguments = "MAJOR MINOR BUILD";
        a.factoryOnly = true;
        a.longRunning = true;
        v.push_back(a);
    }
    {
        CameraAction a = Send("camera-reset", "Now, resetting the camera.",
                              "restarts the camera (the desktop tool closes)", kCameraReset,
                              Cmd("CRS00"), 1, 5000);
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
        a.controlId = kStoreAll.id;
        a.command = Cmd("SA");
        a.question = kStoreAllQuestion;
        a.factoryOnly = true;
        a.longRunning = true;
        v.push_back(a);
    }
    {
        CameraAction a =
            Send("save-factory-area", "Now, storing into the factory area.",
                 "stores the current settings into the factory area", Cmd("SA00"), Cmd("SA00"),
                 FlashAreas::kFactoryArea, FlashAreas::kFactoryStoreTimeoutMs);
        a.family = ActionFamily::StoreArea;
        a.factoryOnly = true;
        v.push_back(a);
    }
    v.push_back(Calibration("detect-vertical-dsnu", "Detect", "detects the vertical DSNU",
                            Cmd("DSNUVD"), Cmd("DSNUVD"), true, {}));
    v.push_back(Calibration("detect-horizontal-dsnu", "Detect", "detects the horizontal DSNU",
                            Cmd("DSNUHD"), Cmd("DSNUHD"), true, {}));
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
