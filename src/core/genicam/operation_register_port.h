#pragma once

#include "core/genicam/register_port.h"

namespace vk {

class OperationRunner;

inline constexpr const char* kRegisterReadText = "Reading a camera register.";
inline constexpr const char* kRegisterWriteText = "Writing a camera register.";

// Register access from outside an operation (a value changed in the grid): each read or
// write runs as a camera operation of its own through the runner, so it has the line to
// itself and is refused while another operation runs.
class OperationRegisterPort : public RegisterPort {
public:
    // `port` is used inside the operations; both must outlive this one.
    OperationRegisterPort(OperationRunner& runner, RegisterPort& port)
        : runner_(runner), port_(port) {}

    RegisterResult Read(std::uint64_t address, std::uint32_t length) override;
    RegisterResult Write(std::uint64_t address, const std::vector<std::uint8_t>& bytes) override;

private:
    template <typename Access>
    RegisterResult Run(const char* name, const Access& access);

    OperationRunner& runner_;
    RegisterPort& port_;
};

}  // namespace vk
