#pragma once

#include <cstdint>
#include <string>

namespace vk {

// What the serial channel asks of a Camera Link serial library binding.
class ClSerialLibrary {
public:
    virtual ~ClSerialLibrary() = default;

    virtual bool OpenPort(int index) = 0;
    virtual bool SetBaudRate(std::uint32_t rate) = 0;
    virtual void ClosePort() = 0;
    virtual bool IsOpen() const = 0;
    // Why the last rate or open was refused, in words.
    virtual const std::string& LastError() const = 0;
    virtual bool Write(const char* bytes, int length, int timeoutMs) = 0;
    // Bytes read; 0 on time-out or error.
    virtual int Read(char* buffer, int maxCount, int timeoutMs) = 0;
    // Enumerates afresh on every call.
    virtual int PortCount() = 0;
    // Empty text for an index outside the last enumeration.
    virtual std::string PortName(int index) = 0;
};

}  // namespace vk
