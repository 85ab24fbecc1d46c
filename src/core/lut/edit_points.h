#pragma once

#include <array>
#include <span>
#include <vector>

#include "core/lut/lut_graph.h"

namespace vk::lut {

// The few points a curve is shaped with, kept sorted by x. The first and the last point
// are never deleted, so there are always at least two.
class EditPoints {
public:
    static constexpr int kSlots = 16;       // Convert Editable may fill all of them
    static constexpr int kAddLimit = 15;    // additions stop here
    static constexpr int kMoveRadius = 32;  // a left press this near a point moves it
    static constexpr int kDeleteRadius = 16;

    // The straight line from the bottom-left to the top-right corner.
    explicit EditPoints(const GraphArea& area = {}) { Reset(area); }

    void Reset(const GraphArea& area);
    // Takes 2 to 16 points as they are (sorted here).
    void Assign(std::span<const GraphPoint> points);

    int Count() const { return count_; }
    std::span<const GraphPoint> Points() const { return {slots_.data(), std::size_t(count_)}; }

    // A left press at p: moves the first point (in index order) within kMoveRadius on both
    // axes to p, or else adds p. Returns the point's index after sorting, or -1 when p was
    // not added because the limit is reached.
    int PressAt(GraphPoint p);
    // Moves one point (a drag that started on it); returns its index after sorting.
    int MoveTo(int index, GraphPoint p);
    // A right press at p: deletes the first inner point within kDeleteRadius.
    bool DeleteAt(GraphPoint p);

    // The first point from..to (inclusive) within radius of p on both axes; -1 if none.
    int FindNear(GraphPoint p, int radius, int from, int to) const;

private:
    // Ascending by x; returns where the point at `tracked` ends up.
    int Sort(int tracked);

    std::array<GraphPoint, kSlots> slots_{};
    int count_ = 0;
};

}  // namespace vk::lut
