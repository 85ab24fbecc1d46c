#include "core/lut/standard_curve.h"

#include <cmath>

namespace vk::lut {

std::optional<Table> GammaTable(double gamma) {
    if (!std::isfinite(gamma) || gamma <= 0.0) return std::nullopt;
    Table table{};
    for (int i = 0; i < kEntries; ++i) {
        const double level = std::pow(i / double(kEntries - 1), gamma);
        table[static_cast<std::size_t>(i)] =
            static_cast<std::int32_t>(std::lround(level * kMaxValue));
    }
    return table;
}

Table LinearTable() {
    return *GammaTable(1.0);
}

}  // namespace vk::lut
