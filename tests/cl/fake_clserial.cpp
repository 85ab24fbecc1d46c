// A stand-in for a frame grabber's Camera Link serial library. Built once per library
// kind (FAKE_KIND 2000, 2001 or 11) and, for the failure variants, with one entry point
// left out (OMIT_<function>). Its serial ports talk to the device named in the
// environment, normally the simulated camera's pseudo-terminal; on Windows a COM port
// (under Wine, one mapped onto that pseudo-terminal).
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "fake_cl_control.h"

#ifdef _WIN32
#define EXPORT extern "C" __declspec(dllexport)
#else
#define EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

namespace ctl = vk::test::fakecl;

constexpr int kErrManufacturer = -10002;
constexpr int kErrTimeout = -10004;
constexpr int kErrIndex = -10005;
constexpr int kErrReference = -10006;

#ifdef _WIN32
using Device = HANDLE;
#else
using Device = int;
#endif

struct Port {
    Device device;
    std::string pending;  // bytes read from the device, not yet handed out
};

#ifdef _WIN32

bool OpenDevice(const std::string& path, Device& device) {
    device = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (device == INVALID_HANDLE_VALUE) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (::GetCommState(device, &dcb)) {
        dcb.fBinary = TRUE;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fOutxCtsFlow = dcb.fOutX = dcb.fInX = FALSE;
        ::SetCommState(device, &dcb);
    }
    return true;
}

void CloseDevice(Device device) {
    ::CloseHandle(device);
}

// Appends what arrives within timeoutMs; false when nothing came.
bool ReadSome(Device device, std::string& pending, long long timeoutMs) {
    // Returns at once with what is there, else with the first byte or at the time-out.
    COMMTIMEOUTS t{MAXDWORD, MAXDWORD, static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 1), 0, 0};
    ::SetCommTimeouts(device, &t);
    char chunk[256];
    DWORD n = 0;
    if (!::ReadFile(device, chunk, sizeof chunk, &n, nullptr) || n == 0) return false;
    pending.append(chunk, n);
    return true;
}

[[maybe_unused]] std::size_t WriteAll(Device device, const char* bytes, std::size_t size,
                                      unsigned timeoutMs) {
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, timeoutMs};
    ::SetCommTimeouts(device, &t);
    DWORD n = 0;
    if (!::WriteFile(device, bytes, static_cast<DWORD>(size), &n, nullptr)) return 0;
    return n;
}

#else

bool OpenDevice(const std::string& path, Device& device) {
    device = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (device < 0) return false;
    termios raw{};
    if (::tcgetattr(device, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(device, TCSANOW, &raw);
    }
    return true;
}

void CloseDevice(Device device) {
    ::close(device);
}

bool ReadSome(Device device, std::string& pending, long long timeoutMs) {
    pollfd p{device, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(timeoutMs > 0 ? timeoutMs : 0)) <= 0) return false;
    char chunk[256];
    const ssize_t n = ::read(device, chunk, sizeof chunk);
    if (n <= 0) return false;  // the far end went away
    pending.append(chunk, static_cast<std::size_t>(n));
    return true;
}

[[maybe_unused]] std::size_t WriteAll(Device device, const char* bytes, std::size_t size,
                                      unsigned timeoutMs) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(device, bytes + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        pollfd p{device, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(timeoutMs)) <= 0) break;
    }
    return done;
}

#endif

std::string Env(const char* name, const char* fallback = "") {
    const char* v = std::getenv(name);
    return v ? v : fallback;
}

std::uint32_t EnvNumber(const char* name, std::uint32_t fallback) {
    const std::string v = Env(name);
    return v.empty() ? fallback : static_cast<std::uint32_t>(std::strtoul(v.c_str(), nullptr, 0));
}

void Log(const std::string& line) {
    const std::string path = Env(ctl::kLog);
    if (path.empty()) return;
    if (std::FILE* f = std::fopen(path.c_str(), "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

[[maybe_unused]] void PutName(const std::string& name, char* buffer, unsigned* size) {
    if (Env(ctl::kLongNames) == "1") {
        std::memset(buffer, 'x', *size);  // no terminator, and a size beyond the buffer
        *size = *size + 1000;
        return;
    }
    std::snprintf(buffer, *size, "%s", name.c_str());
    *size = static_cast<unsigned>(name.size() + 1);
}

std::uint32_t Count() {
    return EnvNumber(ctl::kCount, 2);
}

[[maybe_unused]] std::string MakerName(unsigned index) {
    return "Maker " + std::string(1, char('A' + index % 26));
}

}  // namespace

EXPORT int clSerialInit(unsigned serialIndex, void** serialRef) {
    Log("clSerialInit " + std::to_string(serialIndex));
    if (const std::uint32_t forced = EnvNumber(ctl::kInitResult, 0)) {
        return static_cast<int>(forced);
    }
    if (FAKE_KIND != 2000 && serialIndex >= Count()) return kErrIndex;
    Device device{};
    if (!OpenDevice(Env(ctl::kDevice), device)) return kErrIndex;
    *serialRef = new Port{device, {}};
    return 0;
}

EXPORT void clSerialClose(void* serialRef) {
    Log("clSerialClose");
    auto* port = static_cast<Port*>(serialRef);
    if (!port) return;
    CloseDevice(port->device);
    delete port;
}

// All or nothing, as the standard has it: the requested count or a time-out.
EXPORT int clSerialRead(void* serialRef, char* buffer, unsigned* bufferSize, unsigned timeoutMs) {
    auto* port = static_cast<Port*>(serialRef);
    if (!port) return kErrReference;
    if (const std::string stall = Env(ctl::kReadStallMs); !stall.empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(stall.c_str())));
        timeoutMs = 0;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (port->pending.size() < *bufferSize) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (!ReadSome(port->device, port->pending, left)) return kErrTimeout;
    }
    std::memcpy(buffer, port->pending.data(), *bufferSize);
    port->pending.erase(0, *bufferSize);
    if (Env(ctl::kOversizedRead) == "1") *bufferSize += 4096;
    return 0;
}

#ifndef OMIT_clSerialWrite
EXPORT int clSerialWrite(void* serialRef, char* buffer, unsigned* bufferSize, unsigned timeoutMs) {
    Log("clSerialWrite " + std::to_string(timeoutMs));
    auto* port = static_cast<Port*>(serialRef);
    if (!port) return kErrReference;
    *bufferSize = static_cast<unsigned>(WriteAll(port->device, buffer, *bufferSize, timeoutMs));
    return 0;
}
#endif

#if FAKE_KIND == 2001 || FAKE_KIND == 11

#ifndef OMIT_clGetSupportedBaudRates
EXPORT int clGetSupportedBaudRates(void*, unsigned* mask) {
    *mask = EnvNumber(ctl::kBaudMask, 0x1f);
    return 0;
}
#endif

#ifndef OMIT_clSetBaudRate
EXPORT int clSetBaudRate(void*, unsigned baudRate) {
    Log("clSetBaudRate " + std::to_string(baudRate));
    return 0;
}
#endif

#ifndef OMIT_clGetErrorText
EXPORT int clGetErrorText(int, char*, unsigned*) {
    return kErrIndex;
}
#endif

#endif

#if FAKE_KIND == 2001

EXPORT int clGetNumManufacturers(unsigned* count) {
    *count = Count();
    return 0;
}

EXPORT int clGetManufacturer(unsigned index, char* name, unsigned* size, unsigned* version) {
    PutName(MakerName(index), name, size);
    *version = 1;
    return 0;
}

EXPORT int clSelectManufacturer(const char* name) {
    Log(std::string("clSelectManufacturer ") + name);
    for (unsigned i = 0; i < Count() && i < 26; ++i) {
        if (MakerName(i) == name) return 0;
    }
    return kErrManufacturer;
}

EXPORT int clGetNumSerialPorts(unsigned* count) {
    *count = 1;
    return 0;
}

EXPORT int clGetSerialPortIdentifier(unsigned, char* id, unsigned* size) {
    PutName("CL0", id, size);
    return 0;
}

#endif

#if FAKE_KIND == 11

EXPORT int clFlushPort(void*) {
    return 0;
}

EXPORT int clGetNumPorts(unsigned* count) {
    *count = Count();
    return 0;
}

#ifndef OMIT_clGetNumBytesAvail
EXPORT int clGetNumBytesAvail(void* serialRef, unsigned* count) {
    *count = static_cast<unsigned>(static_cast<Port*>(serialRef)->pending.size());
    return 0;
}
#endif

EXPORT int clGetPortInfo(unsigned index, char* maker, unsigned* makerSize, char* portId,
                         unsigned* portIdSize, unsigned* version) {
    PutName("Fakeworks", maker, makerSize);
    PutName("CL" + std::to_string(index), portId, portIdSize);
    *version = 0x11;
    return 0;
}

#endif
