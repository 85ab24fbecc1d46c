#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include "core/user_interface.h"
#include "gui/app/progress_window.h"

namespace vk::gui {

class WindowList;

// The core's way to reach the person at the desktop: message boxes, questions, the progress
// window, the event loop between and during waits, the wait cursor, and the frame of every
// camera operation (tool windows off, progress after a glance, Cancel).
//
// Given a `listener` (tests record with one), messages and questions go to it instead of
// boxes, and it hears of progress, pumping and the cursor too; the windows are still
// switched and the event loop still turns.
class QtUserInterface : public UserInterface {
public:
    // Work shorter than this shows no progress and leaves the windows alone.
    static constexpr int kGlanceMs = 400;

    explicit QtUserInterface(UserInterface* listener = nullptr) : listener_(listener) {}
    ~QtUserInterface() override;
    QtUserInterface(const QtUserInterface&) = delete;
    QtUserInterface& operator=(const QtUserInterface&) = delete;

    // The window that boxes and the progress window stand over when no other is active.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }
    // The windows an operation switches off.
    void SetWindowList(WindowList* windows) { windows_ = windows; }

    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    // The question with a "Don't ask again" box, ticked or not in `dontAsk`; a listener
    // answers it as any question, unticked.
    bool AskYesNoOnce(const std::string& text, const std::string& caption, bool& dontAsk) override;

    void ShowProgress(const std::string& text) override;
    void SetProgress(int percent) override;
    void CloseProgress() override;

    void PumpEvents() override;
    void SetWaitCursor(bool on) override;

    void BeginOperation(const OperationInfo& info) override;
    void EndOperation() override;
    bool CancelRequested() override;
    // As if the user pressed the progress window's Cancel (only for a cancellable operation).
    void RequestCancel() override;

    // The progress window, created on first use; null before that.
    ProgressWindow* Progress() const { return progress_; }
    bool OperationRunning() const { return operating_; }

    // The window the progress stands over; null: the active window.
    void SetProgressOwner(QWidget* owner) { progressOwner_ = owner; }

private:
    QWidget* Owner() const;
    void OpenWindow();
    // After the glance: the windows go off and the progress shows.
    void ShowOperation();
    void UpdateElapsed();

    UserInterface* listener_;
    QPointer<QWidget> mainWindow_;
    QPointer<QWidget> progressOwner_;
    QPointer<ProgressWindow> progress_;
    WindowList* windows_ = nullptr;
    int waitCursorDepth_ = 0;

    bool operating_ = false;
    bool operationShown_ = false;
    bool percentKnown_ = false;
    OperationInfo operation_;
    QString progressText_;
    QElapsedTimer started_;
    qint64 shownSeconds_ = -1;
    QPointer<QWidget> focusBefore_;
};

// For the length of a scope, the progress of `ui` stands over `owner` whichever window is
// active (a full read belongs to the main window even when it starts from another one).
class ProgressOwner {
public:
    ProgressOwner(QtUserInterface& ui, QWidget* owner) : ui_(ui) { ui_.SetProgressOwner(owner); }
    ~ProgressOwner() { ui_.SetProgressOwner(nullptr); }
    ProgressOwner(const ProgressOwner&) = delete;
    ProgressOwner& operator=(const ProgressOwner&) = delete;

private:
    QtUserInterface& ui_;
};

}  // namespace vk::gui
