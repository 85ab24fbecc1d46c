#pragma once

#include <QPointer>
#include <QWidget>

#include "app/progress_bar_dialog.h"
#include "ui_port.h"

namespace vk::gui {

// The core's way to reach the person at the desktop: message boxes, questions, the progress
// window, event pumping between long steps, and the wait cursor.
class QtUiPort : public UiPort {
public:
    QtUiPort() = default;
    ~QtUiPort() override;
    QtUiPort(const QtUiPort&) = delete;
    QtUiPort& operator=(const QtUiPort&) = delete;

    // The window that boxes and the progress window stand over when no other is active.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }

    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;

    void ShowProgress(const std::string& text) override;
    void SetProgress(int percent) override;
    void CloseProgress() override;

    void PumpEvents() override;
    void SetWaitCursor(bool on) override;

    // The progress window, created on first use; null before that.
    CProgressBarDialog* ProgressWindow() const { return progress_; }

private:
    QWidget* Owner() const;

    QPointer<QWidget> mainWindow_;
    QPointer<CProgressBarDialog> progress_;
    int waitCursorDepth_ = 0;
};

}  // namespace vk::gui
