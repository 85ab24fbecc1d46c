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

// The page a page-switching key moves to (+1 next, -1 previous, 0 no such key): Ctrl+Tab,
// Ctrl+Shift+Tab, Ctrl+PageDown, Ctrl+PageUp. They switch pages wherever the focus is, so a
// field never takes them as a step of its own value.
int PageStepOf(int key, bool ctrl);

}  // namespace vk::gui
