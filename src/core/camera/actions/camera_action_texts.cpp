#include "core/camera/actions/camera_action_texts.h"

#include <algorithm>
#include <string_view>

namespace vk {
namespace {

constexpr std::array<std::string_view, 7> kAutoResults = {"Complete",
                                                          "Too Bright",
                                                          "Too Dark",
                                                          "Timeout Error",
                                                          "Busy",
                                                          "Limit",
                                                          "Trig is not set as Normal"};

constexpr std::array<std::string_view, 12> kIrisPositions = {
    "FULL OPEN", "F1.4", "F2", "F2.8", "F4", "F5.6", "F8", "F11", "F16", "F22", "F32", "CLOSE"};

constexpr std::int32_t kPartBase = kXmlVersionPartMaximum + 1;

}  // namespace

std::string AutoResultText(std::int32_t code) {
    if (code < 0 || code >= static_cast<std::int32_t>(kAutoResults.size())) {
        return "Unknown Result";
    }
    return std::string(kAutoResults[static_cast<std::size_t>(code)]);
}

std::string IrisText(std::optional<std::int32_t> position) {
    if (!position || *position < 0 ||
        *position >= static_cast<std::int32_t>(kIrisPositions.size())) {
        return "Unkown";
    }
    return std::string(kIrisPositions[static_cast<std::size_t>(*position)]);
}

std::array<std::int32_t, 3> SplitXmlVersion(std::int32_t version) {
    return {version / (kPartBase * kPartBase), version / kPartBase % kPartBase,
            version % kPartBase};
}

std::optional<std::int32_t> JoinXmlVersion(const std::array<std::int32_t, 3>& parts) {
    const bool fits = std::all_of(parts.begin(), parts.end(), [](std::int32_t p) {
        return p >= 0 && p <= kXmlVersionPartMaximum;
    });
    if (!fits) return std::nullopt;
    return (parts[0] * kPartBase + parts[1]) * kPartBase + parts[2];
}

}  // namespace vk
