#pragma once

#include <string>

namespace vk::gui {

// A time in microseconds as a person reads it: "850 µs", "18.000 ms", "1.500 s".
std::string FormatMicroseconds(int us);
// A gain in hundredths as a factor: "×2.50".
std::string FormatGainFactor(int hundredths);

// What the exposure display shows: the exposure time, or the range exposure auto works in.
std::string ExposureText(bool autoExposure, int exposureUs, int autoMinUs, int autoMaxUs);
// What the gain display shows: the fine gain factor, or the range gain auto works in.
std::string GainText(bool autoGain, int fineGain, int autoMin, int autoMax);

}  // namespace vk::gui
