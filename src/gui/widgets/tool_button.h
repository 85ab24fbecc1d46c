#pragma once

#include <QPushButton>

namespace vk::gui {

// A push button of a tool window: found by its object name in tests, and never the dialog's
// default, so that Enter in a field does not press it.
inline QPushButton* MakeButton(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace vk::gui
