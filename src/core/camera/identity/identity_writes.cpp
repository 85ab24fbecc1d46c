#include "core/camera/identity/identity_writes.h"

#include <algorithm>

#include "core/camera/identity/camera_information.h"
#include "core/protocol/command_mnemonics.h"
#include "core/protocol/exchange.h"

namespace vk {
namespace {

constexpr const char* kUserIdTooLong = "User ID string is too long !!";
constexpr const char* kUserIdNotWritten = "Couldn't write the User ID.";
constexpr const char* kNotUnlocked = "Couldn't save camera id.";
constexpr const char* kCameraIdNotWritten = "Couldn't save the camera id.";
constexpr const char* kCameraIdTooLong = "Camera ID string is too long !!";
constexpr const char* kDeviceVersionWritten = "Writing the Device Version has been completed.";
constexpr const char* kDeviceVersionNotWritten = "Couldn't write the Device Version.";
constexpr const char* kUnsendable = "The text holds a character that cannot be sent: ";

// A line end or another control character inside a value would end the line early and
// send the rest as a second command.
bool Sendable(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 && u < 0x7f;
    });
}

IdentityOutcome Refused(std::string text) {
    return {false, false, std::move(text), MessageIcon::Stop, {}};
}

IdentityOutcome Failed(const ExchangeResult& exchange, const char* text) {
    return {false, true, text, MessageIcon::Stop, exchange};
}

IdentityOutcome Done(std::string text) {
    return {true, true, std::move(text), MessageIcon::Information, {}};
}

}  // namespace

QueryResult<std::string> QueryUserId(Exchange& exchange) {
    return exchange.QueryString(Cmd("UD"), kIdTimeoutMs);
}

QueryResult<std::string> QueryCameraId(Exchange& exchange) {
    return exchange.QueryString(Cmd("ID"), kIdTimeoutMs);
}

QueryResult<std::int32_t> QueryDeviceVersion(Exchange& exchange) {
    return exchange.QueryInt(Cmd("DVW"), kInformationTimeoutMs);
}

IdentityOutcome WriteUserId(Exchange& exchange, const std::string& userId) {
    if (userId.size() > kUserIdMaxLength) return Refused(kUserIdTooLong);
    if (!Sendable(userId)) return Refused(kUnsendable + std::string("\"") + userId + "\"");
    const ExchangeResult result = exchange.SendSetString(Cmd("UD"), userId, kIdTimeoutMs);
    if (!result) return Failed(result, kUserIdNotWritten);
    return Done("Writing the User ID \"" + userId + "\" has been completed.");
}

IdentityOutcome WriteCameraId(Exchange& exchange, const std::string& cameraId) {
    if (cameraId.size() > kCameraIdLength) return Refused(kCameraIdTooLong);
    if (!Sendable(cameraId)) return Refused(kUnsendable + std::string("\"") + cameraId + "\"");
    ExchangeResult result = exchange.SendSetInt(Cmd("ULCK"), kCameraIdUnlockCode, kIdTimeoutMs);
    if (!result) return Failed(result, kNotUnlocked);
    result = exchange.SendSetString(Cmd("ID"), cameraId, kIdTimeoutMs);
    if (!result) return Failed(result, kCameraIdNotWritten);
    return Done("Completed saving camera id: " + cameraId + ".");
}

IdentityOutcome WriteDeviceVersion(Exchange& exchange, std::int32_t version) {
    const ExchangeResult result = exchange.SendSetInt(Cmd("DVW"), version, kDeviceVersionTimeoutMs);
    if (!result) return Failed(result, kDeviceVersionNotWritten);
    return Done(kDeviceVersionWritten);
}

IdentityOutcome WriteDeviceVersion(Exchange& exchange, const std::array<std::string, 4>& digits) {
    const std::optional<std::int32_t> version = JoinDeviceVersion(digits);
    if (!version) return Refused(kDeviceVersionNotWritten);
    return WriteDeviceVersion(exchange, *version);
}

}  // namespace vk
