#pragma once

#include <vector>

class QWidget;

namespace vk::gui {

// One tab page of the main window, in creation (and tab) order.
struct PageInfo {
    const char* title;
    bool factoryOnly;
};

const std::vector<PageInfo>& PageInfos();

// Fills an empty page widget with the controls of page pageIndex (0..8).
void BuildPage(int pageIndex, QWidget* page);

}  // namespace vk::gui
