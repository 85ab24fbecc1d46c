#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vk {

// The text of an automatic function's result code; "Unknown Result" for a code outside
// the camera's list.
std::string AutoResultText(std::int32_t code);
inline constexpr std::int32_t kAutoResultComplete = 0;
inline constexpr std::int32_t kAutoResultBusy = 4;

// The iris position the lens reports, as an F-number; "Unkown" for anything else.
std::string IrisText(std::optional<std::int32_t> position);

// The XML version is one number on the camera and three fields on the page: two decimal
// digits each for the minor and the build part (10203 is 1, 2, 3).
inline constexpr std::int32_t kXmlVersionPartMaximum = 99;
std::array<std::int32_t, 3> SplitXmlVersion(std::int32_t version);
// Nothing when a part lies outside 0 to 99.
std::optional<std::int32_t> JoinXmlVersion(const std::array<std::int32_t, 3>& parts);

}  // namespace vk
