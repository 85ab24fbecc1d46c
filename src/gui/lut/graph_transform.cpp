#include "gui/lut/graph_transform.h"

#include <algorithm>
#include <cmath>

namespace vk::gui {

GraphTransform::GraphTransform(const QRectF& available)
    : origin_(available.topLeft()),
      scale_(std::max(1.0, std::min(available.width(), available.height()) / kLogicalSide)) {}

lut::GraphPoint GraphTransform::ToGraph(const QPointF& widget) const {
    return {static_cast<int>(std::lround((widget.x() - origin_.x()) / scale_)),
            static_cast<int>(std::lround((widget.y() - origin_.y()) / scale_))};
}

}  // namespace vk::gui
