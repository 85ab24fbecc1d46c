#include "core/lut/lut_graph.h"

#include <algorithm>

namespace vk::lut {

int ValueToY(std::int32_t value, const GraphArea& area) {
    const int rounded = value / 16 + (value % 16 >= 8 ? 1 : 0);
    return area.bottom - rounded;
}

std::int32_t YToValue(double y, const GraphArea& area) {
    const double value = (area.bottom - y) * 16.0;
    if (value <= 0.0) return 0;  // below the bottom edge, not a negative entry
    if (value >= kMaxValue) return kMaxValue;
    return static_cast<std::int32_t>(value);
}

std::vector<CurvePoint> CurvePath(const Table& table, CurvePoint start, const GraphArea& area) {
    std::vector<CurvePoint> path{start};
    path.reserve(kEntries + 1);
    for (int i = 0; i < kEntries; ++i) {
        const CurvePoint p{InputPosition(i) / 16.0,
                           area.bottom - table[static_cast<std::size_t>(i)] / 16.0};
        if (p.x >= area.left && p.x <= area.right && p.y >= area.top && p.y <= area.bottom) {
            path.push_back(p);
        }
    }
    return path;
}

}  // namespace vk::lut
