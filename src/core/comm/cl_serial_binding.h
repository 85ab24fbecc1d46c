#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/comm/cl_serial_api.h"
#include "core/comm/cl_serial_library.h"

namespace vk {

// What the three Camera Link bindings share: the port list, the library loaded for an
// open port, the serial reference, and the calls every binding makes the same way.
// Enumeration loads its own copy of the library, so listing ports never disturbs an
// open port. Api picks the calling convention of the library's functions.
template <class Api>
class ClSerialBinding : public ClSerialLibrary {
public:
    ~ClSerialBinding() override { ClosePort(); }
    ClSerialBinding(const ClSerialBinding&) = delete;
    ClSerialBinding& operator=(const ClSerialBinding&) = delete;

    bool OpenPort(int index) override;
    void ClosePort() override;
    bool IsOpen() const override { return open_; }
    const std::string& LastError() const override { return lastError_; }
    bool Write(const char* bytes, int length, int timeoutMs) override;
    int Read(char* buffer, int maxCount, int timeoutMs) override;
    int PortCount() override;
    std::string PortName(int index) override;

    // More ports than any grabber has: a count above it is nonsense from the library.
    static constexpr std::uint32_t kMaxPorts = 256;
    // Size of the name buffers handed to the library.
    static constexpr std::uint32_t kNameBufferSize = 128;

protected:
    explicit ClSerialBinding(std::span<const ClEntry> entries) : entries_(entries) {}

    // A fresh port list, or nullopt to keep the current one.
    virtual std::optional<std::vector<std::string>> Enumerate() = 0;
    // Loads `module` for the port at `index` and does what must precede clSerialInit.
    virtual bool PrepareOpen(ClSerialModule& module, std::uint32_t index) = 0;

    // Loads the library's own copy (entries of this binding), false when that fails.
    bool LoadModule(ClSerialModule& module, const std::string& pathOrName) const {
        return module.Load(pathOrName, entries_);
    }
    // Sets the rate when the library's mask has its bit, else keeps `refusal` as the reason.
    bool SetBaudRateByMask(std::uint32_t rate, const std::string& refusal);
    void RefuseBaudRate(const std::string& text);
    // Why the open about to fail did; kept by OpenPort unless the library says more.
    void SetOpenError(const std::string& text) { lastError_ = text; }
    // A text out of a name buffer that the library may have left unterminated.
    static std::string NameFromBuffer(const char* buffer);

    std::vector<std::string> ports_;

private:
    std::span<const ClEntry> entries_;
    ClSerialModule module_;  // loaded while a port is open
    void* ref_ = nullptr;
    bool open_ = false;
    std::string lastError_;
};

extern template class ClSerialBinding<ClCdeclApi>;
extern template class ClSerialBinding<ClStdcallApi>;

}  // namespace vk
