#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vk {
class CoreContext;
}

namespace vk::gui {

class WindowList;

// Edits the user id: at most 16 characters, written with Save.
class UserIdDialog : public QDialog {
    Q_OBJECT
public:
    UserIdDialog(CoreContext& core, WindowList& windows, QWidget* parent = nullptr);

    // Reads the user id; sixteen "?" when the camera does not give it.
    void Load();
    void Save();

    QLineEdit* Edit() const { return edit_; }

private:
    CoreContext& core_;
    QLineEdit* edit_ = nullptr;
};

}  // namespace vk::gui
