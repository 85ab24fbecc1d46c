#include "core/lut/edit_points.h"

#include <cstdlib>
#include <utility>

namespace vk::lut {

void EditPoints::Reset(const GraphArea& area) {
    slots_ = {};
    slots_[0] = {area.left, area.bottom};
    slots_[1] = {area.right, area.top};
    count_ = 2;
}

void EditPoints::Assign(std::span<const GraphPoint> points) {
    if (points.size() < 2 || points.size() > std::size_t(kSlots)) return;
    slots_ = {};
    count_ = static_cast<int>(points.size());
    for (int i = 0; i < count_; ++i)
        slots_[static_cast<std::size_t>(i)] = points[static_cast<std::size_t>(i)];
    Sort(0);
}

int EditPoints::FindNear(GraphPoint p, int radius, int from, int to) const {
    for (int i = from; i <= to && i < count_; ++i) {
        const GraphPoint& q = slots_[static_cast<std::size_t>(i)];
        if (std::abs(q.x - p.x) <= radius && std::abs(q.y - p.y) <= radius) return i;
    }
    return -1;
}

int EditPoints::PressAt(GraphPoint p) {
    const int near = FindNear(p, kMoveRadius, 0, count_ - 1);
    if (near >= 0) return MoveTo(near, p);
    // With 15 points the added one would only go to the hidden sixteenth slot; with 16
    // (from Convert Editable) there is no slot left at all.
    if (count_ >= kAddLimit) return -1;
    slots_[static_cast<std::size_t>(count_)] = p;
    ++count_;
    return Sort(count_ - 1);
}

int EditPoints::MoveTo(int index, GraphPoint p) {
    if (index < 0 || index >= count_) return -1;
    slots_[static_cast<std::size_t>(index)] = p;
    return Sort(index);
}

bool EditPoints::DeleteAt(GraphPoint p) {
    const int near = FindNear(p, kDeleteRadius, 1, count_ - 2);
    if (near < 0) return false;
    for (int i = near; i + 1 < count_; ++i)
        slots_[static_cast<std::size_t>(i)] = slots_[static_cast<std::size_t>(i + 1)];
    --count_;
    slots_[static_cast<std::size_t>(count_)] = {};
    Sort(0);
    return true;
}

int EditPoints::Sort(int tracked) {
    // The exchange sort the curve has always been built with: points of equal x keep the
    // order it gives them, and that order shapes the parametric curve.
    for (int i = 0; i < count_; ++i) {
        for (int j = 0; j < count_; ++j) {
            if (slots_[static_cast<std::size_t>(i)].x < slots_[static_cast<std::size_t>(j)].x) {
                std::swap(slots_[static_cast<std::size_t>(i)], slots_[static_cast<std::size_t>(j)]);
                if (tracked == i) {
                    tracked = j;
                } else if (tracked == j) {
                    tracked = i;
                }
            }
        }
    }
    return tracked;
}

}  // namespace vk::lut
