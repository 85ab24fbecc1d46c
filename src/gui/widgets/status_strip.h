#pragma once

#include <QFrame>
#include <QMargins>

#include "core/comm/online_status_notifier.h"

class QLabel;
class QVBoxLayout;

namespace vk::gui {

// The strip at the bottom of every tool window that shows whether the camera answers. It
// follows the notifier on its own from construction to destruction.
class StatusStrip : public QFrame, public OnlineStatusObserver {
    Q_OBJECT
public:
    explicit StatusStrip(OnlineStatusNotifier& notifier, QWidget* parent = nullptr);
    ~StatusStrip() override;

    void OnOnlineStatusChanged(bool online) override;

    // What the strip shows now: 1 online, 0 offline (and whether the camera is usable).
    int Shown() const { return shown_; }
    QString Text() const;

private:
    OnlineStatusNotifier& notifier_;
    QLabel* picture_;
    QLabel* text_;
    int shown_ = 0;
};

// Gives a tool window its frame: a body with these margins above the online strip. The
// caller fills the returned body; it scrolls when the window is smaller than its content.
QVBoxLayout* FrameWithStatusStrip(QWidget* window, OnlineStatusNotifier& notifier,
                                  const QMargins& margins);

}  // namespace vk::gui
