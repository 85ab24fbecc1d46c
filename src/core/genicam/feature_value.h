#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "core/genicam/feature_table.h"

namespace vk {

// What a grid shows for a feature: a whole number (for an enumeration the index of its
// entry, -1 when none matches), a floating-point number or a text.
using FeatureValue = std::variant<std::int64_t, double, std::string>;

// The shown value of a register's bytes: a float register's first 4 bytes as big-endian
// single precision; a text register's bytes up to its length or the first NUL; any other
// register's first 4 bytes as a big-endian signed 32-bit number, mapped to its entry.
FeatureValue ValueFromRegister(const FeatureRecord& record, std::span<const std::uint8_t> bytes);

// The bytes to write for a value the user gave. A command writes its command value whatever
// it is given; an enumeration's value is the index of the entry to write. Empty when the
// value does not fit the feature (an index out of range, a value of another kind).
std::vector<std::uint8_t> RegisterBytesFor(const FeatureRecord& record, const FeatureValue& value);

// The value as the grid writes it: "%.4f" for a floating-point number.
std::string FormatFeatureValue(const FeatureRecord& record, const FeatureValue& value);

}  // namespace vk
