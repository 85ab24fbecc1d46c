#pragma once

#include <QColor>
#include <QWidget>
#include <optional>

#include "core/lut/curve_editor.h"
#include "gui/lut/graph_transform.h"

namespace vk::gui {

// The LUT graph: grid, the table as a curve in the channel's colour and, in Edit mode, the
// edit points. A left press or drag near a point moves it, elsewhere adds one; a right
// press near an inner point deletes it.
class LutCurveView : public QWidget {
    Q_OBJECT
public:
    LutCurveView(lut::CurveEditor& editor, QColor colour, QWidget* parent = nullptr);

    const GraphTransform& Transform() const { return transform_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The edit points changed (and with them the table in Edit mode).
    void edited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void UpdateTransform();
    void UpdateHover(const QPointF& position);
    void DrawFrame(QPainter& painter) const;
    void DrawCurve(QPainter& painter) const;
    void DrawPoints(QPainter& painter) const;
    void DrawReadout(QPainter& painter) const;

    lut::CurveEditor& editor_;
    QColor colour_;
    GraphTransform transform_;
    int dragged_ = -1;  // the point a left drag holds
    int hovered_ = -1;  // the point a left press would take
    std::optional<lut::GraphPoint> cursor_;
};

}  // namespace vk::gui
