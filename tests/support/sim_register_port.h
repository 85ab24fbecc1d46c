#pragma once

#include <string>
#include <string_view>

#include "core/genicam/gencp.h"
#include "core/genicam/register_port.h"
#include "sim/camera_model.h"
#include "sim/register_space.h"

namespace vk::test {

// Register access to an in-process simulated camera: real GenCP packets, no line between.
class SimRegisterPort : public RegisterPort {
public:
    explicit SimRegisterPort(sim::CameraModel& model) : space_(model, "VK-4100C-PMCL") {}

    RegisterResult Read(std::uint64_t address, std::uint32_t length) override {
        const std::uint16_t id = ids_.Take();
        const auto size = static_cast<std::uint16_t>(length);
        return Exchange(gencp::BuildReadRequest(id, address, size),
                        gencp::ReadAckExpectation(id, size, size));
    }
    RegisterResult Write(std::uint64_t address, const std::vector<std::uint8_t>& bytes) override {
        const std::uint16_t id = ids_.Take();
        return Exchange(gencp::BuildWriteRequest(id, address, bytes),
                        gencp::WriteAckExpectation(id));
    }

private:
    RegisterResult Exchange(const gencp::Bytes& request, const gencp::AckExpectation& expect) {
        const std::string ack = space_.Handle(
            std::string_view(reinterpret_cast<const char*>(request.data()), request.size()));
        const gencp::Ack parsed = gencp::ParseAck(gencp::Bytes(ack.begin(), ack.end()), expect);
        if (parsed.check.state != gencp::AckState::Done) {
            return RegisterResult::Failure(ExchangeStatus::Refused, parsed.check.reason);
        }
        return RegisterResult::Success(parsed.data);
    }

    sim::RegisterSpace space_;
    gencp::RequestCounter ids_;
};

}  // namespace vk::test
