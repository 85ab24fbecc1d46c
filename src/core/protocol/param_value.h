#pragma once

#include <cstdint>
#include <string>

namespace vk {

enum class ValueKind : std::uint32_t { Int, String };

// The value carried into and out of set and query operations.
struct ParamValue {
    ValueKind kind = ValueKind::Int;
    std::int32_t intValue = 0;
    std::string text;
};

}  // namespace vk
