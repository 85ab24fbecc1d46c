#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vk::sim {

// The features the simulated camera describes in its XML file and serves as registers, each
// kept in the value of a text command so both ways to the camera agree.
enum class RegisterKind : std::uint8_t { Integer, Enumeration, Boolean, Float, Text, Command };

struct RegisterEntry {
    std::string_view name;
    std::string_view displayName;
    std::int32_t value;
};

struct SimRegister {
    std::string_view name;
    std::string_view displayName;
    std::string_view category;  // name of its category
    RegisterKind kind;
    std::uint32_t address;
    std::uint32_t length;
    std::string_view access;    // "RO", "WO" or "RW"
    std::string_view mnemonic;  // the command that holds the value
    std::int32_t min = 0;       // Integer and Float limits
    std::int32_t max = 0;
    std::span<const RegisterEntry> entries = {};
    std::int32_t commandValue = 0;  // Command: the value that runs it
};

struct SimCategory {
    std::string_view name;
    std::string_view displayName;
};

std::span<const SimCategory> SimCategories();
std::span<const SimRegister> SimRegisters();

// Where the simulated camera keeps its manifest and its zipped description.
constexpr std::uint64_t kSimManifestAddress = 0x10000;
constexpr std::uint64_t kSimFileAddress = 0x100000;

}  // namespace vk::sim
