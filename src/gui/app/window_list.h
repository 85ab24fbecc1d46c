#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace vk::gui {

// The tool windows that long operations switch off together, so that the user cannot start
// a second operation while one runs. Windows add themselves when they are set up.
class WindowList {
public:
    void AddWindow(QWidget* window);
    // Removes every entry of the window.
    void RemoveWindow(QWidget* window);

    // Windows that no longer exist are skipped.
    void EnableAll();
    void DisableAll();

    int Count() const;

private:
    std::vector<QPointer<QWidget>> windows_;
};

}  // namespace vk::gui
