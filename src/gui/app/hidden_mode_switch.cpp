#include "gui/app/hidden_mode_switch.h"

#include <Qt>

namespace vk::gui {

const char* HiddenModeSwitch::AccessCode() {
    // Built from single characters so the code does not show up as one string in the binary.
    static const char code[] = {'V', 'K', 'F', '\0'};
    return code;
}

HiddenModeSwitch::Result HiddenModeSwitch::OnKeyPress(int key, bool shift, bool ctrl) {
    if (shift && ctrl && key == Qt::Key_F12) {
        armed_ = true;
        position_ = 0;
        return Result::Consumed;
    }
    if (!armed_) return Result::NotHandled;
    // Pressing a modifier to type the letters is not "another key".
    if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
        key == Qt::Key_Meta || key == Qt::Key_AltGr) {
        return Result::Consumed;
    }
    const char* code = AccessCode();
    if (key == code[position_]) {
        ++position_;
        if (code[position_] != '\0') return Result::Consumed;
        Disarm();
        return Result::Completed;
    }
    Disarm();
    return Result::NotHandled;
}

void HiddenModeSwitch::Disarm() {
    armed_ = false;
    position_ = 0;
}

}  // namespace vk::gui
