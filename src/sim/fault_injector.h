#pragma once

#include <functional>
#include <optional>
#include <string>

#include "sim/line_server.h"
#include "sim/request.h"
#include "sim/simulated_camera.h"

namespace vk::sim {

// Decides which received lines a fault applies to and shapes the camera's answer by it.
class FaultInjector {
public:
    static constexpr std::size_t kOverlongBytes = 1024;

    void Set(const FaultSettings& spec) { spec_ = spec; }

    // The answer to one line: `answer` gives the camera's normal answer text (without CR LF)
    // and is not called when the fault keeps the camera from acting on the line.
    Outgoing Answer(const std::optional<Request>& request,
                    const std::function<std::string()>& answer);

    // The answer to a GenCP packet: silence, hang-up, delay and garbage apply as to a line;
    // the faults of text answers leave it alone.
    Outgoing AnswerPacket(const std::function<std::string()>& answer);

private:
    // The fault for this line, counting it against the fault's own count.
    Fault Take(const std::optional<Request>& request);

    FaultSettings spec_;
};

// "MNEMONIC=value" answered under the next mnemonic of the command table instead.
std::string WithOtherMnemonic(const std::string& mnemonic, const std::string& reply);

}  // namespace vk::sim
