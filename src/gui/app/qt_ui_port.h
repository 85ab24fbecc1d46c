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

    // The window the progress stands over; null: the active window.
    void SetProgressOwner(QWidget* owner) { progressOwner_ = owner; }

private:
    QWidget* Owner() const;

    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> progressOwner_;
    QPointer<CProgressBarDialog> progress_;
    int waitCursorDepth_ = 0;
};

// For the length of a scope, the progress of `ui` stands over `owner` whichever window is
// active (a full read belongs to the main window even when it starts from another one).
// Does nothing for a UiPort that is not the desktop's.
class ProgressOwner {
public:
    ProgressOwner(UiPort& ui, QWidget* owner) : ui_(dynamic_cast<QtUiPort*>(&ui)) {
        if (ui_) ui_->SetProgressOwner(owner);
    }
    ~ProgressOwner() {
        if (ui_) ui_->SetProgressOwner(nullptr);
    }
    ProgressOwner(const ProgressOwner&) = delete;
    ProgressOwner& operator=(const ProgressOwner&) = delete;

private:
    QtUiPort* ui_;
};

}  // namespace vk::gui
