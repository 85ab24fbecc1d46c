#include "core/comm/cl_serial_v11_library.h"

#include <array>

namespace vk {
namespace {

constexpr std::array kEntries = {
    ClEntry::SerialInit,   ClEntry::SerialClose,           ClEntry::SetBaudRate,
    ClEntry::SerialRead,   ClEntry::SerialWrite,           ClEntry::FlushPort,
    ClEntry::GetErrorText, ClEntry::GetNumPorts,           ClEntry::GetNumBytesAvail,
    ClEntry::GetPortInfo,  ClEntry::GetSupportedBaudRates,
};

constexpr const char* kLibrary = "clallserial";

}  // namespace

ClSerialV11Library::ClSerialV11Library() : ClSerialBinding(kEntries) {}

std::vector<std::string> ClSerialV11Library::Ports(const ClSerialModule& module) {
    using Api = ClStdcallApi;
    std::uint32_t count = 0;
    if (module.Get<Api::GetCount>(ClEntry::GetNumPorts)(&count) != 0 || count > kMaxPorts) {
        return {};
    }
    std::vector<std::string> ports;
    for (std::uint32_t i = 0; i < count; ++i) {
        char maker[kNameBufferSize + 1] = {};
        char port[kNameBufferSize + 1] = {};
        std::uint32_t makerSize = kNameBufferSize;
        std::uint32_t portSize = kNameBufferSize;
        std::uint32_t version = 0;
        module.Get<Api::GetPortInfo>(ClEntry::GetPortInfo)(i, maker, &makerSize, port, &portSize,
                                                           &version);
        ports.push_back(NameFromBuffer(maker) + " - " + NameFromBuffer(port));
    }
    return ports;
}

std::optional<std::vector<std::string>> ClSerialV11Library::Enumerate() {
    ClSerialModule module;
    if (!LoadModule(module, ClSerialCommonLibrary(kLibrary))) return std::vector<std::string>{};
    return Ports(module);
}

bool ClSerialV11Library::PrepareOpen(ClSerialModule& module, std::uint32_t index) {
    if (!LoadModule(module, ClSerialCommonLibrary(kLibrary))) return false;
    // The list names the port in the baud-rate refusal.
    if (index >= ports_.size()) ports_ = Ports(module);
    openIndex_ = index;
    return true;
}

bool ClSerialV11Library::SetBaudRate(std::uint32_t rate) {
    std::string port = PortName(static_cast<int>(openIndex_));
    if (port.empty()) port = "port " + std::to_string(openIndex_);
    return SetBaudRateByMask(rate, "Selected baud rate is not supported in " + port + ".");
}

}  // namespace vk
