#include "core/lut/curve_editor.h"

#include <algorithm>

#include "core/lut/curve_sampler.h"

namespace vk::lut {

std::vector<GraphPoint> PointsFromTable(const Table& table, int n, const GraphArea& area) {
    n = std::clamp(n, CurveEditor::kMinConvertPoints, CurveEditor::kMaxConvertPoints);
    std::vector<GraphPoint> points;
    for (int i = 0; i < n - 1; ++i) {
        // Single precision, as the positions have always been computed.
        const int x = static_cast<int>(static_cast<float>(i) / static_cast<float>(n - 1) *
                                       static_cast<float>(kMouseExtent));
        points.push_back({x, ValueToY(table[static_cast<std::size_t>(x)], area)});
    }
    points.push_back({kMouseExtent, ValueToY(table[kEntries - 1], area)});
    return points;
}

void CurveEditor::ShowTable(const Table& table) {
    table_ = table;
    for (auto& v : table_)
        v = std::clamp(v, 0, kMaxValue);
    mode_ = EditorMode::View;
}

void CurveEditor::SetEntry(int index, std::int32_t value) {
    if (index < 0 || index >= kEntries) return;
    table_[static_cast<std::size_t>(index)] = std::clamp(value, 0, kMaxValue);
}

void CurveEditor::Clear() {
    points_.Reset(area_);
    mode_ = EditorMode::Edit;
    Recompute();
}

void CurveEditor::ConvertEditable(int n) {
    const std::vector<GraphPoint> points = PointsFromTable(table_, n, area_);
    points_.Assign(points);
    mode_ = EditorMode::Edit;
    Recompute();
}

int CurveEditor::PressAt(GraphPoint p) {
    if (!InMouseArea(p)) return -1;
    const int index = points_.PressAt(p);
    Recompute();
    return index;
}

int CurveEditor::DragTo(int index, GraphPoint p) {
    p.x = std::clamp(p.x, 0, kMouseExtent);
    p.y = std::clamp(p.y, 0, kMouseExtent);
    const int moved = points_.MoveTo(index, p);
    Recompute();
    return moved;
}

bool CurveEditor::DeleteAt(GraphPoint p) {
    if (!InMouseArea(p) || !points_.DeleteAt(p)) return false;
    Recompute();
    return true;
}

CurvePoint CurveEditor::CurveStart() const {
    if (mode_ == EditorMode::View) return {double(area_.left), double(area_.bottom)};
    const GraphPoint first = points_.Points().front();
    return {double(first.x), double(first.y)};
}

void CurveEditor::Recompute() {
    if (mode_ == EditorMode::Edit) table_ = TableFromPoints(points_.Points(), area_);
}

}  // namespace vk::lut
