#include "gui/pages/combined_displays.h"

#include <cstdio>

namespace vk::gui {

std::string FormatMicroseconds(int us) {
    char text[32];
    if (us < 1000 && us > -1000) {
        std::snprintf(text, sizeof text, "%d µs", us);
    } else if (us < 1000000 && us > -1000000) {
        std::snprintf(text, sizeof text, "%.3f ms", us / 1000.0);
    } else {
        std::snprintf(text, sizeof text, "%.3f s", us / 1000000.0);
    }
    return text;
}

std::string FormatGainFactor(int hundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "×%.2f", hundredths / 100.0);
    return text;
}

std::string ExposureText(bool autoExposure, int exposureUs, int autoMinUs, int autoMaxUs) {
    if (autoExposure) {
        return "Auto, " + FormatMicroseconds(autoMinUs) + " to " + FormatMicroseconds(autoMaxUs);
    }
    return FormatMicroseconds(exposureUs);
}

std::string GainText(bool autoGain, int fineGain, int autoMin, int autoMax) {
    if (autoGain) return "Auto, " + FormatGainFactor(autoMin) + " to " + FormatGainFactor(autoMax);
    return FormatGainFactor(fineGain);
}

}  // namespace vk::gui
