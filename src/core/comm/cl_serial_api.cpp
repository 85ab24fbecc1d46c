#include "comm/cl_serial_api.h"

#include <cstdlib>

namespace vk {
namespace {

constexpr std::array<const char*, kClEntryCount> kEntryNames = {
    "clSerialInit",
    "clSerialClose",
    "clSerialRead",
    "clSerialWrite",
    "clGetSupportedBaudRates",
    "clSetBaudRate",
    "clGetManufacturer",
    "clGetNumManufacturers",
    "clSelectManufacturer",
    "clGetNumSerialPorts",
    "clGetSerialPortIdentifier",
    "clGetErrorText",
    "clFlushPort",
    "clGetNumPorts",
    "clGetNumBytesAvail",
    "clGetPortInfo",
};

constexpr std::array<std::uint32_t, 8> kMaskRates = {9600,   19200,  38400,  57600,
                                                     115200, 230400, 460800, 921600};

const char* ConfiguredDirectory() {
    const char* dir = std::getenv("CLSERIAL_PATH");
    return dir && *dir ? dir : nullptr;
}

}  // namespace

const char* ClEntryName(ClEntry entry) {
    return kEntryNames[static_cast<int>(entry)];
}

std::uint32_t BaudRateMask(std::uint32_t rate) {
    for (std::size_t i = 0; i < kMaskRates.size(); ++i) {
        if (kMaskRates[i] == rate) return 1u << i;
    }
    return 0;
}

bool ClSerialModule::Load(const std::string& pathOrName, std::span<const ClEntry> entries) {
    Unload();
    if (!library_.Load(pathOrName)) return false;
    for (ClEntry entry : entries) {
        void* symbol = library_.Symbol(ClEntryName(entry));
        if (!symbol) {
            Unload();
            return false;
        }
        entries_[static_cast<int>(entry)] = symbol;
    }
    return true;
}

void ClSerialModule::Unload() {
    entries_.fill(nullptr);
    library_.Unload();
}

std::vector<std::string> ClSerialDirectories() {
    if (const char* dir = ConfiguredDirectory()) return {dir};
    return SharedLibrary::SystemDirectories();
}

std::string ClSerialCommonLibrary(const std::string& stem) {
    const std::string file = SharedLibrary::FileName(stem);
    if (const char* dir = ConfiguredDirectory()) return SharedLibrary::JoinPath(dir, file);
    return file;
}

}  // namespace vk
