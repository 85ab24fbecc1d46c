#include "app/key_rules.h"

#include <QAbstractItemView>
#include <QComboBox>

#include "widgets/cgen.h"

namespace vk::gui {

KeyRule EnterEscapeRule(const QWidget* focus, int key) {
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if ((!enter && key != Qt::Key_Escape) || !focus) return KeyRule::PassOn;

    switch (CGen::Classify(focus)) {
        case CGen::Edit:
        case CGen::Spin:
            return enter ? KeyRule::CommitEdit : KeyRule::Swallow;
        case CGen::Combo: {
            // An open list takes the key itself (to pick or dismiss).
            const auto* combo = static_cast<const QComboBox*>(focus);
            const bool dropped = combo->view() && combo->view()->isVisible();
            return dropped ? KeyRule::PassOn : KeyRule::Swallow;
        }
        case CGen::Button:
            return KeyRule::Swallow;
        default:
            return KeyRule::PassOn;
    }
}

}  // namespace vk::gui
