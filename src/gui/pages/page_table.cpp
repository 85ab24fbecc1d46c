#include "gui/pages/page_table.h"

#include <array>

#include "core/protocol/control_rows.h"
#include "gui/pages/combo_items.h"

namespace vk::gui {
namespace {

using namespace items;

// The table is written as a flat list of lines: a page line, then its groups, each group
// with its sections and rows. Fold() turns it into the nested PageLayout list.
struct Line {
    enum Type { kPage, kGroup, kSection, kRow } type;
    int page = 0;
    const char* text = nullptr;
    std::vector<std::string> columns;
    TableRow row;
};

Line Page(int index) {
    return {Line::kPage, index, nullptr, {}, {}};
}
Line Group(const char* caption) {
    return {Line::kGroup, 0, caption, {}, {}};
}
Line Form(const char* caption = nullptr) {
    return {Line::kSection, 0, caption, {}, {}};
}
Line Grid(const char* caption, std::vector<std::string> columns) {
    return {Line::kSection, 0, caption, std::move(columns), {}};
}
Line Row(std::string label, std::vector<Cell> cells) {
    return {Line::kRow, 0, nullptr, {}, {std::move(label), std::move(cells)}};
}
Line Row(std::string label, Cell cell) {
    return Row(std::move(label), std::vector<Cell>{cell});
}
template <std::size_t N>
Line Row(std::string label, const std::array<Cell, N>& cells) {
    return Row(std::move(label), std::vector<Cell>(cells.begin(), cells.end()));
}

// The cells name a control-table row by its command (checked while compiling: the row must
// be of the kind the widget edits), or a control without a command by its name.
using CheckRow = RowOf<ControlKind::Check>;
using RadioRow = RowOf<ControlKind::Radio>;
using ComboRow = RowOf<ControlKind::Combo>;
using EditRow = RowOf<ControlKind::Edit>;
using ButtonRow = RowOf<ControlKind::Button>;
// In a list of cells: leaves the grid cell empty.
constexpr CommandId kEmpty = kNoCommand;

constexpr Cell Check(CheckRow row) {
    return {row.id, WidgetKind::Check};
}
Cell Radio(RadioRow row, const ItemList& captions) {
    return {row.id, WidgetKind::Radio, &captions};
}
Cell Combo(ComboRow row, const ItemList& list) {
    return {row.id, WidgetKind::Combo, &list};
}
Cell Combo(ControlName name, const ItemList& list) {
    return {name.id, WidgetKind::Combo, &list};
}
constexpr Cell Spin(EditRow row) {
    return {row.id, WidgetKind::Spin};
}
Cell Button(ButtonRow row, const char* caption) {
    return {row.id, WidgetKind::Button, nullptr, caption};
}
Cell Button(ControlName name, const char* caption) {
    return {name.id, WidgetKind::Button, nullptr, caption};
}
Cell Display(ControlName name) {
    return {name.id, WidgetKind::Display};
}
Cell Display(const char* name) {
    return {0, WidgetKind::Display, nullptr, name};
}
Cell Text(ControlName name) {
    return {name.id, WidgetKind::Text};
}

// One cell for each command of a run.
template <std::size_t N>
consteval std::array<Cell, N> Spins(std::array<CommandId, N> commands) {
    std::array<Cell, N> cells{};
    for (std::size_t i = 0; i < N; ++i)
        cells[i] = commands[i] == kEmpty ? Cell{} : Spin(commands[i]);
    return cells;
}
template <std::size_t N>
consteval std::array<Cell, N> Spins(const CommandId (&commands)[N]) {
    return Spins(std::to_array(commands));
}
template <std::size_t N>
consteval std::array<Cell, N> Combos(std::array<CommandId, N> commands, const ItemList& list) {
    std::array<Cell, N> cells{};
    for (std::size_t i = 0; i < N; ++i)
        cells[i] = {ComboRow(commands[i]).id, WidgetKind::Combo, &list};
    return cells;
}
template <std::size_t N>
consteval std::array<Cell, N> Checks(const CommandId (&commands)[N]) {
    std::array<Cell, N> cells{};
    for (std::size_t i = 0; i < N; ++i)
        cells[i] = Check(commands[i]);
    return cells;
}
std::vector<std::string> Numbered(const char* prefix, int count, int first = 1) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(std::string(prefix) + std::to_string(first + i));
    return names;
}

const std::vector<std::string> kAreaColumns = {"Left", "Mid left", "Mid right", "Right"};
const std::vector<std::string> kTapColumns = Numbered("Tap ", 4);
const std::vector<std::string> kUpperTapColumns = Numbered("Tap ", 3, 2);
const std::vector<std::string> kIndexedEntryColumns = {"Index", "Value", "", ""};

// clang-format off
const std::vector<Line>& Lines() {
    static const std::vector<Line> lines = {
        Page(0),
        Group("Trigger control Operation"),
        Row("Trigger operation", Combo(Cmd("TRGOP"), kTriggerOperation)),
        Row("Trigger mode", Combo(Cmd("TM"), kTriggerMode)),
        Row("Trigger overlap", Combo(Cmd("TO"), kTriggerOverlap)),
        Row("Trigger source", Combo(Cmd("TI"), kTriggerSource)),
        Row("Trigger activation", Combo(Cmd("TA"), kTriggerActivation)),
        Row("Trigger debounce", Combo(Cmd("TD"), kOffOn)),
        Row("", Button(controls::kSoftTrigger, "Soft Trigger")),
        Group("Acquisition control Operation"),
        Row("Exposure mode", Combo(Cmd("EM"), kExposureMode)),
        Row("Exposure time [µs]", Spin(Cmd("PE"))),
        Row("Frame period [µs]", Spin(Cmd("ART"))),
        Group("Balance White Auto"),
        Row("Balance white auto", Combo(Cmd("AWB"), kBalanceWhiteAuto)),
        Group("Exposure Control Operation"),
        Row("Exposure auto", Combo(Cmd("ASC"), kAutoContinuousOnce)),
        Row("Auto maximum [µs]", Spin(Cmd("ASCEA"))),
        Row("Auto minimum [µs]", Spin(Cmd("ASCEI"))),
        Row("Exposure", Display("exposureDisplay")),
        Group("Image format Operation"),
        Row("Binning horizontal", Combo(Cmd("HB"), kBinning)),
        Row("Binning vertical", Combo(Cmd("VB"), kBinning)),
        Row("Binning mode", Combo(Cmd("BINN"), kBinningMode)),
        Row("Tap geometry", Combo(Cmd("TAGM"), kTapGeometry)),
        Row("Sensor bit depth", Combo(Cmd("SBS"), kSensorBits)),
        Row("Sensor partial output", Combo(Cmd("SPO"), kOffOn)),
        Group("Gain"),
        Form("Manual"),
        Row("Gain", Spin(Cmd("GA"))),
        Row("Fine gain [1/100]", Spin(Cmd("FGA"))),
        Row("Red gain", Spin(Cmd("PGR"))),
        Row("Blue gain", Spin(Cmd("PGB"))),
        Row("Gain auto tap balance", Combo(Cmd("AWA"), kGainAutoTapBalance)),
        Row("Tap gain adjust", Combo(Cmd("PGS"), kOffOn)),
        Grid(nullptr, kUpperTapColumns),
        Row("Gain", Spins({Cmd("GJUT2"), Cmd("GJUT3"), Cmd("GJUT4")})),
        Row("Red gain", Spins({Cmd("PGR2"), Cmd("PGR3"), Cmd("PGR4")})),
        Row("Blue gain", Spins({Cmd("PGB2"), Cmd("PGB3"), Cmd("PGB4")})),
        Form("Continuous"),
        Row("Gain auto", Combo(Cmd("AGC"), kAutoContinuousOnce)),
        Row("Frame interval", Spin(Cmd("AGCF"))),
        Row("Auto maximum [1/100]", Spin(Cmd("AGCGA"))),
        Row("Auto minimum [1/100]", Spin(Cmd("AGCGI"))),
        Row("Auto speed", Spin(Cmd("AGCS"))),
        Row("Gain", Display("gainDisplay")),
        Group("Alc Reference"),
        Row("ALC reference", Combo(Cmd("BA"), kAlcReference)),
        Row("Offset level", Spin(Cmd("OFL"))),
        Row("Target level", Spin(Cmd("HTL"))),
        Row("Continuous offset level", Spin(Cmd("OFC"))),
        Row("Continuous target level", Spin(Cmd("WTC"))),
        Group("Black Level All"),
        Row("Black level", Spin(Cmd("BL"))),
        Row("Black offset", Spin(Cmd("BOF"))),
        Group("Video Send Mode"),
        Row("Video send mode", Combo(Cmd("VSM"), kVideoSendMode)),
        Group("Video Process Bypass"),
        Row("Video process bypass", Combo(Cmd("VPB"), kOffOn)),
        Row("Noise reduction", Combo(Cmd("NR"), kOffOn)),
        Group("Test Image Selector"),
        Row("Test image", Combo(Cmd("TPN"), kTestImage)),

        Page(1),
        Group("Black Level Control "),
        Row("Black level auto tap balance", Combo(Cmd("ABA"), kBlackAutoTapBalance)),
        Grid(nullptr, kTapColumns),
        Row("Black level", Spins({kEmpty, Cmd("BL2"), Cmd("BL3"), Cmd("BL4")})),
        Row("Red", Spins({Cmd("BLR1"), Cmd("BLR2"), Cmd("BLR3"), Cmd("BLR4")})),
        Row("Blue", Spins({Cmd("BLB1"), Cmd("BLB2"), Cmd("BLB3"), Cmd("BLB4")})),
        Group("PIris"),
        Row("P-iris lens", Combo(Cmd("PLS"), kPirisLens)),
        Row("P-iris position", Spin(Cmd("PIP"))),
        Row("P-iris F step", Spin(Cmd("PIF"))),
        Row("Iris minimum", Combo(Cmd("PLI"), kIrisPosition)),
        Row("Iris maximum", Combo(Cmd("PLA"), kIrisPosition)),
        Row("Lens step minimum", Spin(Cmd("PLSI"))),
        Row("Lens step maximum", Spin(Cmd("PLSA"))),
        Row("Lens step limit", Spin(Cmd("PLSL"))),
        Row("Iris status", {Display(controls::kIrisStatus), Button(Cmd("PIS"), "Read")}),
        Row("Iris position", {Display(controls::kIrisPosition), Button(Cmd("PCV"), "Read")}),
        Group("Auto Iris"),
        Row("Auto iris", Combo(Cmd("AIC"), kOffOn)),
        Row("Auto iris signal", Combo(Cmd("AIS"), kIrisSignal)),
        Row("Iris control", Combo(Cmd("ISC"), kOffOn)),
        Row("Iris gain", Combo(Cmd("IRRG"), kIrisGain)),
        Row("Iris level", Spin(Cmd("ISL"))),
        Group("Shading Correction"),
        Row("Shading correction", Combo(Cmd("SDM"), kOffOn)),
        Row("Correction data", Combo(Cmd("SDCM"), kShadingMode)),
        Row("", Button(Cmd("RS"), "Recalibrate Shading")),
        Group("Blemish"),
        Row("White blemish correction", Combo(Cmd("BMW"), kOffOn)),
        Row("", Button(controls::kRecalibrateWhite, "ReCalibrate White")),
        Form("White Horizontal Address"),
        Row("Index", Spin(Index(Cmd("BMPXW")))),
        Row("Address", Spin(Cmd("BMPXW"))),
        Row("", {Button(controls::kWhiteHorizontalWrite, "Write"), Button(controls::kWhiteHorizontalRead, "Read")}),
        Form("White Vertical Address"),
        Row("Index", Spin(Index(Cmd("BMPYW")))),
        Row("Address", Spin(Cmd("BMPYW"))),
        Row("", {Button(controls::kWhiteVerticalWrite, "Write"), Button(controls::kWhiteVerticalRead, "Read")}),
        Form("Threshold White"),
        Row("Threshold", Spin(Cmd("BMTHW"))),
        Form("Compensation number"),
        Row("Compensated pixels", {Display(controls::kWhiteBlemishCount), Button(Cmd("BNUM"), "Read")}),
        Group("Motor Lens"),
        Row("Lens buttons", Button(controls::kLensControl, "Control")),

        Page(2),
        Group("ALC Channel Area"),
        Row("Use area selection", Check(Cmd("ALCA"))),
        Grid(nullptr, kAreaColumns),
        Row("High", Checks({Cmd("ALCHL"), Cmd("ALCHML"), Cmd("ALCHMR"), Cmd("ALCHR")})),
        Row("Mid high", Checks({Cmd("ALCMHL"), Cmd("ALCMHML"), Cmd("ALCMHMR"), Cmd("ALCMHR")})),
        Row("Mid low", Checks({Cmd("ALCMLL"), Cmd("ALCMLML"), Cmd("ALCMLMR"), Cmd("ALCMLR")})),
        Row("Low", Checks({Cmd("ALCLL"), Cmd("ALCLML"), Cmd("ALCLMR"), Cmd("ALCLR")})),
        Group("AWB Channel Area"),
        Row("Use area selection", Check(Cmd("AWBA"))),
        Grid(nullptr, kAreaColumns),
        Row("High", Checks({Cmd("AWBHL"), Cmd("AWBHML"), Cmd("AWBHMR"), Cmd("AWBHR")})),
        Row("Mid high", Checks({Cmd("AWBMHL"), Cmd("AWBMHML"), Cmd("AWBMHMR"), Cmd("AWBMHR")})),
        Row("Mid low", Checks({Cmd("AWBMLL"), Cmd("AWBMLML"), Cmd("AWBMLMR"), Cmd("AWBMLR")})),
        Row("Low", Checks({Cmd("AWBLL"), Cmd("AWBLML"), Cmd("AWBLMR"), Cmd("AWBLR")})),
        Group("CL Clock Frequency"),
        Row("Pixel clock", Combo(Cmd("CLCF"), kClockFrequency)),
        Group("Temperature"),
        Row("Sensor temperature [°C]", {Display(controls::kTemperature), Button(controls::kReadTemperature, "Get")}),
        Group("LUT"),
        Row("LUT selector", Combo(Cmd("LUTC"), kLutSelector)),
        Row("Gamma", Spin(Cmd("GMA"))),
        Row("", Button(controls::kOpenLutTable, "Open LUT Table")),
        Grid("LUT entry", kIndexedEntryColumns),
        Row("Red", {Spin(Index(Cmd("LUTR"))), Spin(Cmd("LUTR")), Button(controls::kLutRedWrite, "Write"), Button(controls::kLutRedRead, "Read")}),
        Row("Green", {Spin(Index(Cmd("LUTG"))), Spin(Cmd("LUTG")), Button(controls::kLutGreenWrite, "Write"), Button(controls::kLutGreenRead, "Read")}),
        Row("Blue", {Spin(Index(Cmd("LUTB"))), Spin(Cmd("LUTB")), Button(controls::kLutBlueWrite, "Write"), Button(controls::kLutBlueRead, "Read")}),
        Group("ALC Status"),
        Row("ALC status", {Display(controls::kAlcStatus), Button(Cmd("ALCST"), "Read")}),

        Page(3),
        Group("Pulse Generator Clock"),
        Row("Clock divider", Spin(Cmd("PGDEV"))),
        Group("Pulse Generator 0"),
        Row("Length", Spin(Cmd("PGL0"))),
        Row("Start", Spin(Cmd("PGST0"))),
        Row("End", Spin(Cmd("PGEN0"))),
        Row("Repeat count", Spin(Cmd("PGRPT0"))),
        Row("Clear mode", Combo(Cmd("PGCM0"), kClearMode)),
        Row("Trigger mode", Combo(Cmd("PGSM0"), kPulseTriggerMode)),
        Row("Input", Combo(Cmd("PGIN0"), Numbers(0, 18))),
        Row("Input inverter", Combo(Cmd("PGINV0"), kOffOn)),
        Group("Pulse Generator 1"),
        Row("Length", Spin(Cmd("PGL1"))),
        Row("Start", Spin(Cmd("PGST1"))),
        Row("End", Spin(Cmd("PGEN1"))),
        Row("Repeat count", Spin(Cmd("PGRPT1"))),
        Row("Clear mode", Combo(Cmd("PGCM1"), kClearMode)),
        Row("Trigger mode", Combo(Cmd("PGSM1"), kPulseTriggerMode)),
        Row("Input", Combo(Cmd("PGIN1"), Numbers(0, 18))),
        Row("Input inverter", Combo(Cmd("PGINV1"), kOffOn)),
        Group("Pulse Generator 2"),
        Row("Length", Spin(Cmd("PGL2"))),
        Row("Start", Spin(Cmd("PGST2"))),
        Row("End", Spin(Cmd("PGEN2"))),
        Row("Repeat count", Spin(Cmd("PGRPT2"))),
        Row("Clear mode", Combo(Cmd("PGCM2"), kClearMode)),
        Row("Trigger mode", Combo(Cmd("PGSM2"), kPulseTriggerMode)),
        Row("Input", Combo(Cmd("PGIN2"), Numbers(0, 18))),
        Row("Input inverter", Combo(Cmd("PGINV2"), kOffOn)),
        Group("Pulse Generator 3"),
        Row("Length", Spin(Cmd("PGL3"))),
        Row("Start", Spin(Cmd("PGST3"))),
        Row("End", Spin(Cmd("PGEN3"))),
        Row("Repeat count", Spin(Cmd("PGRPT3"))),
        Row("Clear mode", Combo(Cmd("PGCM3"), kClearMode)),
        Row("Trigger mode", Combo(Cmd("PGSM3"), kPulseTriggerMode)),
        Row("Input", Combo(Cmd("PGIN3"), Numbers(0, 18))),
        Row("Input inverter", Combo(Cmd("PGINV3"), kOffOn)),
        Group("NAND0 Input"),
        Row("Input 1", Combo(Cmd("ND0IN1"), kNandSource)),
        Row("Input 1 inverter", Combo(Cmd("ND0INV1"), kOffOn)),
        Row("Input 2", Combo(Cmd("ND0IN2"), kNandSource)),
        Row("Input 2 inverter", Combo(Cmd("ND0INV2"), kOffOn)),
        Group("NAND1 Input"),
        Row("Input 1", Combo(Cmd("ND1IN1"), kNandSource)),
        Row("Input 1 inverter", Combo(Cmd("ND1INV1"), kOffOn)),
        Row("Input 2", Combo(Cmd("ND1IN2"), kNandSource)),
        Row("Input 2 inverter", Combo(Cmd("ND1INV2"), kOffOn)),
        Group("TTL Output"),
        Grid(nullptr, {"Source", "Inverter"}),
        Row("Output 0", {Combo(Cmd("LS0"), kLineSource), Combo(Cmd("LI0"), kOffOn)}),
        Row("Output 1", {Combo(Cmd("LS1"), kLineSource), Combo(Cmd("LI1"), kOffOn)}),
        Row("Output 2", {Combo(Cmd("LS2"), kLineSource), Combo(Cmd("LI2"), kOffOn)}),

        Page(4),
        Group("Sequence mode settings"),
        Row("Sequence control", Combo(Cmd("CSQI"), kOffOn)),
        Row("Repeat count", Spin(Cmd("SQR"))),
        Row("LUT switching", Combo(Cmd("SQLUT"), kOffOn)),
        Row("Current index", {Display(controls::kSequenceIndex), Button(Cmd("SQIDX"), "Read Index"), Button(Cmd("SQRST"), "Reset")}),
        Grid(nullptr, Numbered("Seq ", 10)),
        Row("Frame count", Spins(Series<10>("SQF"))),
        Row("Next sequence", Combos(Series<10>("SQNI"), kNextSequence)),
        Row("Binning horizontal", Combos(Series<10>("SQHB"), kBinning)),
        Row("Binning vertical", Combos(Series<10>("SQVB"), kBinning)),
        Row("Width", Spins(Series<10>("SQW"))),
        Row("Height", Spins(Series<10>("SQH"))),
        Row("Offset X", Spins(Series<10>("SQOX"))),
        Row("Offset Y", Spins(Series<10>("SQOY"))),
        Row("Fine gain [1/100]", Spins(Series<10>("SQGA"))),
        Row("Exposure time [µs]", Spins(Series<10>("SQPE"))),
        Row("LUT", Combos(Series<10>("SQLUT"), kLutSelector)),
        Row("Black level", Spins(Series<10>("SQBL"))),
        Row("Red gain", Spins(Series<10>("SQPGR"))),
        Row("Blue gain", Spins(Series<10>("SQPGB"))),

        Page(5),
        Group("Multi AOI"),
        Row("Number of areas", Spin(Cmd("MRIM"))),
        Row("Width", Spin(Cmd("MRW"))),
        Grid(nullptr, Numbered("Area ", 8)),
        Row("Offset X", Spins(Series<8>("MROX"))),
        Row("Offset Y", Spins(Series<8>("MROY"))),
        Row("Height", Spins(Series<8>("MRH"))),
        Group("High Dynamic Range"),
        Row("High dynamic range", Combo(Cmd("HES"), kOffOn)),
        Row("Knee slope", Combo(Cmd("HKS"), kKneeSlope)),
        Row("Anti-blooming", Combo(Cmd("ABG"), kOffOn)),

        Page(6),
        Group("Gain Auto Tap Balance for Factory"),
        Row("Tap balance mode", Combo(Cmd("ATM"), Numbers(0, 7))),
        Row("Tap balance frames", Combo(Cmd("FFK"), Numbers(0, 4))),
        Row("Tap balance gain", Combo(Cmd("BAG"), kOffOn)),
        Row("Upper limit", Spin(Cmd("ATLA"))),
        Row("Lower limit", Spin(Cmd("ATLI"))),
        Row("Window left", Spin(Cmd("WEHL"))),
        Row("Window right", Spin(Cmd("WEHH"))),
        Row("Window top", Spin(Cmd("WEVL"))),
        Row("Window bottom", Spin(Cmd("WEVH"))),
        Row("Fine gain reference", Spin(Cmd("FGAF"))),
        Row("Fine gain adjust", Spin(Cmd("FGAFA"))),
        Grid(nullptr, kTapColumns),
        Row("Gain", Spins({Cmd("GA01"), Cmd("GA02"), Cmd("GA03"), Cmd("GA04")})),
        Row("Fine gain", Spins({kEmpty, Cmd("GF2"), Cmd("GF3"), Cmd("GF4")})),
        Form(),
        Row("", Button(controls::kGainReset, "Gain Reset")),
        Group("Black Level for Factory"),
        Row("Black level", Spin(Cmd("BLF"))),
        Row("Black level auto setting", Combo(Cmd("BAS00"), kOffOn)),
        Grid(nullptr, kTapColumns),
        Row("Black level", Spins({kEmpty, Cmd("BLF2"), Cmd("BLF3"), Cmd("BLF4")})),
        Row("Red", Spins({Cmd("BLFR1"), Cmd("BLFR2"), Cmd("BLFR3"), Cmd("BLFR4")})),
        Row("Blue", Spins({Cmd("BLFB1"), Cmd("BLFB2"), Cmd("BLFB3"), Cmd("BLFB4")})),
        Form("Clamp"),
        Row("Clamp mode", Combo(Cmd("BOCMD"), kClampMode)),
        Grid(nullptr, kTapColumns),
        Row("Clamp level", Spins(Series<4>("BOCM"))),
        Form("Tap trim"),
        Row("Tap trim", Combo(Cmd("TRSW"), kOffOn)),
        Grid(nullptr, {"Red", "Green (R)", "Green (B)", "Blue", "Mono"}),
        Row("Upper", Spins({Cmd("TRUR"), Cmd("TRUGR"), Cmd("TRUGB"), Cmd("TRUB"), Cmd("TRUM")})),
        Row("Lower", Spins({Cmd("TRLR"), Cmd("TRLGR"), Cmd("TRLGB"), Cmd("TRLB"), Cmd("TRLM")})),
        Group("Pixel Gain for WB"),
        Row("Red gain", Spin(Cmd("PGRF"))),
        Row("Blue gain", Spin(Cmd("PGBF"))),
        Grid(nullptr, kUpperTapColumns),
        Row("Red", Spins({Cmd("PGFR2"), Cmd("PGFR3"), Cmd("PGFR4")})),
        Row("Blue", Spins({Cmd("PGFB2"), Cmd("PGFB3"), Cmd("PGFB4")})),
        Group("White Balance Preset"),
        Grid(nullptr, {"4600K", "5600K", "6500K"}),
        Row("Red gain", Spins({Cmd("FWP1R"), Cmd("FWP2R"), Cmd("FWP3R")})),
        Row("Blue gain", Spins({Cmd("FWP1B"), Cmd("FWP2B"), Cmd("FWP3B")})),

        Page(7),
        Group("Blemish Black"),
        Row("", Button(Cmd("FBMRCB"), "ReCalibrate")),
        Form("Black Horizontal Address"),
        Row("Index", Spin(Index(Cmd("FBMPXB")))),
        Row("Address", Spin(Cmd("FBMPXB"))),
        Row("", {Button(controls::kBlackHorizontalWrite, "Write"), Button(controls::kBlackHorizontalRead, "Read")}),
        Form("Black Vertical Address"),
        Row("Index", Spin(Index(Cmd("FBMPYB")))),
        Row("Address", Spin(Cmd("FBMPYB"))),
        Row("", {Button(controls::kBlackVerticalWrite, "Write"), Button(controls::kBlackVerticalRead, "Read")}),
        Form("Threshold Black"),
        Row("Threshold", Spin(Cmd("FBMTHB"))),
        Form("Compensation number"),
        Row("Compensated pixels", {Display(controls::kFactoryBlackCount), Button(Cmd("FBBNUM"), "Read")}),
        Group("Blemish White"),
        Row("", Button(Cmd("FBMRCW"), "ReCalibrate")),
        Form("White Horizontal Address"),
        Row("Index", Spin(Index(Cmd("FBMPXW")))),
        Row("Address", Spin(Cmd("FBMPXW"))),
        Row("", {Button(controls::kFactoryWhiteHorizontalWrite, "Write"), Button(controls::kFactoryWhiteHorizontalRead, "Read")}),
        Form("White Vertical Address"),
        Row("Index", Spin(Index(Cmd("FBMPYW")))),
        Row("Address", Spin(Cmd("FBMPYW"))),
        Row("", {Button(controls::kFactoryWhiteVerticalWrite, "Write"), Button(controls::kFactoryWhiteVerticalRead, "Read")}),
        Form("Threshold White"),
        Row("Threshold", Spin(Cmd("FBMTHW"))),
        Form("Compensation number"),
        Row("Compensated pixels", {Display(controls::kFactoryWhiteCount), Button(Cmd("FBNUM"), "Read")}),
        Group("Temperature Factor"),
        Row("Temperature factor", Spin(Cmd("TEMPF"))),
        Row("Black level compensation", Combo(Cmd("BLTMP"), kOffOn)),
        Row("Temperature correction", Radio(Cmd("CTCE"), kTemperatureCorrection)),
        Grid(nullptr, {"Segment 1", "Segment 2"}),
        Row("Gain", Spins({Cmd("CTG1"), Cmd("CTG2")})),
        Row("Offset", Spins({Cmd("CTO1"), Cmd("CTO2")})),
        Row("Position", Spins({Cmd("CTP1"), Cmd("CTP2")})),

        Page(8),
        Group("Camera Model"),
        Row("Model id", {Combo(controls::kModelIdList, kModelId), Button(controls::kWriteModelId, "Set")}),
        Group("XML Version"),
        Row("XML version", {Text(controls::kXmlVersionMajor), Text(controls::kXmlVersionMinor), Text(controls::kXmlVersionBuild)}),
        Row("", {Button(controls::kReadXmlVersion, "Read"), Button(controls::kWriteXmlVersion, "Write")}),
        Row("XML file", {Button(controls::kReadXmlFile, "Read File from Camera"), Button(controls::kOpenXmlFile, "Open File")}),
        Group("Sensor Version"),
        Row("Sensor version", Combo(Cmd("FSV"), kSensorVersion)),
        Row("Sensor decoder", Combo(Cmd("FDEC"), kOffOn)),
        Row("Dark current time", Spin(Cmd("DCMT"))),
        Row("Dark current period", Spin(Cmd("DCMP"))),
        Row("Timing H start", Spin(Cmd("TPHS"))),
        Row("Timing V width", Spin(Cmd("TPWV"))),
        Group("2D-PRNU Correct"),
        Row("2D-PRNU correction", Combo(Cmd("FAS"), kOffOn)),
        Group("High Dynamic Range"),
        Row("Knee point", Spin(Cmd("HKP"))),
        Group("Image Processing"),
        Row("Edge enhancement", Combo(Cmd("EHC"), kOffOn)),
        Group("Service"),
        Row("Camera baud rate", Combo(Cmd("BDRT"), kBaudRate)),
        Row("", {Button(controls::kTerminal, "Terminal"), Button(controls::kCameraReset, "Camera Reset"), Button(controls::kStoreAll, "Store All")}),
        Row("", Button(Cmd("SA00"), "Save Settings into Factory Area")),
        Group("Defect Correction"),
        Row("Defect pixel correction", Combo(Cmd("DPS"), kOffOn)),
        Row("Adaptive correction", Combo(Cmd("ADB"), kOffOn)),
        Row("Band 1 start", Spin(Cmd("DBSTA1"))),
        Row("Band 1 stop", Spin(Cmd("DBSTO1"))),
        Row("Band 2 start", Spin(Cmd("DBSTA2"))),
        Row("Band 2 stop", Spin(Cmd("DBSTO2"))),
        Row("Vertical DSNU", {Combo(Cmd("DSNUVC"), kOffOn), Button(Cmd("DSNUVD"), "Detect")}),
        Row("Horizontal DSNU", {Combo(Cmd("DSNUHC"), kOffOn), Button(Cmd("DSNUHD"), "Detect")}),
        Group("Line and Column Correction"),
        Row("Line correction", Radio(Cmd("BLLE"), kOffOn)),
        Row("Column correction", Radio(Cmd("BLCE"), kOffOn)),
        Grid(nullptr, {"Line", "Column"}),
        Row("1", Spins({Cmd("BLL1"), Cmd("BLC1")})),
        Row("2", Spins({Cmd("BLL2"), Cmd("BLC2")})),
        Row("3", Spins({Cmd("BLL3"), Cmd("BLC3")})),
        Row("4", Spins({Cmd("BLL4"), Cmd("BLC4")})),
        Row("5", Spins({Cmd("BLL5"), Cmd("BLC5")})),
        Row("6", Spins({Cmd("BLL6"), Cmd("BLC6")})),
        Row("7", Spins({Cmd("BLL7"), Cmd("BLC7")})),
        Row("8", Spins({Cmd("BLL8"), Cmd("BLC8")})),
        Row("9", Spins({Cmd("BLL9"), Cmd("BLC9")})),
        Row("10", Spins({Cmd("BLL10"), Cmd("BLC10")})),
        Row("11", Spins({Cmd("BLL11"), Cmd("BLC11")})),
        Row("12", Spins({Cmd("BLL12"), Cmd("BLC12")})),
    };
    return lines;
}
// clang-format on

std::vector<PageLayout> Fold(const std::vector<Line>& lines) {
    std::vector<PageLayout> pages;
    for (const PageInfo& info : PageInfos())
        pages.push_back({info, {}});
    PageLayout* page = nullptr;
    for (const Line& line : lines) {
        switch (line.type) {
            case Line::kPage:
                page = &pages.at(static_cast<std::size_t>(line.page));
                break;
            case Line::kGroup:
                page->groups.push_back({line.text, {Section{}}});
                break;
            case Line::kSection: {
                auto& sections = page->groups.back().sections;
                if (sections.size() == 1 && sections[0].rows.empty() && !sections[0].caption &&
                    sections[0].columns.empty()) {
                    sections.clear();  // a group that opens with a section
                }
                sections.push_back({line.text, line.columns, {}});
                break;
            }
            case Line::kRow:
                page->groups.back().sections.back().rows.push_back(line.row);
                break;
        }
    }
    return pages;
}

}  // namespace

std::string CellLabel(const TableRow& row, const Section& section, std::size_t column,
                      const Cell& cell) {
    std::string label = row.label;
    if (!section.columns.empty() && !section.columns[column].empty()) {
        label += label.empty() ? section.columns[column] : " (" + section.columns[column] + ")";
    }
    if (cell.kind == WidgetKind::Button) {
        const std::string caption = cell.text;
        label = label.empty() ? caption : label + ": " + caption;
    }
    if (label.empty() && section.caption) label = section.caption;
    return label;
}

const char* KindName(WidgetKind kind) {
    switch (kind) {
        case WidgetKind::Check:
            return "check";
        case WidgetKind::Radio:
            return "radio";
        case WidgetKind::Combo:
            return "combo";
        case WidgetKind::Spin:
            return "spin";
        case WidgetKind::Button:
            return "button";
        case WidgetKind::Display:
            return "display";
        case WidgetKind::Text:
            return "text";
    }
    return "?";
}

const std::vector<PageInfo>& PageInfos() {
    static const std::vector<PageInfo> pages = {
        {"User A", false},   {"User B", false},   {"User C", false},
        {"User D", false},   {"User E", false},   {"User F", false},
        {"Factory A", true}, {"Factory B", true}, {"Factory C", true},
    };
    return pages;
}

const std::vector<PageLayout>& PageTable() {
    static const std::vector<PageLayout> pages = Fold(Lines());
    return pages;
}

std::vector<PlacedControl> PlacedControls() {
    std::vector<PlacedControl> placed;
    const auto& pages = PageTable();
    for (std::size_t p = 0; p < pages.size(); ++p) {
        for (const GroupLayout& group : pages[p].groups) {
            for (const Section& section : group.sections) {
                for (const TableRow& row : section.rows) {
                    for (std::size_t c = 0; c < row.cells.size(); ++c) {
                        const Cell& cell = row.cells[c];
                        if (cell.controlId == 0) continue;
                        placed.push_back({static_cast<int>(p), group.caption,
                                          CellLabel(row, section, c, cell), cell});
                    }
                }
            }
        }
    }
    return placed;
}

}  // namespace vk::gui
