#pragma once

#include "core/comm/cl_serial_binding.h"

namespace vk {

// Mode 1: one library per grabber maker ("clser*" files in the library directory); the
// port index is the position of the file in the list. The line runs at 9600 only.
class ClSerial2000Library final : public ClSerialBinding<ClCdeclApi> {
public:
    ClSerial2000Library();

    bool SetBaudRate(std::uint32_t rate) override;

private:
    std::optional<std::vector<std::string>> Enumerate() override;
    bool PrepareOpen(ClSerialModule& module, std::uint32_t index) override;

    std::vector<std::string> paths_;  // full path of each listed file
};

}  // namespace vk
