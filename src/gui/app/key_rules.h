#pragma once

class QWidget;

namespace vk::gui {

// What Enter and Escape do, decided by the kind of control that has the focus, so that
// neither key closes the main window by accident.
enum class KeyRule {
    PassOn,      // the key reaches the window unchanged (Escape then asks to exit)
    Swallow,     // the key does nothing
    CommitEdit,  // Enter in an edit: commit the typed value as on focus loss
};

KeyRule EnterEscapeRule(const QWidget* focus, int key);

}  // namespace vk::gui
