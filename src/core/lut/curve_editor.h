#pragma once

#include "core/lut/edit_points.h"
#include "core/lut/lut_graph.h"
#include "core/lut/lut_table.h"

namespace vk::lut {

enum class EditorMode { Edit = 0, View = 1 };

// One channel's table and the points it is edited with. In Edit mode the table is always
// the curve through the points; in View mode it is a table as read or loaded, and the
// points wait (mouse edits still change them) until the mode returns to Edit.
class CurveEditor {
public:
    static constexpr int kMinConvertPoints = 2;
    static constexpr int kMaxConvertPoints = EditPoints::kSlots;
    static constexpr int kDefaultConvertPoints = 8;

    CurveEditor() { Recompute(); }

    EditorMode Mode() const { return mode_; }
    const Table& Values() const { return table_; }
    const EditPoints& Points() const { return points_; }
    const GraphArea& Area() const { return area_; }

    // A table from the camera or a file: View mode.
    void ShowTable(const Table& table);
    void SetEntry(int index, std::int32_t value);  // one entry as it arrives, 0..4095

    // Clear Table Data: the straight line from corner to corner, Edit mode.
    void Clear();
    // Convert Editable: n points (2..16) taken from the current table, Edit mode.
    void ConvertEditable(int n);

    // Mouse edits in graph pixels; a press or delete outside the mouse area does nothing,
    // a drag stays at its edge. PressAt and DragTo return the index of the point now held
    // (-1: none); DeleteAt whether a point went.
    int PressAt(GraphPoint p);
    int DragTo(int index, GraphPoint p);
    bool DeleteAt(GraphPoint p);

    // Where the curve starts: point 0 in Edit mode, the bottom-left corner in View mode.
    CurvePoint CurveStart() const;

private:
    void Recompute();

    GraphArea area_;
    EditPoints points_{area_};
    Table table_{};
    EditorMode mode_ = EditorMode::Edit;
};

// The points Convert Editable makes of a table: n points at x = i/(n-1)·256 on the curve
// as it is drawn; the last at x = 256 with the last entry's height.
std::vector<GraphPoint> PointsFromTable(const Table& table, int n, const GraphArea& area = {});

}  // namespace vk::lut
