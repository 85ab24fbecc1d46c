#include "gui/app/window_list.h"

#include <algorithm>

namespace vk::gui {

void WindowList::AddWindow(QWidget* window) {
    if (window) windows_.emplace_back(window);
}

void WindowList::RemoveWindow(QWidget* window) {
    std::erase_if(windows_, [window](const QPointer<QWidget>& w) { return w == window || !w; });
}

void WindowList::EnableAll() {
    for (const auto& w : windows_) {
        if (w) w->setEnabled(true);
    }
}

void WindowList::DisableAll() {
    for (const auto& w : windows_) {
        if (w) w->setEnabled(false);
    }
}

int WindowList::Count() const {
    return static_cast<int>(std::count_if(windows_.begin(), windows_.end(),
                                          [](const QPointer<QWidget>& w) { return !w.isNull(); }));
}

}  // namespace vk::gui
