#include "gui/widgets/hold_button.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace vk::gui {

HoldButton::HoldButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAutoDefault(false);
}

void HoldButton::Hold() {
    if (held_) return;
    held_ = true;
    setDown(true);
    emit held();
}

void HoldButton::Release() {
    if (!held_) return;
    held_ = false;
    setDown(false);
    emit letGo();
}

void HoldButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (!hasFocus() && focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
    Hold();
    event->accept();
}

void HoldButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    // Wherever the cursor is now: the movement of this button stops.
    Release();
    event->accept();
}

void HoldButton::mouseMoveEvent(QMouseEvent* event) {
    // The button stays down while held, inside or outside.
    event->accept();
}

void HoldButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) Hold();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void HoldButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) Release();
        event->accept();
        return;
    }
    QPushButton::keyReleaseEvent(event);
}

void HoldButton::focusOutEvent(QFocusEvent* event) {
    // The release may go to another window now; do not wait for it.
    Release();
    QPushButton::focusOutEvent(event);
}

void HoldButton::hideEvent(QHideEvent* event) {
    Release();
    QPushButton::hideEvent(event);
}

void HoldButton::changeEvent(QEvent* event) {
    // A switched-off button gets no release.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) Release();
    QPushButton::changeEvent(event);
}

}  // namespace vk::gui
