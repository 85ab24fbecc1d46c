#include "gui/pages/combo_items.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "core/comm/model_check.h"

namespace vk::gui::items {

const ItemList kOffOn = {{"Off", 0}, {"On", 1}};
const ItemList kExposureMode = {{"Off", 0}, {"Timed", 1}, {"Trigger Width", 2}};
const ItemList kTriggerMode = {{"Normal", 0}, {"Trigger", 1}};
const ItemList kTriggerOperation = {{"Frame Start", 0}, {"Acquisition Start", 1}};
const ItemList kTriggerOverlap = {{"Off", 0}, {"Readout", 1}};
const ItemList kTriggerSource = {{"CC1", 0},
                                 {"CC2", 1},
                                 {"CC3", 2},
                                 {"CC4", 3},
                                 {"Software", 4},
                                 {"Pulse Generator 0", 5},
                                 {"Pulse Generator 1", 6},
                                 {"Pulse Generator 2", 7},
                                 {"Pulse Generator 3", 8},
                                 {"NAND 0", 9},
                                 {"NAND 1", 10}};
const ItemList kTriggerActivation = {
    {"Rising Edge", 0}, {"Falling Edge", 1}, {"Level High", 2}, {"Level Low", 3}};
const ItemList kLineSource = {{"Off", 0},
                              {"Exposure Active", 1},
                              {"Frame Active", 2},
                              {"Trigger In", 3},
                              {"Pulse Generator 0", 4},
                              {"Pulse Generator 1", 5},
                              {"Pulse Generator 2", 6},
                              {"Pulse Generator 3", 7},
                              {"NAND 0", 8},
                              {"NAND 1", 9}};
const ItemList kClearMode = {
    {"Off", 0}, {"Rising Edge", 1}, {"Falling Edge", 2}, {"Level High", 3}, {"Level Low", 4}};
const ItemList kPulseTriggerMode = {{"Free Run", 0}, {"Triggered", 1}};
const ItemList kNandSource = {{"Off", 0},
                              {"CC1", 1},
                              {"CC2", 2},
                              {"CC3", 3},
                              {"CC4", 4},
                              {"Pulse Generator 0", 5},
                              {"Pulse Generator 1", 6},
                              {"Pulse Generator 2", 7},
                              {"Pulse Generator 3", 8}};
const ItemList kBinning = {{"1", 1}, {"2", 2}};
const ItemList kTapGeometry = {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}};
const ItemList kAlcReference = {{"Average", 0}, {"Peak", 1}};
const ItemList kBalanceWhiteAuto = {{"Off", 0},   {"Once", 1},  {"Continuous", 2},
                                    {"4600K", 3}, {"5600K", 4}, {"6500K", 5}};
const ItemList kGainAutoTapBalance = {{"Off", 0}, {"Once", 1}, {"Continuous", 2}};
const ItemList kBlackAutoTapBalance = {{"Off", 0}, {"Once", 1}};
const ItemList kAutoContinuousOnce = {{"Off", 0}, {"Continuous", 1}, {"Once", 2}};
const ItemList kLutSelector = {{"Off", 0}, {"Gamma", 1}, {"LUT", 2}};
const ItemList kTestImage = {{"Off", 0},
                             {"Grey Horizontal Ramp", 1},
                             {"Grey Vertical Ramp", 2},
                             {"Moving Grey Ramp", 3},
                             {"Horizontal Colorbar", 4},
                             {"Vertical Colorbar", 5},
                             {"Moving Colorbar", 6}};
const ItemList kColourTestImages = {
    {"Horizontal Colorbar", 4}, {"Vertical Colorbar", 5}, {"Moving Colorbar", 6}};
const ItemList kIrisSignal = {{"Video", 0}, {"DC", 1}};
const ItemList kIrisGain = {{"Low", 0}, {"High", 1}};
const ItemList kShadingMode = {{"Factory", 0}, {"User", 1}};
const ItemList kIrisPosition = {{"FULL OPEN", 0}, {"F1.4", 1}, {"F2", 2},   {"F2.8", 3},
                                {"F4", 4},        {"F5.6", 5}, {"F8", 6},   {"F11", 7},
                                {"F16", 8},       {"F22", 9},  {"F32", 10}, {"CLOSE", 11}};
const ItemList kPirisLens = {{"None", 0}, {"Lens Type 1", 1}, {"Lens Type 2", 2}};
const ItemList kVideoSendMode = {{"Normal", 0}, {"Multi AOI", 1}, {"Sequence", 2}};
const ItemList kNextSequence = {{"Stop", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4},  {"5", 5},
                                {"6", 6},    {"7", 7}, {"8", 8}, {"9", 9}, {"10", 10}};
const ItemList kClockFrequency = {{"85 MHz", 0}, {"65 MHz", 1}, {"40 MHz", 2}};
const ItemList kKneeSlope = {{"1/2", 0}, {"1/4", 1}, {"1/8", 2}, {"1/16", 3}};
const ItemList kSensorBits = {{"8 bit", 0}, {"10 bit", 1}, {"12 bit", 2}};
const ItemList kBinningMode = {{"Sum", 0}, {"Average", 1}};
const ItemList kBaudRate = {{"9600", 0}, {"19200", 1}, {"38400", 2}, {"57600", 3}, {"115200", 4}};
const ItemList kClampMode = {{"Manual", 0}, {"Auto", 1}};
const ItemList kSensorVersion = {{"Version 1", 0}, {"Version 2", 1}};
const ItemList kTemperatureCorrection = {{"Off", 0}, {"One Segment", 1}, {"Two Segments", 2}};
const ItemList kModelId = {{kOfferedModelIds[0], kNoItemData}, {kOfferedModelIds[1], kNoItemData}};

const ItemList& Numbers(int first, int last) {
    static std::map<std::pair<int, int>, std::unique_ptr<ItemList>> lists;
    static std::vector<std::unique_ptr<std::string>> texts;
    auto& list = lists[{first, last}];
    if (!list) {
        list = std::make_unique<ItemList>();
        for (int v = first; v <= last; ++v) {
            texts.push_back(std::make_unique<std::string>(std::to_string(v)));
            list->push_back({texts.back()->c_str(), v});
        }
    }
    return *list;
}

}  // namespace vk::gui::items
