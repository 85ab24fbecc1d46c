#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/protocol/exchange_result.h"

namespace vk {

struct RegisterResult {
    // Ok, or why not: Refused (the camera or the request said no), TimedOut, LineGone,
    // Cancelled (the user stopped the wait), Busy.
    ExchangeStatus status = ExchangeStatus::Refused;
    std::string reason;               // why it failed, for the user
    std::vector<std::uint8_t> bytes;  // the bytes read

    bool ok() const { return status == ExchangeStatus::Ok; }
    static RegisterResult Success(std::vector<std::uint8_t> bytes = {}) {
        return {ExchangeStatus::Ok, {}, std::move(bytes)};
    }
    static RegisterResult Failure(ExchangeStatus status, std::string reason) {
        return {status, std::move(reason), {}};
    }
};

// Reads and writes the camera's registers. The real one runs GenCP packets over the serial
// channel; tests and the grid's users may give their own.
class RegisterPort {
public:
    virtual ~RegisterPort() = default;
    virtual RegisterResult Read(std::uint64_t address, std::uint32_t length) = 0;
    virtual RegisterResult Write(std::uint64_t address, const std::vector<std::uint8_t>& bytes) = 0;
};

}  // namespace vk
