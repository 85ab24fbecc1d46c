#pragma once

#include "core/comm/cl_serial_binding.h"

namespace vk {

// Mode 3: the common library "clallserial" of version 1.1, which lists every port of
// every installed grabber as "maker - port".
class ClSerialV11Library final : public ClSerialBinding<ClStdcallApi> {
public:
    ClSerialV11Library();

    bool SetBaudRate(std::uint32_t rate) override;

private:
    std::optional<std::vector<std::string>> Enumerate() override;
    bool PrepareOpen(ClSerialModule& module, std::uint32_t index) override;

    static std::vector<std::string> Ports(const ClSerialModule& module);

    std::uint32_t openIndex_ = 0;
};

}  // namespace vk
