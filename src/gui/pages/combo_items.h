#pragma once

#include "gui/pages/page_table.h"

// Item lists of the page combo boxes: the text shown and the camera value it stands for.
// A value 0, where a list has one, is always its first item.
namespace vk::gui::items {

extern const ItemList kOffOn;
extern const ItemList kExposureMode;
extern const ItemList kTriggerMode;
extern const ItemList kTriggerOperation;
extern const ItemList kTriggerOverlap;
extern const ItemList kTriggerSource;
extern const ItemList kTriggerActivation;
extern const ItemList kLineSource;
extern const ItemList kClearMode;
extern const ItemList kPulseTriggerMode;
extern const ItemList kNandSource;
extern const ItemList kBinning;
extern const ItemList kTapGeometry;
extern const ItemList kAlcReference;
extern const ItemList kBalanceWhiteAuto;
extern const ItemList kGainAutoTapBalance;
extern const ItemList kBlackAutoTapBalance;
extern const ItemList kAutoContinuousOnce;
extern const ItemList kLutSelector;
extern const ItemList kTestImage;
extern const ItemList kColourTestImages;
extern const ItemList kIrisSignal;
extern const ItemList kIrisGain;
extern const ItemList kShadingMode;
extern const ItemList kIrisPosition;
extern const ItemList kPirisLens;
extern const ItemList kVideoSendMode;
extern const ItemList kNextSequence;
extern const ItemList kClockFrequency;
extern const ItemList kKneeSlope;
extern const ItemList kSensorBits;
extern const ItemList kBinningMode;
extern const ItemList kBaudRate;
extern const ItemList kClampMode;
extern const ItemList kSensorVersion;
extern const ItemList kTemperatureCorrection;
extern const ItemList kModelId;  // texts only: the model id is written as text

// "0", "1", ... up to `last`, each item's value its number.
const ItemList& Numbers(int first, int last);

}  // namespace vk::gui::items
