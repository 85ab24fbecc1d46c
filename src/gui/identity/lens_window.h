#pragma once

#include <QDialog>
#include <QTimer>
#include <deque>

class QLabel;

namespace vk {
class CoreContext;
struct LensMove;
}  // namespace vk

namespace vk::gui {

class HoldButton;
class WindowList;

// Drives a motorised lens: iris, zoom and focus move while their button is held and stop
// when it is let go, wherever the cursor is by then.
class LensWindow : public QDialog {
    Q_OBJECT
public:
    LensWindow(CoreContext& core, WindowList& windows, QWidget* parent = nullptr);

    // The button of a movement by its control id (40001 to 40006), or null.
    HoldButton* Button(int controlId) const;
    QLabel* Movement() const { return movement_; }
    // Stops not sent yet because another operation held the line.
    std::size_t OwedStops() const { return owedStops_.size(); }

private:
    void OnHeld(const LensMove& move);
    void OnLetGo(const LensMove& move);
    void SendOwedStops();

    CoreContext& core_;
    QLabel* movement_ = nullptr;
    std::deque<const LensMove*> owedStops_;
    QTimer retry_;
};

}  // namespace vk::gui
