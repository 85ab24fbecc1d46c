#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vk {

struct RegisterResult {
    bool ok = false;
    std::string reason;               // why it failed, for the user
    std::vector<std::uint8_t> bytes;  // the bytes read
    bool cancelled = false;           // the user stopped the wait
    bool timedOut = false;            // the camera did not answer in time
    bool lineGone = false;            // the port closed or hung up
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
