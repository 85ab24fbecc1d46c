#include "core/genicam/feature_value.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core/genicam/register_layout.h"

namespace vk {
namespace {

constexpr std::size_t kWordLength = 4;

std::vector<std::uint8_t> Word(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return {};
    }
    return gencp::BigEndianBytes(static_cast<std::uint32_t>(value), kWordLength);
}

}  // namespace

FeatureValue ValueFromRegister(const FeatureRecord& record, std::span<const std::uint8_t> bytes) {
    switch (record.Kind()) {
        case FeatureKind::Float:
            return static_cast<double>(gencp::FloatFromBytes(bytes));
        case FeatureKind::Text: {
            const auto used = bytes.first(std::min<std::size_t>(bytes.size(), record.length));
            const auto end = std::find(used.begin(), used.end(), std::uint8_t{0});
            return std::string(used.begin(), end);
        }
        default:
            break;
    }
    std::uint8_t word[kWordLength] = {};
    std::copy_n(bytes.begin(), std::min(bytes.size(), kWordLength), word);
    const auto value = static_cast<std::int32_t>(gencp::ReadBigEndian(word));
    if (record.entries.empty()) return std::int64_t{value};
    const auto it = std::find_if(record.entries.begin(), record.entries.end(),
                                 [&](const FeatureEntry& e) { return e.value == value; });
    return std::int64_t{it == record.entries.end() ? -1 : it - record.entries.begin()};
}

std::vector<std::uint8_t> RegisterBytesFor(const FeatureRecord& record, const FeatureValue& value) {
    switch (record.Kind()) {
        case FeatureKind::Category:
            return {};
        case FeatureKind::Command:
            return Word(static_cast<std::int64_t>(record.min));
        case FeatureKind::Float: {
            const double* real = std::get_if<double>(&value);
            if (real == nullptr) return {};
            return gencp::FloatBytes(static_cast<float>(*real));
        }
        case FeatureKind::Text: {
            const std::string* text = std::get_if<std::string>(&value);
            if (text == nullptr) return {};
            std::vector<std::uint8_t> bytes(record.length, 0);
            std::copy_n(text->begin(), std::min<std::size_t>(text->size(), record.length),
                        bytes.begin());
            return bytes;
        }
        case FeatureKind::Enumerated: {
            const std::int64_t* index = std::get_if<std::int64_t>(&value);
            if (index == nullptr || *index < 0 ||
                *index >= static_cast<std::int64_t>(record.entries.size())) {
                return {};
            }
            return Word(record.entries[static_cast<std::size_t>(*index)].value);
        }
        case FeatureKind::Integer: {
            const std::int64_t* number = std::get_if<std::int64_t>(&value);
            return number == nullptr ? std::vector<std::uint8_t>{} : Word(*number);
        }
    }
    return {};
}

std::string FormatFeatureValue(const FeatureRecord& record, const FeatureValue& value) {
    if (const double* real = std::get_if<double>(&value)) {
        char text[64];
        std::snprintf(text, sizeof text, "%.4f", *real);
        return text;
    }
    if (const std::string* text = std::get_if<std::string>(&value)) return *text;
    const std::int64_t number = std::get<std::int64_t>(value);
    if (record.Kind() == FeatureKind::Enumerated && number >= 0 &&
        number < static_cast<std::int64_t>(record.entries.size())) {
        return record.entries[static_cast<std::size_t>(number)].name;
    }
    return std::to_string(number);
}

}  // namespace vk
