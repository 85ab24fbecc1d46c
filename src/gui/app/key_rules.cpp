#include "gui/app/key_rules.h"

#include <QAbstractItemView>
#include <QComboBox>

#include "gui/widgets/control_kinds.h"

namespace vk::gui {

KeyRule EnterEscapeRule(const QWidget* focus, int key) {
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if ((!enter && key != Qt::Key_Escape) || !focus) return KeyRule::PassOn;

    switch (ControlKinds::Classify(focus)) {
        case ControlKinds::Edit:
        case ControlKinds::Spin:
            return enter ? KeyRule::CommitEdit : KeyRule::Swallow;
        case ControlKinds::Combo: {
            // An open list takes the key itself (to pick or dismiss).
            const auto* combo = static_cast<const QComboBox*>(focus);
            const bool dropped = combo->view() && combo->view()->isVisible();
            return dropped ? KeyRule::PassOn : KeyRule::Swallow;
        }
        case ControlKinds::Button:
            return KeyRule::Swallow;
        default:
            return KeyRule::PassOn;
    }
}

int PageStepOf(int key, bool ctrl) {
    if (!ctrl) return 0;
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_PageDown:
            return 1;
        case Qt::Key_Backtab:  // Shift+Tab
        case Qt::Key_PageUp:
            return -1;
        default:
            return 0;
    }
}

}  // namespace vk::gui
