#include "core/comm/cl_serial_binding.h"

#include <algorithm>
#include <cstring>

namespace vk {

template <class Api>
bool ClSerialBinding<Api>::OpenPort(int index) {
    ClosePort();
    lastError_.clear();
    if (index < 0) return false;
    const auto serialIndex = static_cast<std::uint32_t>(index);
    void* ref = nullptr;
    if (!PrepareOpen(module_, serialIndex)) {
        if (lastError_.empty()) lastError_ = module_.LastError();
        module_.Unload();
        return false;
    }
    const int result =
        module_.Get<typename Api::SerialInit>(ClEntry::SerialInit)(serialIndex, &ref);
    if (result != 0) {
        lastError_ = "The Camera Link library could not open port " + std::to_string(serialIndex) +
                     " (clSerialInit gave error " + std::to_string(result) + ").";
        module_.Unload();
        return false;
    }
    ref_ = ref;
    open_ = true;
    return true;
}

template <class Api>
void ClSerialBinding<Api>::ClosePort() {
    if (open_) module_.Get<typename Api::SerialClose>(ClEntry::SerialClose)(ref_);
    open_ = false;
    ref_ = nullptr;
    module_.Unload();
}

template <class Api>
bool ClSerialBinding<Api>::Write(const char* bytes, int length, int timeoutMs) {
    if (!open_ || !bytes || length <= 0) return false;
    // The API takes a writable buffer; the caller's bytes stay untouched.
    std::vector<char> copy(bytes, bytes + length);
    auto size = static_cast<std::uint32_t>(length);
    const int result = module_.Get<typename Api::SerialTransfer>(ClEntry::SerialWrite)(
        ref_, copy.data(), &size, static_cast<std::uint32_t>(std::max(timeoutMs, 0)));
    // A write that left bytes behind is not a success.
    return result == 0 && size == static_cast<std::uint32_t>(length);
}

template <class Api>
int ClSerialBinding<Api>::Read(char* buffer, int maxCount, int timeoutMs) {
    if (!open_ || !buffer || maxCount <= 0) return 0;
    auto size = static_cast<std::uint32_t>(maxCount);
    const int result = module_.Get<typename Api::SerialTransfer>(ClEntry::SerialRead)(
        ref_, buffer, &size, static_cast<std::uint32_t>(std::max(timeoutMs, 0)));
    // A size beyond what was asked for cannot be true: nothing is trusted then.
    if (result != 0 || size > static_cast<std::uint32_t>(maxCount)) return 0;
    return static_cast<int>(size);
}

template <class Api>
int ClSerialBinding<Api>::PortCount() {
    if (auto listed = Enumerate()) ports_ = std::move(*listed);
    return static_cast<int>(ports_.size());
}

template <class Api>
std::string ClSerialBinding<Api>::PortName(int index) {
    if (index < 0 || index >= static_cast<int>(ports_.size())) return {};
    return ports_[static_cast<std::size_t>(index)];
}

template <class Api>
bool ClSerialBinding<Api>::SetBaudRateByMask(std::uint32_t rate, const std::string& refusal) {
    if (!open_) return false;
    std::uint32_t mask = 0;
    const std::uint32_t bit = BaudRateMask(rate);
    const int result = module_.Get<typename Api::GetSupportedBaudRates>(
        ClEntry::GetSupportedBaudRates)(ref_, &mask);
    if (result == 0 && (mask & bit) != 0) {
        module_.Get<typename Api::SetBaudRate>(ClEntry::SetBaudRate)(ref_, bit);
        return true;
    }
    RefuseBaudRate(refusal);
    return false;
}

template <class Api>
void ClSerialBinding<Api>::RefuseBaudRate(const std::string& text) {
    lastError_ = text;
}

template <class Api>
std::string ClSerialBinding<Api>::NameFromBuffer(const char* buffer) {
    return std::string(buffer, ::strnlen(buffer, kNameBufferSize));
}

template class ClSerialBinding<ClCdeclApi>;
template class ClSerialBinding<ClStdcallApi>;

}  // namespace vk
