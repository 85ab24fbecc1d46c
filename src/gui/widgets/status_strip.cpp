#include "gui/widgets/status_strip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/res/pictures.h"
#include "gui/widgets/fitting_scroll_area.h"

namespace vk::gui {

StatusStrip::StatusStrip(OnlineStatusNotifier& notifier, QWidget* parent)
    : QFrame(parent), notifier_(notifier), picture_(new QLabel(this)), text_(new QLabel(this)) {
    setObjectName("statusStrip");
    // A hairline above sets the strip off from the window's content.
    setStyleSheet("#statusStrip { border-top: 1px solid palette(mid); }");
    picture_->setFixedSize(kStripPictureSize);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 3, 10, 3);
    layout->setSpacing(8);
    layout->addWidget(picture_);
    layout->addWidget(text_);
    layout->addStretch(1);
    OnOnlineStatusChanged(notifier_.Current());
    notifier_.Register(this);
}

StatusStrip::~StatusStrip() {
    notifier_.Unregister(this);
}

void StatusStrip::OnOnlineStatusChanged(bool online) {
    shown_ = online ? 1 : 0;
    // A camera that answers but that the tool does not know is no camera to work with.
    const bool usable = shown_ == 1 && notifier_.CameraUsable();
    const QString text = usable        ? tr("Camera online")
                         : shown_ == 1 ? tr("Camera online, model not supported: not usable")
                                       : tr("Camera offline");
    // Told again with every answer: only a change is drawn.
    if (text == text_->text()) return;
    picture_->setPixmap(StripPicture(usable));
    text_->setText(text);
    setAccessibleName(text);
}

QString StatusStrip::Text() const {
    return text_->text();
}

QVBoxLayout* FrameWithStatusStrip(QWidget* window, OnlineStatusNotifier& notifier,
                                  const QMargins& margins) {
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    // On a small or scaled screen the window may be smaller than its content: it scrolls.
    auto* scroll = new FittingScrollArea(window);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("windowContent"));
    auto* body = new QVBoxLayout(content);
    body->setContentsMargins(margins);
    scroll->setWidget(content);
    outer->addWidget(scroll, 1);
    outer->addWidget(new StatusStrip(notifier, window));
    return body;
}

}  // namespace vk::gui
