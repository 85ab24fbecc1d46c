#include "core/comm/cl_serial_2000_library.h"

#include <algorithm>
#include <array>

namespace vk {
namespace {

constexpr std::array kEntries = {ClEntry::SerialInit, ClEntry::SerialClose, ClEntry::SerialRead,
                                 ClEntry::SerialWrite};

}  // namespace

ClSerial2000Library::ClSerial2000Library() : ClSerialBinding(kEntries) {}

std::optional<std::vector<std::string>> ClSerial2000Library::Enumerate() {
    // "libclser*.so" / "clser*.dll"
    const std::string pattern = SharedLibrary::FileName("clser*");
    const auto star = pattern.find('*');
    const std::string prefix = pattern.substr(0, star);
    const std::string suffix = pattern.substr(star + 1);

    std::vector<std::string> names;
    paths_.clear();
    for (const auto& dir : ClSerialDirectories()) {
        for (const auto& name : SharedLibrary::FindFiles(dir, prefix, suffix)) {
            // The first directory that holds a name wins, as a library search would.
            if (std::find(names.begin(), names.end(), name) != names.end()) continue;
            names.push_back(name);
            paths_.push_back(SharedLibrary::JoinPath(dir, name));
        }
    }
    return names;
}

bool ClSerial2000Library::PrepareOpen(ClSerialModule& module, std::uint32_t index) {
    // Opening at start-up comes before anyone listed the ports.
    if (index >= paths_.size()) PortCount();
    if (index < paths_.size()) return LoadModule(module, paths_[index]);
    if (paths_.empty()) {
        SetOpenError("No Camera Link library " + SharedLibrary::FileName("clser*") +
                     " was found in " + ClSerialSearchedPlaces() + ".");
    } else {
        SetOpenError("There is no Camera Link library number " + std::to_string(index) + "; " +
                     std::to_string(paths_.size()) + " were found.");
    }
    return false;
}

bool ClSerial2000Library::SetBaudRate(std::uint32_t rate) {
    if (rate == 9600) return true;
    RefuseBaudRate("Selected baud rate is not supported.");
    return false;
}

}  // namespace vk
