#include "gui/lut/curve_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace vk::gui {
namespace {

constexpr int kGridSteps = 10;
constexpr double kPointRadius = 4.0;
constexpr int kAxisGap = 6;

struct AxisMark {
    const char* text;
    double position;  // graph pixels along the axis
};

// Value labels at their heights, input labels at their entries.
constexpr AxisMark kValueMarks[] = {
    {"4095", 260 - 4095 / 16.0}, {"2048", 260 - 2048 / 16.0}, {"0", 260}};
constexpr AxisMark kInputMarks[] = {{"0", 0}, {"128", 128}, {"255", 4095 / 16.0}};

// The plot follows the palette, so it reads on a dark one as on a light one.
bool IsDark(const QPalette& palette) {
    return palette.color(QPalette::Base).lightness() < 128;
}

}  // namespace

LutCurveView::LutCurveView(lut::CurveEditor& editor, QColor colour, QWidget* parent)
    : QWidget(parent), editor_(editor), colour_(colour) {
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    UpdateTransform();
}

QSize LutCurveView::minimumSizeHint() const {
    const QFontMetrics fm(font());
    const int side = static_cast<int>(GraphTransform::kLogicalSide);
    return {fm.horizontalAdvance("4095") + kAxisGap * 2 + side + fm.horizontalAdvance("55") / 2,
            fm.height() + side + fm.height() + kAxisGap * 2};
}

QSize LutCurveView::sizeHint() const {
    return minimumSizeHint();
}

void LutCurveView::resizeEvent(QResizeEvent*) {
    UpdateTransform();
}

void LutCurveView::UpdateTransform() {
    const QFontMetrics fm(font());
    const double left = fm.horizontalAdvance("4095") + kAxisGap * 2;
    // A whole pixel: with a half-pixel origin (an odd font height, as on Windows) a click
    // would land on the graph pixel beside the one under the pointer.
    const double top = fm.height() / 2 + kAxisGap;
    const double right = fm.horizontalAdvance("55") / 2.0;
    const double bottom = fm.height() + kAxisGap * 2;
    transform_ = GraphTransform(QRectF(left, top, width() - left - right, height() - top - bottom));
}

void LutCurveView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawFrame(painter);
    DrawCurve(painter);
    if (editor_.Mode() == lut::EditorMode::Edit) DrawPoints(painter);
    DrawReadout(painter);
}

void LutCurveView::DrawFrame(QPainter& painter) const {
    const QRectF plot = transform_.Plot();
    painter.fillRect(plot, palette().color(QPalette::Base));

    // The grid of ten steps across the graph, as the design has always drawn it.
    const double step = GraphTransform::kLogicalSide / kGridSteps;
    const QColor ink = palette().color(QPalette::Text);
    QColor grid = ink;
    grid.setAlpha(IsDark(palette()) ? 80 : 60);
    painter.setPen(QPen(grid, 1.0));
    for (int i = 1; i < kGridSteps; ++i) {
        const int at = static_cast<int>(i * std::floor(step));
        painter.drawLine(transform_.ToWidget(at, 0), transform_.ToWidget(at, 260));
        painter.drawLine(transform_.ToWidget(0, 259 - at), transform_.ToWidget(260, 259 - at));
    }

    // Where the table leaves its input unchanged.
    QPen identity(palette().color(QPalette::Mid), 1.0, Qt::DashLine);
    painter.setPen(identity);
    painter.drawLine(transform_.ToWidget(0, 260),
                     transform_.ToWidget(4095 / 16.0, 260 - 4095 / 16.0));

    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics fm(font());
    for (const AxisMark& mark : kValueMarks) {
        const QPointF at = transform_.ToWidget(0, mark.position);
        const QRectF box(0, at.y() - fm.height() / 2.0, at.x() - kAxisGap, fm.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, mark.text);
    }
    for (const AxisMark& mark : kInputMarks) {
        const QPointF at = transform_.ToWidget(mark.position, 260);
        const double w = fm.horizontalAdvance(mark.text);
        painter.drawText(QRectF(at.x() - w / 2, at.y() + kAxisGap, w, fm.height()), Qt::AlignCenter,
                         mark.text);
    }
}

void LutCurveView::DrawCurve(QPainter& painter) const {
    const std::vector<lut::CurvePoint> points =
        lut::CurvePath(editor_.Values(), editor_.CurveStart(), editor_.Area());
    QPainterPath path(transform_.ToWidget(points.front()));
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(transform_.ToWidget(points[i]));
    painter.save();
    painter.setClipRect(transform_.Plot().adjusted(-1, -1, 1, 1));
    painter.setBrush(Qt::NoBrush);
    // A soft darker edge keeps the light channel colours readable on a light plot; on a
    // dark one the colour is lightened (pure blue would sink into it).
    const bool dark = IsDark(palette());
    const QColor line = dark ? colour_.lighter(150) : colour_;
    QColor edge = dark ? palette().color(QPalette::Base) : colour_.darker(160);
    edge.setAlpha(110);
    painter.setPen(QPen(edge, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(line, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.restore();
}

void LutCurveView::DrawPoints(QPainter& painter) const {
    const auto points = editor_.Points().Points();
    for (int i = 0; i < static_cast<int>(points.size()); ++i) {
        const QPointF at = transform_.ToWidget(points[std::size_t(i)]);
        const bool active = i == dragged_ || (dragged_ < 0 && i == hovered_);
        const double r = kPointRadius * transform_.Scale() + (active ? 1.5 : 0.0);
        painter.setPen(QPen(palette().color(QPalette::Text), active ? 2.0 : 1.5));
        painter.setBrush(active ? QBrush(colour_) : palette().brush(QPalette::Base));
        painter.drawEllipse(at, r, r);
    }
}

void LutCurveView::DrawReadout(QPainter& painter) const {
    if (!cursor_ || !lut::InMouseArea(*cursor_)) return;
    const int entry = std::clamp(cursor_->x, 0, lut::kEntries - 1);
    const QString text = QStringLiteral("Entry %1   Value %2")
                             .arg(entry)
                             .arg(editor_.Values()[static_cast<std::size_t>(entry)]);
    const QFontMetrics fm(font());
    const QRectF plot = transform_.Plot();
    QRectF box(plot.left() + 6, plot.top() + 6, fm.horizontalAdvance(text) + 12, fm.height() + 6);
    QColor back = palette().color(QPalette::ToolTipBase);
    back.setAlpha(220);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1.0));
    painter.setBrush(back);
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawText(box, Qt::AlignCenter, text);
}

void LutCurveView::mousePressEvent(QMouseEvent* event) {
    const lut::GraphPoint p = transform_.ToGraph(event->position());
    if (event->buttons() == Qt::LeftButton && event->modifiers() == Qt::NoModifier) {
        dragged_ = editor_.PressAt(p);
        if (dragged_ >= 0) emit edited();
    } else if (event->buttons() == Qt::RightButton && event->modifiers() == Qt::NoModifier) {
        if (editor_.DeleteAt(p)) emit edited();
    }
    UpdateHover(event->position());
}

void LutCurveView::mouseMoveEvent(QMouseEvent* event) {
    const lut::GraphPoint p = transform_.ToGraph(event->position());
    if (event->buttons() == Qt::LeftButton && dragged_ >= 0) {
        dragged_ = editor_.DragTo(dragged_, p);
        emit edited();
    } else if (event->buttons() == Qt::RightButton && editor_.DeleteAt(p)) {
        emit edited();
    }
    UpdateHover(event->position());
}

void LutCurveView::mouseReleaseEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) dragged_ = -1;
    UpdateHover(event->position());
}

void LutCurveView::leaveEvent(QEvent*) {
    cursor_.reset();
    hovered_ = -1;
    update();
}

void LutCurveView::UpdateHover(const QPointF& position) {
    const lut::GraphPoint p = transform_.ToGraph(position);
    cursor_ = p;
    const lut::EditPoints& points = editor_.Points();
    hovered_ = editor_.Mode() == lut::EditorMode::Edit && lut::InMouseArea(p)
                   ? points.FindNear(p, lut::EditPoints::kMoveRadius, 0, points.Count() - 1)
                   : -1;
    setCursor(dragged_ >= 0   ? Qt::ClosedHandCursor
              : hovered_ >= 0 ? Qt::OpenHandCursor
                              : Qt::CrossCursor);
    update();
}

}  // namespace vk::gui
