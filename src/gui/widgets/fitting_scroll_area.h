#pragma once

#include <QEvent>
#include <QScrollArea>

namespace vk::gui {

// A scroll area that asks for the room its content needs rather than a scroll area's small
// default: a window opens large enough to show its content whole where the screen allows,
// and scrolls only when it is made (or has to be) smaller.
class FittingScrollArea : public QScrollArea {
public:
    explicit FittingScrollArea(QWidget* parent = nullptr) : QScrollArea(parent) {
        setWidgetResizable(true);
    }
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }

protected:
    // Content that grows (a text set later) makes the window ask for more room again.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }
};

}  // namespace vk::gui
