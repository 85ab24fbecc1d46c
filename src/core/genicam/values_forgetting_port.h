#pragma once

#include "core/genicam/register_port.h"
#include "core/protocol/exchange.h"

namespace vk {

// A register written through GenCP may stand behind any parameter row (Exposure Time is
// also "PE"), and the exchange never sees which: after a write the camera took, every row's
// value is unknown again, so no page shows and no setting file keeps a value the camera may
// no longer hold. A write that timed out may have been taken as well. Reads change nothing.
class ValuesForgettingPort : public RegisterPort {
public:
    ValuesForgettingPort(RegisterPort& port, Exchange& exchange)
        : port_(port), exchange_(exchange) {}

    RegisterResult Read(std::uint64_t address, std::uint32_t length) override {
        return port_.Read(address, length);
    }
    RegisterResult Write(std::uint64_t address, const std::vector<std::uint8_t>& bytes) override {
        RegisterResult result = port_.Write(address, bytes);
        if (result.ok() || result.status == ExchangeStatus::TimedOut) exchange_.ForgetValues();
        return result;
    }

private:
    RegisterPort& port_;
    Exchange& exchange_;
};

}  // namespace vk
