#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vk {

// Flags of a feature record.
namespace feature_flags {
constexpr std::uint32_t kCategory = 0x80000000;
constexpr std::uint32_t kReadable = 0x1;
constexpr std::uint32_t kWritable = 0x2;
constexpr std::uint32_t kText = 16;
constexpr std::uint32_t kFloat = 32;
constexpr std::uint32_t kCommand = 64;
}  // namespace feature_flags

struct FeatureEntry {
    std::int32_t value = 0;
    std::string name;
};

enum class FeatureKind { Category, Integer, Enumerated, Float, Text, Command };

// "Integer", "Enumeration", ...: the kind in the words of the description.
constexpr const char* FeatureKindName(FeatureKind kind) {
    switch (kind) {
        case FeatureKind::Category:
            return "Category";
        case FeatureKind::Integer:
            return "Integer";
        case FeatureKind::Enumerated:
            return "Enumeration";
        case FeatureKind::Float:
            return "Float";
        case FeatureKind::Text:
            return "Text";
        case FeatureKind::Command:
            return "Command";
    }
    return "?";
}

// One category heading or one feature of the camera's description, with its register.
struct FeatureRecord {
    static constexpr const char* kNoName = "???";

    std::uint32_t flags = 0;
    std::uint32_t address = 0;
    std::uint32_t length = 0;
    std::string displayName = kNoName;
    double min = 0;  // for a command: the value written to run it
    double max = 0;
    std::vector<FeatureEntry> entries;  // enumeration entries; a boolean's FALSE and TRUE

    bool IsCategory() const { return (flags & feature_flags::kCategory) != 0; }
    bool Readable() const { return !IsCategory() && (flags & feature_flags::kReadable) != 0; }
    bool Writable() const { return !IsCategory() && (flags & feature_flags::kWritable) != 0; }
    FeatureKind Kind() const;
};

inline FeatureKind FeatureRecord::Kind() const {
    using namespace feature_flags;
    if (IsCategory()) return FeatureKind::Category;
    if ((flags & kText) != 0) return FeatureKind::Text;
    if ((flags & kFloat) != 0) return FeatureKind::Float;
    if ((flags & kCommand) != 0) return FeatureKind::Command;
    return entries.empty() ? FeatureKind::Integer : FeatureKind::Enumerated;
}

// The records in the order of the description: a category, then the features after it.
struct FeatureTable {
    static constexpr std::size_t kMaxRecords = 5000;
    static constexpr std::size_t kMaxEntries = 16;

    std::vector<FeatureRecord> records;
};

}  // namespace vk
