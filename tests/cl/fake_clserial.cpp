// A stand-in for a frame grabber's Camera Link serial library. Built once per library
// kind (FAKE_KIND 2000, 2001 or 11) and, for the failure variants, with one entry point
// left out (OMIT_<function>). Its serial ports talk to the device named in the
// environment, normally the simulated camera's pseudo-terminal.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fake_cl_control.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

namespace ctl = vk::test::fakecl;

constexpr int kErrManufacturer = -10002;
constexpr int kErrTimeout = -10004;
constexpr int kErrIndex = -10005;
constexpr int kErrReference = -10006;

struct Port {
    int fd = -1;
    std::string pending;  // bytes read from the device, not yet handed out
};

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
    const int fd = ::open(Env(ctl::kDevice).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return kErrIndex;
    termios raw{};
    if (::tcgetattr(fd, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }
    *serialRef = new Port{fd, {}};
    return 0;
}

EXPORT void clSerialClose(void* serialRef) {
    Log("clSerialClose");
    auto* port = static_cast<Port*>(serialRef);
    if (!port) return;
    ::close(port->fd);
    delete port;
}

// All or nothing, as the standard has it: the requested count or a time-out.
EXPORT int clSerialRead(void* serialRef, char* buffer, unsigned* bufferSize, unsigned timeoutMs) {
    auto* port = static_cast<Port*>(serialRef);
    if (!port) return kErrReference;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (port->pending.size() < *bufferSize) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        pollfd p{port->fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left > 0 ? left : 0)) <= 0) return kErrTimeout;
        char chunk[256];
        const ssize_t n = ::read(port->fd, chunk, sizeof chunk);
        if (n <= 0) return kErrTimeout;  // the far end went away
        port->pending.append(chunk, static_cast<std::size_t>(n));
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
    std::size_t done = 0;
    while (done < *bufferSize) {
        const ssize_t n = ::write(port->fd, buffer + done, *bufferSize - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        pollfd p{port->fd, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(timeoutMs)) <= 0) break;
    }
    *bufferSize = static_cast<unsigned>(done);
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
