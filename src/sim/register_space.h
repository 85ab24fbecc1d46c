#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/camera_model.h"
#include "sim/description_standard.h"

namespace vk::sim {

// The camera's GenCP memory: the bootstrap registers, a manifest naming the zipped
// description, the description itself, and the feature registers, whose values live in the
// camera model's commands.
class RegisterSpace {
public:
    // `standard`: the description served is the standard-style one, with its memory.
    RegisterSpace(CameraModel& model, const std::string& modelName, bool standard = false);

    // The acknowledgement of one command packet.
    std::string Handle(std::string_view packet);
    // A pending acknowledgement of the command packet, asking for `waitMs` more.
    static std::string PendingAck(std::string_view packet, int waitMs);

private:
    struct Answer {
        std::uint16_t status = 0;
        std::vector<std::uint8_t> scd;
    };

    Answer Read(std::uint64_t address, std::size_t length) const;
    Answer Write(std::uint64_t address, std::span<const std::uint8_t> data);

    CameraModel& model_;
    std::vector<std::uint8_t> bootstrap_;
    std::vector<std::uint8_t> manifest_;
    std::vector<std::uint8_t> file_;   // the description file served
    std::vector<MemoryBlock> memory_;  // the standard-style description's registers
};

}  // namespace vk::sim
