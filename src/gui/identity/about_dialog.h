#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vk {
class CoreContext;
struct CameraInformation;
}  // namespace vk

namespace vk::gui {

class WindowList;

// The information window: the tool's name and version and the connected camera's identity
// (firmware, model, camera id, FPGA, user id, device version). Writes the user id once
// editing is enabled, and in factory mode the device version; opens a help document.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(CoreContext& core, WindowList& windows, std::uint32_t controlMode,
                QWidget* parent = nullptr);

    // Asks the camera and fills the fields; a field it did not give keeps its placeholder.
    void Load();
    void Show(const CameraInformation& info);

    void SetUserIdEditable(bool editable);
    void SaveUserId();
    void SaveDeviceVersion();
    void ViewHelpFile();

    // Opens a help file with the desktop's viewer; replaceable for tests.
    std::function<bool(const QString& path)> openFile;

private:
    QWidget* BuildHeader();
    QWidget* BuildCameraGroup();
    QWidget* BuildUserIdGroup();
    QWidget* BuildHelpGroup();
    void ShowPlaceholders();
    void FillHelpFiles();

    CoreContext& core_;
    std::uint32_t controlMode_;
    QLabel* firmware_ = nullptr;
    QLabel* model_ = nullptr;
    QLabel* cameraId_ = nullptr;
    QLabel* fpga_ = nullptr;
    QLineEdit* userId_ = nullptr;
    std::array<QLineEdit*, 4> digits_{};
    QPushButton* saveUserId_ = nullptr;
    QRadioButton* protect_ = nullptr;
    QRadioButton* enable_ = nullptr;
    QPushButton* saveDeviceVersion_ = nullptr;
    QComboBox* helpFiles_ = nullptr;
};

}  // namespace vk::gui
