#pragma once

#include "core/comm/cl_serial_binding.h"

namespace vk {

// Mode 2: the common library "clserial" of 2001, which forwards to the grabber maker
// selected by name; the port index is the position of the maker in its list.
class ClSerial2001Library final : public ClSerialBinding<ClCdeclApi> {
public:
    ClSerial2001Library();

    bool SetBaudRate(std::uint32_t rate) override;

private:
    std::optional<std::vector<std::string>> Enumerate() override;
    bool PrepareOpen(ClSerialModule& module, std::uint32_t index) override;

    static std::vector<std::string> Manufacturers(const ClSerialModule& module);
};

}  // namespace vk
