#pragma once

#include <QPointF>
#include <QRectF>

#include "core/lut/lut_graph.h"

namespace vk::gui {

// Maps the graph's 260 x 260 pixel logic onto a square of the widget at any size. The
// scale never drops below 1, so every widget position maps back to the graph pixel it
// shows: ToGraph(ToWidget(p)) == p.
class GraphTransform {
public:
    static constexpr double kLogicalSide = 260.0;

    GraphTransform() = default;
    // The largest square that fits `available`, at the top-left with the given offset.
    GraphTransform(const QRectF& available);

    double Scale() const { return scale_; }
    QRectF Plot() const { return {origin_, QSizeF(kLogicalSide * scale_, kLogicalSide * scale_)}; }

    QPointF ToWidget(double x, double y) const {
        return {origin_.x() + x * scale_, origin_.y() + y * scale_};
    }
    QPointF ToWidget(const lut::CurvePoint& p) const { return ToWidget(p.x, p.y); }
    QPointF ToWidget(const lut::GraphPoint& p) const { return ToWidget(p.x, p.y); }
    lut::GraphPoint ToGraph(const QPointF& widget) const;

private:
    QPointF origin_;
    double scale_ = 1.0;
};

}  // namespace vk::gui
