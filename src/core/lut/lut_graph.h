#pragma once

#include <cstdint>
#include <vector>

#include "core/lut/lut_table.h"

namespace vk::lut {

// Graph pixel coordinates: origin at the top-left corner, y grows downwards.
struct GraphPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const GraphPoint&, const GraphPoint&) = default;
};

struct CurvePoint {
    double x = 0;
    double y = 0;
};

// The drawing area of the graph. A value V lies at height bottom - V/16, so the full range
// 0..4095 spans 256 pixels above the bottom edge.
struct GraphArea {
    int left = 0;
    int top = 0;
    int right = 260;
    int bottom = 260;
};

// The mouse edits points only inside 0..256 on both axes.
inline constexpr int kMouseExtent = 256;

inline bool InMouseArea(GraphPoint p) {
    return p.x >= 0 && p.x <= kMouseExtent && p.y >= 0 && p.y <= kMouseExtent;
}

// The row a table value is drawn at: V/16 rounded half up, measured from the bottom.
int ValueToY(std::int32_t value, const GraphArea& area = {});

// The table value of a row, limited to 0..4095.
std::int32_t YToValue(double y, const GraphArea& area = {});

// The polyline that shows a table: from start through every entry (x = input/16,
// y = bottom - V/16) that lies inside the area; an entry outside is skipped and the line
// goes on from the last point drawn.
std::vector<CurvePoint> CurvePath(const Table& table, CurvePoint start, const GraphArea& area = {});

}  // namespace vk::lut
