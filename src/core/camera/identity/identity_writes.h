#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/protocol/exchange_result.h"
#include "core/user_interface.h"

namespace vk {

class Exchange;

inline constexpr std::size_t kUserIdMaxLength = 16;
inline constexpr std::size_t kCameraIdLength = 10;
// The camera takes a camera id only right after this code.
inline constexpr std::int32_t kCameraIdUnlockCode = 5127038;
inline constexpr int kIdTimeoutMs = 2500;
inline constexpr int kDeviceVersionTimeoutMs = 10000;

// The outcome of a write, with the sentence the tool shows for it.
struct IdentityOutcome {
    bool ok = false;
    bool sent = false;  // something went to the camera
    std::string text;
    MessageIcon icon = MessageIcon::Stop;
    ExchangeResult exchange;  // the exchange that failed, if one did
};

// The ids as the camera holds them; failures are not shown (the windows show placeholders).
QueryResult<std::string> QueryUserId(Exchange& exchange);
QueryResult<std::string> QueryCameraId(Exchange& exchange);
QueryResult<std::int32_t> QueryDeviceVersion(Exchange& exchange);

// At most 16 printable characters; a longer text is refused before anything is sent.
IdentityOutcome WriteUserId(Exchange& exchange, const std::string& userId);
// The unlock code, then the id (at most 10 printable characters).
IdentityOutcome WriteCameraId(Exchange& exchange, const std::string& cameraId);
IdentityOutcome WriteDeviceVersion(Exchange& exchange, std::int32_t version);
// The four digit fields joined; fields that do not make a number are refused unsent.
IdentityOutcome WriteDeviceVersion(Exchange& exchange, const std::array<std::string, 4>& digits);

}  // namespace vk
