#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/platform/shared_library.h"

// Calling conventions of the published headers; they differ only on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define VK_CL_CDECL __cdecl
#define VK_CL_STDCALL __stdcall
#else
#define VK_CL_CDECL
#define VK_CL_STDCALL
#endif

namespace vk {

// Entry points of the Camera Link serial API that some binding resolves.
enum class ClEntry : int {
    SerialInit,
    SerialClose,
    SerialRead,
    SerialWrite,
    GetSupportedBaudRates,
    SetBaudRate,
    GetManufacturer,
    GetNumManufacturers,
    SelectManufacturer,
    GetNumSerialPorts,
    GetSerialPortIdentifier,
    GetErrorText,
    FlushPort,
    GetNumPorts,
    GetNumBytesAvail,
    GetPortInfo,
};
inline constexpr int kClEntryCount = 16;

const char* ClEntryName(ClEntry entry);

// The standard's CL_BAUDRATE bit of a rate; 0 for a rate it does not name.
std::uint32_t BaudRateMask(std::uint32_t rate);

// Function types of the entry points that are called, for one calling convention.
#define VK_CL_FUNCTION_TYPES(CALL)                                                            \
    using SerialInit = int(CALL*)(std::uint32_t, void**);                                     \
    using SerialClose = void(CALL*)(void*);                                                   \
    using SerialTransfer = int(CALL*)(void*, char*, std::uint32_t*, std::uint32_t);           \
    using GetSupportedBaudRates = int(CALL*)(void*, std::uint32_t*);                          \
    using SetBaudRate = int(CALL*)(void*, std::uint32_t);                                     \
    using GetCount = int(CALL*)(std::uint32_t*);                                              \
    using GetManufacturer = int(CALL*)(std::uint32_t, char*, std::uint32_t*, std::uint32_t*); \
    using SelectManufacturer = int(CALL*)(const char*);                                       \
    using GetPortInfo =                                                                       \
        int(CALL*)(std::uint32_t, char*, std::uint32_t*, char*, std::uint32_t*, std::uint32_t*);

// Grabber makers' libraries and the 2001 common library.
struct ClCdeclApi {
    VK_CL_FUNCTION_TYPES(VK_CL_CDECL)
};
// The common library of version 1.1.
struct ClStdcallApi {
    VK_CL_FUNCTION_TYPES(VK_CL_STDCALL)
};

#undef VK_CL_FUNCTION_TYPES

// One load of a Camera Link serial library with its entry points resolved.
class ClSerialModule {
public:
    // Loads the library and resolves every entry in order; false, with nothing left
    // loaded, when the library is missing or lacks one of them (LastError says which).
    bool Load(const std::string& pathOrName, std::span<const ClEntry> entries);
    void Unload();
    bool IsLoaded() const { return library_.IsLoaded(); }
    const std::string& LastError() const { return lastError_; }

    template <class Fn>
    Fn Get(ClEntry entry) const {
        return reinterpret_cast<Fn>(entries_[static_cast<int>(entry)]);
    }

private:
    SharedLibrary library_;
    std::array<void*, kClEntryCount> entries_{};
    std::string lastError_;
};

// Where the libraries are looked for: the directory in CLSERIAL_PATH when that is set,
// otherwise the Camera Link standard's folders (Windows) and the system's library
// directories.
std::vector<std::string> ClSerialDirectories();
// What to load for a common library ("clserial", "clallserial"): its file in CLSERIAL_PATH
// when that is set, otherwise its file in the first Camera Link standard folder that has
// it, otherwise its bare file name for the ordinary search.
std::string ClSerialCommonLibrary(const std::string& stem);
// Where the libraries were looked for, in words, for a message that says what is missing.
std::string ClSerialSearchedPlaces();

}  // namespace vk
