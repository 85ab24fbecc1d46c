#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <string>

class QLineEdit;
class QPushButton;

namespace vk {
class CoreContext;
}

namespace vk::gui {

class WindowList;

// Edits the camera id one character per box; Save (factory mode only) unlocks the camera
// and writes the boxes joined.
class CameraIdDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr std::size_t kBoxes = 10;

    CameraIdDialog(CoreContext& core, WindowList& windows, std::uint32_t controlMode,
                   QWidget* parent = nullptr);

    // Reads the camera id into the boxes; they stay empty when the camera does not give it.
    void Load();
    void Save();
    // The boxes joined in order; an empty box shortens the id.
    std::string Joined() const;

    QLineEdit* Box(std::size_t i) const { return boxes_.at(i); }
    QPushButton* SaveButton() const { return save_; }

protected:
    // Backspace in an empty box goes back to the one before and deletes its character.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A typed character moves on to the next box, ready to be overwritten.
    void Advance(std::size_t from);

    CoreContext& core_;
    std::array<QLineEdit*, kBoxes> boxes_{};
    QPushButton* save_ = nullptr;
};

}  // namespace vk::gui
