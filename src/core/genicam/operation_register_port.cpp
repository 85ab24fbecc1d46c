#include "core/genicam/operation_register_port.h"

#include "core/operation_runner.h"

namespace vk {

template <typename Access>
RegisterResult OperationRegisterPort::Run(const char* name, const Access& access) {
    RegisterResult result;
    bool ran = false;
    const ExchangeResult outcome = runner_.Run({name, false, false, true}, [&](Operation&) {
        ran = true;
        result = access();
        return result.ok() ? ExchangeResult::Success() : ExchangeResult::Failure(result.status);
    });
    if (!ran) result = RegisterResult::Failure(outcome.status, StatusName(outcome.status));
    return result;
}

RegisterResult OperationRegisterPort::Read(std::uint64_t address, std::uint32_t length) {
    return Run(kRegisterReadText, [&] { return port_.Read(address, length); });
}

RegisterResult OperationRegisterPort::Write(std::uint64_t address,
                                            const std::vector<std::uint8_t>& bytes) {
    return Run(kRegisterWriteText, [&] { return port_.Write(address, bytes); });
}

}  // namespace vk
