#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/protocol/exchange_result.h"

namespace vk {

class Exchange;
class ModelCheck;

// What the information window shows of the connected camera. A field the camera did not
// give stays empty and is shown by its placeholder.
struct CameraInformation {
    std::optional<std::string> firmwareVersion;
    std::optional<std::string> modelName;
    std::optional<std::string> cameraId;
    std::optional<std::string> fpgaVersion;
    std::optional<std::string> userId;
    std::optional<std::int32_t> deviceVersion;
    // The first query that failed; Ok when every query was answered.
    ExchangeResult firstFailure;
};

inline constexpr const char* kVersionPlaceholder = "?.??";
inline constexpr const char* kNamePlaceholder = "??????????";
inline constexpr const char* kUserIdPlaceholder = "????????????????";
inline constexpr const char* kDigitPlaceholder = "?";
inline constexpr int kInformationTimeoutMs = 2500;

// Queries firmware, model, camera id, FPGA version, user id and device version in that
// order. A camera that does not answer the firmware query is not asked anything else.
// Failures are not shown one by one: the placeholders tell them.
CameraInformation ReadCameraInformation(Exchange& exchange, ModelCheck& modelCheck,
                                        int timeoutMs = kInformationTimeoutMs);

// "%d.%02d" of v / 100 and the remainder: 123 is "1.23", 5 is "0.05".
std::string FormatVersion(std::int32_t v);
// A version as the camera sent it: a number of hundredths in the form above; anything else
// (a text, a negative number) as received.
std::string VersionText(const std::string& received);

// The four digits of a device version: 1203 gives 1, 2, 0, 3. The first takes whatever is
// left above the thousands.
std::array<std::int32_t, 4> DeviceVersionDigits(std::int32_t v);
// The digits with dots between them: 1203 gives "1.2.0.3".
std::string DeviceVersionText(std::int32_t v);
// The digit fields joined in order and read as a decimal number; nothing when the result is
// empty, holds anything but digits, or does not fit.
std::optional<std::int32_t> JoinDeviceVersion(const std::array<std::string, 4>& digits);

}  // namespace vk
