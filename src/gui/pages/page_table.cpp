#include "gui/pages/page_table.h"

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

Cell Check(int id) {
    return {id, WidgetKind::Check};
}
Cell Radio(int id, const ItemList& captions) {
    return {id, WidgetKind::Radio, &captions};
}
Cell Combo(int id, const ItemList& list) {
    return {id, WidgetKind::Combo, &list};
}
Cell Spin(int id) {
    return {id, WidgetKind::Spin};
}
Cell Button(int id, const char* caption) {
    return {id, WidgetKind::Button, nullptr, caption};
}
Cell Display(int id) {
    return {id, WidgetKind::Display};
}
Cell Display(const char* name) {
    return {0, WidgetKind::Display, nullptr, name};
}
Cell Text(int id) {
    return {id, WidgetKind::Text};
}
Cell Empty() {
    return {};
}

// Cells of `count` controls whose ids run from `first` in steps of `step`.
std::vector<Cell> Spins(int first, int step, int count) {
    std::vector<Cell> cells;
    for (int i = 0; i < count; ++i)
        cells.push_back(Spin(first + i * step));
    return cells;
}
std::vector<Cell> Spins(std::initializer_list<int> ids) {
    std::vector<Cell> cells;
    for (int id : ids)
        cells.push_back(id ? Spin(id) : Empty());
    return cells;
}
std::vector<Cell> Combos(int first, int count, const ItemList& list) {
    std::vector<Cell> cells;
    for (int i = 0; i < count; ++i)
        cells.push_back(Combo(first + i, list));
    return cells;
}
std::vector<Cell> Checks(std::initializer_list<int> ids) {
    std::vector<Cell> cells;
    for (int id : ids)
        cells.push_back(Check(id));
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
        Row("Trigger operation", Combo(2416, kTriggerOperation)),
        Row("Trigger mode", Combo(1974, kTriggerMode)),
        Row("Trigger overlap", Combo(1975, kTriggerOverlap)),
        Row("Trigger source", Combo(1976, kTriggerSource)),
        Row("Trigger activation", Combo(1977, kTriggerActivation)),
        Row("Trigger debounce", Combo(1978, kOffOn)),
        Row("", Button(2598, "Soft Trigger")),
        Group("Acquisition control Operation"),
        Row("Exposure mode", Combo(1942, kExposureMode)),
        Row("Exposure time [µs]", Spin(1943)),
        Row("Frame period [µs]", Spin(1992)),
        Group("Balance White Auto"),
        Row("Balance white auto", Combo(2241, kBalanceWhiteAuto)),
        Group("Exposure Control Operation"),
        Row("Exposure auto", Combo(4624, kAutoContinuousOnce)),
        Row("Auto maximum [µs]", Spin(2009)),
        Row("Auto minimum [µs]", Spin(2010)),
        Row("Exposure", Display("exposureDisplay")),
        Group("Image format Operation"),
        Row("Binning horizontal", Combo(2048, kBinning)),
        Row("Binning vertical", Combo(2050, kBinning)),
        Row("Binning mode", Combo(4960, kBinningMode)),
        Row("Tap geometry", Combo(2049, kTapGeometry)),
        Row("Sensor bit depth", Combo(4958, kSensorBits)),
        Row("Sensor partial output", Combo(4959, kOffOn)),
        Group("Gain"),
        Form("Manual"),
        Row("Gain", Spin(1218)),
        Row("Fine gain [1/100]", Spin(1220)),
        Row("Red gain", Spin(2470)),
        Row("Blue gain", Spin(2477)),
        Row("Gain auto tap balance", Combo(2304, kGainAutoTapBalance)),
        Row("Tap gain adjust", Combo(2020, kOffOn)),
        Grid(nullptr, kUpperTapColumns),
        Row("Gain", Spins({2474, 1264, 1838})),
        Row("Red gain", Spins({2027, 2033, 2039})),
        Row("Blue gain", Spins({2031, 2037, 2043})),
        Form("Continuous"),
        Row("Gain auto", Combo(4625, kAutoContinuousOnce)),
        Row("Frame interval", Spin(1996)),
        Row("Auto maximum [1/100]", Spin(1998)),
        Row("Auto minimum [1/100]", Spin(1999)),
        Row("Auto speed", Spin(2601)),
        Row("Gain", Display("gainDisplay")),
        Group("Alc Reference"),
        Row("ALC reference", Combo(1980, kAlcReference)),
        Row("Offset level", Spin(1982)),
        Row("Target level", Spin(1984)),
        Row("Continuous offset level", Spin(4598)),
        Row("Continuous target level", Spin(4600)),
        Group("Black Level All"),
        Row("Black level", Spin(2484)),
        Row("Black offset", Spin(2533)),
        Group("Video Send Mode"),
        Row("Video send mode", Combo(4602, kVideoSendMode)),
        Group("Video Process Bypass"),
        Row("Video process bypass", Combo(4923, kOffOn)),
        Row("Noise reduction", Combo(2078, kOffOn)),
        Group("Test Image Selector"),
        Row("Test image", Combo(2018, kTestImage)),

        Page(1),
        Group("Black Level Control "),
        Row("Black level auto tap balance", Combo(2305, kBlackAutoTapBalance)),
        Grid(nullptr, kTapColumns),
        Row("Black level", Spins({0, 2495, 2431, 2435})),
        Row("Red", Spins({2439, 2446, 2454, 2462})),
        Row("Blue", Spins({2444, 2450, 2458, 2466})),
        Group("PIris"),
        Row("P-iris lens", Combo(4628, kPirisLens)),
        Row("P-iris position", Spin(2607)),
        Row("P-iris F step", Spin(2603)),
        Row("Iris minimum", Combo(4630, kIrisPosition)),
        Row("Iris maximum", Combo(4631, kIrisPosition)),
        Row("Lens step minimum", Spin(4963)),
        Row("Lens step maximum", Spin(4965)),
        Row("Lens step limit", Spin(4967)),
        Row("Iris status", {Display(2605), Button(4629, "Read")}),
        Row("Iris position", {Display(4633), Button(4632, "Read")}),
        Group("Auto Iris"),
        Row("Auto iris", Combo(2045, kOffOn)),
        Row("Auto iris signal", Combo(4377, kIrisSignal)),
        Row("Iris control", Combo(2337, kOffOn)),
        Row("Iris gain", Combo(2336, kIrisGain)),
        Row("Iris level", Spin(2338)),
        Group("Shading Correction"),
        Row("Shading correction", Combo(2046, kOffOn)),
        Row("Correction data", Combo(2561, kShadingMode)),
        Row("", Button(2047, "Recalibrate Shading")),
        Group("Blemish"),
        Row("White blemish correction", Combo(2019, kOffOn)),
        Row("", Button(2051, "ReCalibrate White")),
        Form("White Horizontal Address"),
        Row("Index", Spin(2056)),
        Row("Address", Spin(2062)),
        Row("", {Button(2068, "Write"), Button(2146, "Read")}),
        Form("White Vertical Address"),
        Row("Index", Spin(2072)),
        Row("Address", Spin(2074)),
        Row("", {Button(2069, "Write"), Button(2147, "Read")}),
        Form("Threshold White"),
        Row("Threshold", Spin(2052)),
        Form("Compensation number"),
        Row("Compensated pixels", {Display(4917), Button(4916, "Read")}),
        Group("Motor Lens"),
        Row("Lens buttons", Button(4922, "Control")),

        Page(2),
        Group("ALC Channel Area"),
        Row("Use area selection", Check(4626)),
        Grid(nullptr, kAreaColumns),
        Row("High", Checks({4036, 4035, 4034, 4033})),
        Row("Mid high", Checks({4032, 4031, 4030, 4029})),
        Row("Mid low", Checks({4028, 4027, 4026, 4025})),
        Row("Low", Checks({4024, 4023, 4022, 4021})),
        Group("AWB Channel Area"),
        Row("Use area selection", Check(4627)),
        Grid(nullptr, kAreaColumns),
        Row("High", Checks({4052, 4051, 4050, 4049})),
        Row("Mid high", Checks({4048, 4047, 4046, 4045})),
        Row("Mid low", Checks({4044, 4043, 4042, 4041})),
        Row("Low", Checks({4040, 4039, 4038, 4037})),
        Group("CL Clock Frequency"),
        Row("Pixel clock", Combo(4910, kClockFrequency)),
        Group("Temperature"),
        Row("Sensor temperature [°C]", {Display(1440), Button(2070, "Get")}),
        Group("LUT"),
        Row("LUT selector", Combo(2015, kLutSelector)),
        Row("Gamma", Spin(2016)),
        Row("", Button(2214, "Open LUT Table")),
        Grid("LUT entry", kIndexedEntryColumns),
        Row("Red", {Spin(4603), Spin(4605), Button(4608, "Write"), Button(4607, "Read")}),
        Row("Green", {Spin(4609), Spin(4611), Button(4614, "Write"), Button(4613, "Read")}),
        Row("Blue", {Spin(4616), Spin(4618), Button(4621, "Write"), Button(4620, "Read")}),
        Group("ALC Status"),
        Row("ALC status", {Display(2565), Button(2564, "Read")}),

        Page(3),
        Group("Pulse Generator Clock"),
        Row("Clock divider", Spin(4424)),
        Group("Pulse Generator 0"),
        Row("Length", Spin(4378)),
        Row("Start", Spin(4386)),
        Row("End", Spin(4394)),
        Row("Repeat count", Spin(4402)),
        Row("Clear mode", Combo(4410, kClearMode)),
        Row("Trigger mode", Combo(4415, kPulseTriggerMode)),
        Row("Input", Combo(4427, Numbers(0, 18))),
        Row("Input inverter", Combo(4431, kOffOn)),
        Group("Pulse Generator 1"),
        Row("Length", Spin(4380)),
        Row("Start", Spin(4388)),
        Row("End", Spin(4396)),
        Row("Repeat count", Spin(4404)),
        Row("Clear mode", Combo(4411, kClearMode)),
        Row("Trigger mode", Combo(4416, kPulseTriggerMode)),
        Row("Input", Combo(4428, Numbers(0, 18))),
        Row("Input inverter", Combo(4432, kOffOn)),
        Group("Pulse Generator 2"),
        Row("Length", Spin(4382)),
        Row("Start", Spin(4390)),
        Row("End", Spin(4398)),
        Row("Repeat count", Spin(4406)),
        Row("Clear mode", Combo(4413, kClearMode)),
        Row("Trigger mode", Combo(4417, kPulseTriggerMode)),
        Row("Input", Combo(4429, Numbers(0, 18))),
        Row("Input inverter", Combo(4433, kOffOn)),
        Group("Pulse Generator 3"),
        Row("Length", Spin(4384)),
        Row("Start", Spin(4392)),
        Row("End", Spin(4400)),
        Row("Repeat count", Spin(4408)),
        Row("Clear mode", Combo(4414, kClearMode)),
        Row("Trigger mode", Combo(4418, kPulseTriggerMode)),
        Row("Input", Combo(4430, Numbers(0, 18))),
        Row("Input inverter", Combo(4434, kOffOn)),
        Group("NAND0 Input"),
        Row("Input 1", Combo(4419, kNandSource)),
        Row("Input 1 inverter", Combo(4435, kOffOn)),
        Row("Input 2", Combo(4421, kNandSource)),
        Row("Input 2 inverter", Combo(4436, kOffOn)),
        Group("NAND1 Input"),
        Row("Input 1", Combo(4422, kNandSource)),
        Row("Input 1 inverter", Combo(4437, kOffOn)),
        Row("Input 2", Combo(4423, kNandSource)),
        Row("Input 2 inverter", Combo(4438, kOffOn)),
        Group("TTL Output"),
        Grid(nullptr, {"Source", "Inverter"}),
        Row("Output 0", {Combo(1981, kLineSource), Combo(1985, kOffOn)}),
        Row("Output 1", {Combo(2600, kLineSource), Combo(2599, kOffOn)}),
        Row("Output 2", {Combo(4622, kLineSource), Combo(4623, kOffOn)}),

        Page(4),
        Group("Sequence mode settings"),
        Row("Sequence control", Combo(4634, kOffOn)),
        Row("Repeat count", Spin(4649)),
        Row("LUT switching", Combo(4909, kOffOn)),
        Row("Current index", {Display(4907), Button(4906, "Read Index"), Button(4908, "Reset")}),
        Grid(nullptr, Numbered("Seq ", 10)),
        Row("Frame count", Spins(4651, 2, 10)),
        Row("Next sequence", Combos(4671, 10, kNextSequence)),
        Row("Binning horizontal", Combos(4801, 10, kBinning)),
        Row("Binning vertical", Combos(4811, 10, kBinning)),
        Row("Width", Spins(4681, 2, 10)),
        Row("Height", Spins(4701, 2, 10)),
        Row("Offset X", Spins(4721, 2, 10)),
        Row("Offset Y", Spins(4741, 2, 10)),
        Row("Fine gain [1/100]", Spins(4761, 2, 10)),
        Row("Exposure time [µs]", Spins(4781, 2, 10)),
        Row("LUT", Combos(4821, 10, kLutSelector)),
        Row("Black level", Spins(4831, 2, 10)),
        Row("Red gain", Spins(4851, 2, 10)),
        Row("Blue gain", Spins(4871, 2, 10)),

        Page(5),
        Group("Multi AOI"),
        Row("Number of areas", Spin(4441)),
        Row("Width", Spin(4491)),
        Grid(nullptr, Numbered("Area ", 8)),
        Row("Offset X", Spins(4443, 2, 8)),
        Row("Offset Y", Spins(4459, 2, 8)),
        Row("Height", Spins(4475, 2, 8)),
        Group("High Dynamic Range"),
        Row("High dynamic range", Combo(4925, kOffOn)),
        Row("Knee slope", Combo(4936, kKneeSlope)),
        Row("Anti-blooming", Combo(4937, kOffOn)),

        Page(6),
        Group("Gain Auto Tap Balance for Factory"),
        Row("Tap balance mode", Combo(3000, Numbers(0, 7))),
        Row("Tap balance frames", Combo(3001, Numbers(0, 4))),
        Row("Tap balance gain", Combo(2563, kOffOn)),
        Row("Upper limit", Spin(3002)),
        Row("Lower limit", Spin(3003)),
        Row("Window left", Spin(3004)),
        Row("Window right", Spin(3005)),
        Row("Window top", Spin(3006)),
        Row("Window bottom", Spin(3007)),
        Row("Fine gain reference", Spin(2531)),
        Row("Fine gain adjust", Spin(4495)),
        Grid(nullptr, kTapColumns),
        Row("Gain", Spins({1790, 1257, 1262, 1841})),
        Row("Fine gain", Spins({0, 2515, 2517, 2519})),
        Form(),
        Row("", Button(2545, "Gain Reset")),
        Group("Black Level for Factory"),
        Row("Black level", Spin(4493)),
        Row("Black level auto setting", Combo(2105, kOffOn)),
        Grid(nullptr, kTapColumns),
        Row("Black level", Spins({0, 2479, 2483, 2487})),
        Row("Red", Spins({2423, 2427, 2430, 2434})),
        Row("Blue", Spins({2438, 2441, 2445, 2449})),
        Form("Clamp"),
        Row("Clamp mode", Combo(3008, kClampMode)),
        Grid(nullptr, kTapColumns),
        Row("Clamp level", Spins(3009, 1, 4)),
        Form("Tap trim"),
        Row("Tap trim", Combo(2120, kOffOn)),
        Grid(nullptr, {"Red", "Green (R)", "Green (B)", "Blue", "Mono"}),
        Row("Upper", Spins({2103, 2108, 2111, 2115, 2138})),
        Row("Lower", Spins({2122, 2126, 2130, 2134, 2142})),
        Group("Pixel Gain for WB"),
        Row("Red gain", Spin(2424)),
        Row("Blue gain", Spin(2440)),
        Grid(nullptr, kUpperTapColumns),
        Row("Red", Spins({2461, 2469, 2509})),
        Row("Blue", Spins({2465, 2502, 2511})),
        Group("White Balance Preset"),
        Grid(nullptr, {"4600K", "5600K", "6500K"}),
        Row("Red gain", Spins({4938, 4942, 4946})),
        Row("Blue gain", Spins({4940, 4944, 4948})),

        Page(7),
        Group("Blemish Black"),
        Row("", Button(2299, "ReCalibrate")),
        Form("Black Horizontal Address"),
        Row("Index", Spin(2094)),
        Row("Address", Spin(2096)),
        Row("", {Button(2151, "Write"), Button(2152, "Read")}),
        Form("Black Vertical Address"),
        Row("Index", Spin(2098)),
        Row("Address", Spin(2100)),
        Row("", {Button(2153, "Write"), Button(2154, "Read")}),
        Form("Threshold Black"),
        Row("Threshold", Spin(2092)),
        Form("Compensation number"),
        Row("Compensated pixels", {Display(4921), Button(4920, "Read")}),
        Group("Blemish White"),
        Row("", Button(4891, "ReCalibrate")),
        Form("White Horizontal Address"),
        Row("Index", Spin(4894)),
        Row("Address", Spin(4896)),
        Row("", {Button(4898, "Write"), Button(4899, "Read")}),
        Form("White Vertical Address"),
        Row("Index", Spin(4900)),
        Row("Address", Spin(4902)),
        Row("", {Button(4904, "Write"), Button(4905, "Read")}),
        Form("Threshold White"),
        Row("Threshold", Spin(4892)),
        Form("Compensation number"),
        Row("Compensated pixels", {Display(4919), Button(4918, "Read")}),
        Group("Temperature Factor"),
        Row("Temperature factor", Spin(4969)),
        Row("Black level compensation", Combo(4595, kOffOn)),
        Row("Temperature correction", Radio(4503, kTemperatureCorrection)),
        Grid(nullptr, {"Segment 1", "Segment 2"}),
        Row("Gain", Spins({4504, 4510})),
        Row("Offset", Spins({4506, 4512})),
        Row("Position", Spins({4508, 4514})),

        Page(8),
        Group("Camera Model"),
        Row("Model id", {Combo(2548, kModelId), Button(1020, "Set")}),
        Group("XML Version"),
        Row("XML version", {Text(4931), Text(4932), Text(4933)}),
        Row("", {Button(4934, "Read"), Button(4935, "Write")}),
        Row("XML file", {Button(4913, "Read File from Camera"), Button(4914, "Open File")}),
        Group("Sensor Version"),
        Row("Sensor version", Combo(4924, kSensorVersion)),
        Row("Sensor decoder", Combo(4930, kOffOn)),
        Row("Dark current time", Spin(3030)),
        Row("Dark current period", Spin(3031)),
        Row("Timing H start", Spin(3032)),
        Row("Timing V width", Spin(3033)),
        Group("2D-PRNU Correct"),
        Row("2D-PRNU correction", Combo(4915, kOffOn)),
        Group("High Dynamic Range"),
        Row("Knee point", Spin(4928)),
        Group("Image Processing"),
        Row("Edge enhancement", Combo(2114, kOffOn)),
        Group("Service"),
        Row("Camera baud rate", Combo(2061, kBaudRate)),
        Row("", {Button(1016, "Terminal"), Button(1018, "Camera Reset"), Button(1105, "Store All")}),
        Row("", Button(2079, "Save Settings into Factory Area")),
        Group("Defect Correction"),
        Row("Defect pixel correction", Combo(2562, kOffOn)),
        Row("Adaptive correction", Combo(4012, kOffOn)),
        Row("Band 1 start", Spin(4013)),
        Row("Band 1 stop", Spin(4015)),
        Row("Band 2 start", Spin(4017)),
        Row("Band 2 stop", Spin(4019)),
        Row("Vertical DSNU", {Combo(4440, kOffOn), Button(4439, "Detect")}),
        Row("Horizontal DSNU", {Combo(4597, kOffOn), Button(4596, "Detect")}),
        Group("Line and Column Correction"),
        Row("Line correction", Radio(4516, kOffOn)),
        Row("Column correction", Radio(4555, kOffOn)),
        Grid(nullptr, {"Line", "Column"}),
        Row("1", Spins({4519, 4558})),
        Row("2", Spins({4522, 4561})),
        Row("3", Spins({4525, 4564})),
        Row("4", Spins({4528, 4567})),
        Row("5", Spins({4531, 4570})),
        Row("6", Spins({4534, 4573})),
        Row("7", Spins({4537, 4576})),
        Row("8", Spins({4540, 4579})),
        Row("9", Spins({4543, 4582})),
        Row("10", Spins({4547, 4586})),
        Row("11", Spins({4550, 4590})),
        Row("12", Spins({4553, 4593})),
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
