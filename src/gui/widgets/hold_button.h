#pragma once

#include <QPushButton>

namespace vk::gui {

// A button that acts while it is held: held() when the left button (or Space) goes down on
// it, letGo() exactly once afterwards, whenever the hold ends: the release wherever the
// cursor is by then, the window losing focus, the button being hidden or switched off.
// Leaving the button with the cursor does not end the hold.
class HoldButton : public QPushButton {
    Q_OBJECT
public:
    explicit HoldButton(const QString& text, QWidget* parent = nullptr);

    bool IsHeld() const { return held_; }

signals:
    void held();
    void letGo();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Hold();
    void Release();

    bool held_ = false;
};

}  // namespace vk::gui
