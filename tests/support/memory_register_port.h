#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/genicam/register_port.h"

namespace vk::test {

// Register memory without a camera: bytes never written read as 0. Counts the reads, so a
// test sees what the cache saved.
class MemoryRegisterPort : public RegisterPort {
public:
    std::map<std::uint64_t, std::uint8_t> bytes;
    int reads = 0;
    int writes = 0;

    void Put(std::uint64_t at, const std::vector<std::uint8_t>& data) {
        for (std::uint8_t b : data)
            bytes[at++] = b;
    }
    std::vector<std::uint8_t> Get(std::uint64_t at, std::size_t n) const {
        std::vector<std::uint8_t> out;
        for (std::size_t i = 0; i < n; ++i) {
            const auto it = bytes.find(at + i);
            out.push_back(it == bytes.end() ? 0 : it->second);
        }
        return out;
    }

    RegisterResult Read(std::uint64_t address, std::uint32_t length) override {
        ++reads;
        return RegisterResult::Success(Get(address, length));
    }
    RegisterResult Write(std::uint64_t address, const std::vector<std::uint8_t>& data) override {
        ++writes;
        Put(address, data);
        return RegisterResult::Success();
    }
};

}  // namespace vk::test
