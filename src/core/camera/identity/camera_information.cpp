#include "core/camera/identity/camera_information.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "core/comm/model_check.h"
#include "core/protocol/command_mnemonics.h"
#include "core/protocol/exchange.h"
#include "core/protocol/reply_parser.h"

namespace vk {
namespace {

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

}  // namespace

CameraInformation ReadCameraInformation(Exchange& exchange, ModelCheck& modelCheck, int timeoutMs) {
    CameraInformation info;
    // Every field is asked for; the first failure is the one told.
    const auto answered = [&info](const ExchangeResult& result) {
        if (!result && info.firstFailure.ok()) info.firstFailure = result;
        return result.ok();
    };

    const auto firmware = exchange.QueryString(Cmd("VN"), timeoutMs);
    if (!answered(firmware)) return info;
    info.firmwareVersion = VersionText(firmware.value);

    if (answered(modelCheck.Check())) info.modelName = modelCheck.modelName;
    if (const auto id = exchange.QueryString(Cmd("ID"), timeoutMs); answered(id)) {
        info.cameraId = id.value;
    }
    if (const auto fpga = exchange.QueryString(Cmd("FPVN"), timeoutMs); answered(fpga)) {
        info.fpgaVersion = VersionText(fpga.value);
    }
    if (const auto user = exchange.QueryString(Cmd("UD"), timeoutMs); answered(user)) {
        info.userId = user.value;
    }
    if (const auto version = exchange.QueryInt(Cmd("DVW"), timeoutMs); answered(version)) {
        info.deviceVersion = version.value;
    }
    return info;
}

std::string FormatVersion(std::int32_t v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d.%02d", v / 100, v - 100 * (v / 100));
    return buf;
}

std::string VersionText(const std::string& received) {
    if (!AllDigits(received)) return received;
    const std::optional<std::int32_t> v = ReadTypedNumber<std::int32_t>(received);
    return v ? FormatVersion(*v) : received;
}

std::array<std::int32_t, 4> DeviceVersionDigits(std::int32_t v) {
    const std::int32_t d1 = v / 1000;
    std::int32_t rest = v - 1000 * d1;
    const std::int32_t d2 = rest / 100;
    rest -= 100 * d2;
    const std::int32_t d3 = rest / 10;
    return {d1, d2, d3, rest - 10 * d3};
}

std::string DeviceVersionText(std::int32_t v) {
    const auto d = DeviceVersionDigits(v);
    return std::to_string(d[0]) + "." + std::to_string(d[1]) + "." + std::to_string(d[2]) + "." +
           std::to_string(d[3]);
}

std::optional<std::int32_t> JoinDeviceVersion(const std::array<std::string, 4>& digits) {
    std::string joined;
    for (const std::string& d : digits)
        joined += d;
    if (!AllDigits(joined)) return std::nullopt;
    return ReadTypedNumber<std::int32_t>(joined);
}

}  // namespace vk
