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
    // The fault the last Answer or AnswerPacket committed, with its settings.
    const FaultSettings& Taken() const { return taken_; }

    // The answer to one line: `answer` gives the camera's normal answer text (without CR LF)
    // and is not called when the fault keeps the camera from acting on the line. Reset and
    // Unplug answer nothing; the caller carries them out (see Taken()).
    Outgoing Answer(const std::optional<Request>& request,
                    const std::function<std::string()>& answer);

    // The answer to a GenCP packet: silence, hang-up, reset, unplug, delay and garbage apply
    // as to a line, an overlong run comes before the acknowledgement; the faults of text
    // answers leave it alone. Reset and Unplug are the caller's to carry out (see Taken()).
    // `pendingAck` gives a pending acknowledgement asking for the time it is given.
    Outgoing AnswerPacket(const std::function<std::string()>& answer,
                          const std::function<std::string(int waitMs)>& pendingAck);

private:
    // The fault for this line, counting it against the fault's own count.
    Fault Take(const std::optional<Request>& request);

    FaultSettings spec_;
    FaultSettings taken_;
};

// "MNEMONIC=value" answered under the next mnemonic of the command table instead.
std::string WithOtherMnemonic(const std::string& mnemonic, const std::string& reply);

}  // namespace vk::sim
