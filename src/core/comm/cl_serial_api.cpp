#include "core/comm/cl_serial_api.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/platform/camera_link_folders.h"

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
    lastError_.clear();
    if (!library_.Load(pathOrName)) {
        std::error_code ec;
        const std::filesystem::path path(pathOrName);
        const bool bare = !path.has_parent_path();
        const std::string file = path.filename().string();
        if (bare || !std::filesystem::exists(path, ec)) {
            lastError_ = "The Camera Link library " + file + " was not found in " +
                         ClSerialSearchedPlaces() + ".";
        } else {
            lastError_ = "The Camera Link library " + pathOrName +
                         " could not be loaded (not a library for this system, or one it "
                         "needs is missing).";
        }
        return false;
    }
    for (ClEntry entry : entries) {
        void* symbol = library_.Symbol(ClEntryName(entry));
        if (!symbol) {
            Unload();
            lastError_ = "The Camera Link library " + pathOrName + " lacks the function " +
                         ClEntryName(entry) + ".";
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
    std::vector<std::string> dirs;
    for (const CameraLinkFolder& folder : CameraLinkFolders())
        dirs.push_back(folder.path);
    for (const std::string& dir : SharedLibrary::SystemDirectories())
        dirs.push_back(dir);
    return dirs;
}

std::string ClSerialSearchedPlaces() {
    if (const char* dir = ConfiguredDirectory()) {
        return std::string(dir) + " (named by CLSERIAL_PATH)";
    }
    std::string places;
    for (const CameraLinkFolder& folder : CameraLinkFolders())
        places += (places.empty() ? "" : ", ") + folder.path + " (named by " + folder.origin + ")";
    const auto system = SharedLibrary::SystemDirectories();
    for (const auto& d : system)
        places += (places.empty() ? "" : ", ") + d;
    if (system.empty())
        places += (places.empty() ? "" : ", ") + std::string("the system library directories");
    return places + "; CLSERIAL_PATH can name the folder that holds it";
}

std::string ClSerialCommonLibrary(const std::string& stem) {
    const std::string file = SharedLibrary::FileName(stem);
    if (const char* dir = ConfiguredDirectory()) return SharedLibrary::JoinPath(dir, file);
    for (const CameraLinkFolder& folder : CameraLinkFolders()) {
        const std::string path = SharedLibrary::JoinPath(folder.path, file);
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    return file;
}

}  // namespace vk
