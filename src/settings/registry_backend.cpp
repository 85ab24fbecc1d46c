#include "settings/registry_backend.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace vk::settings {
namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                          nullptr, nullptr);
    return utf8;
}

// QSettings marks its own encodings of other types with a leading '@' and doubles a
// leading '@' of a plain text; a text is kept and read the same way here.
std::string EscapeText(const std::string& text) {
    return text.starts_with('@') ? "@" + text : text;
}

std::optional<std::string> UnescapeText(const std::string& text) {
    if (text.starts_with("@@")) return text.substr(1);
    const std::string byteArray = "@ByteArray(";
    if (text.starts_with(byteArray) && text.ends_with(')')) {
        return text.substr(byteArray.size(), text.size() - byteArray.size() - 1);
    }
    if (text.starts_with('@')) return std::nullopt;  // @Invalid(), @Variant(...): no setting
    return text;
}

// UTF-16 data as the registry returns it: up to the first terminating zero, if any.
std::wstring WideText(const std::vector<BYTE>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    if (const auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
    return text;
}

class Key {
public:
    ~Key() {
        if (handle_) ::RegCloseKey(handle_);
    }
    HKEY* Out() { return &handle_; }
    HKEY Get() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

}  // namespace

RegistryBackend::RegistryBackend() : RegistryBackend(kDefaultSubKey) {}

RegistryBackend::RegistryBackend(std::string subKey) : subKey_(std::move(subKey)) {}

std::optional<StoredValue> RegistryBackend::Read(const std::string& name) {
    Key key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(subKey_).c_str(), 0, KEY_QUERY_VALUE, key.Out()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring valueName = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<BYTE> data(size);
    if (::RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    switch (type) {
        case REG_DWORD:
            if (data.size() < sizeof(std::uint32_t)) return std::nullopt;
            return std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                   std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24;
        case REG_QWORD:  // QSettings' choice for a 64-bit number: its low 32 bits
            if (data.size() < sizeof(std::uint64_t)) return std::nullopt;
            return std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                   std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24;
        case REG_SZ:
        case REG_EXPAND_SZ:
        case REG_MULTI_SZ:  // its first text
        case REG_BINARY: {  // QSettings' choice for a text with a zero character in it
            auto text = UnescapeText(Utf8(WideText(data)));
            if (!text) return std::nullopt;
            return *text;
        }
        default:
            return std::nullopt;
    }
}

bool RegistryBackend::Write(const std::string& name, const StoredValue& value) {
    Key key;
    // Creates the key when it is missing, so the first write of a fresh user succeeds.
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(subKey_).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, key.Out(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring valueName = Wide(name);
    LONG result = ERROR_SUCCESS;
    if (const auto* number = std::get_if<std::uint32_t>(&value)) {
        const DWORD dword = *number;
        result = ::RegSetValueExW(key.Get(), valueName.c_str(), 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&dword), sizeof dword);
    } else {
        const std::wstring text = Wide(EscapeText(std::get<std::string>(value)));
        result = ::RegSetValueExW(key.Get(), valueName.c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    return result == ERROR_SUCCESS;
}

std::string RegistryBackend::Location() const {
    return "HKEY_CURRENT_USER\\" + subKey_;
}

}  // namespace vk::settings
