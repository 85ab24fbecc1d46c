#include "core/comm/cl_serial_2001_library.h"

#include <array>

namespace vk {
namespace {

constexpr std::array kEntries = {
    ClEntry::GetManufacturer,
    ClEntry::GetNumManufacturers,
    ClEntry::SelectManufacturer,
    ClEntry::GetNumSerialPorts,
    ClEntry::GetSerialPortIdentifier,
    ClEntry::SerialInit,
    ClEntry::SerialClose,
    ClEntry::SerialRead,
    ClEntry::SerialWrite,
    ClEntry::GetSupportedBaudRates,
    ClEntry::SetBaudRate,
    ClEntry::GetErrorText,
};

constexpr const char* kLibrary = "clserial";

}  // namespace

ClSerial2001Library::ClSerial2001Library() : ClSerialBinding(kEntries) {}

std::vector<std::string> ClSerial2001Library::Manufacturers(const ClSerialModule& module) {
    using Api = ClCdeclApi;
    std::uint32_t count = 0;
    if (module.Get<Api::GetCount>(ClEntry::GetNumManufacturers)(&count) != 0 || count > kMaxPorts) {
        return {};
    }
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < count; ++i) {
        // One spare byte keeps the text terminated whatever the library writes.
        char name[kNameBufferSize + 1] = {};
        std::uint32_t size = kNameBufferSize;
        std::uint32_t version = 0;
        module.Get<Api::GetManufacturer>(ClEntry::GetManufacturer)(i, name, &size, &version);
        names.push_back(NameFromBuffer(name));  // positions must stay the makers' indices
    }
    return names;
}

std::optional<std::vector<std::string>> ClSerial2001Library::Enumerate() {
    ClSerialModule module;
    // Without the library the list stays as it was.
    if (!LoadModule(module, ClSerialCommonLibrary(kLibrary))) return std::nullopt;
    return Manufacturers(module);
}

bool ClSerial2001Library::PrepareOpen(ClSerialModule& module, std::uint32_t index) {
    if (!LoadModule(module, ClSerialCommonLibrary(kLibrary))) return false;
    if (index >= ports_.size()) ports_ = Manufacturers(module);
    if (index >= ports_.size()) {
        SetOpenError("The Camera Link library knows no maker number " + std::to_string(index) +
                     "; it lists " + std::to_string(ports_.size()) + ".");
        return false;
    }
    const int result = module.Get<ClCdeclApi::SelectManufacturer>(ClEntry::SelectManufacturer)(
        ports_[index].c_str());
    if (result == 0) return true;
    SetOpenError("The Camera Link library did not take the maker \"" + ports_[index] +
                 "\" (clSelectManufacturer gave error " + std::to_string(result) + ").");
    return false;
}

bool ClSerial2001Library::SetBaudRate(std::uint32_t rate) {
    return SetBaudRateByMask(rate, "Selected baud rate is not supported.");
}

}  // namespace vk
