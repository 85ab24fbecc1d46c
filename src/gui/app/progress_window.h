#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vk::gui {

// The one modeless progress window of long operations. While it shows, the window it stands
// over is disabled, so that the user cannot start a second operation. Operations that can
// stop between steps offer Cancel (also Escape).
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // Shows the message over the top-level window of `owner` and disables that window.
    void ShowProgress(QWidget* owner, const QString& message);
    // Only while shown: sets the bar (0..100) and repaints at once.
    void SetProgress(int percent);
    // A bar that moves without a count, for work whose length is not known.
    void SetBusy();
    void SetMessage(const QString& message);
    // Only while shown: fills the bar, closes, and gives the owner back its input.
    void CloseProgress();

    void SetCancellable(bool cancellable);
    bool CancelRequested() const { return cancelRequested_; }
    // What Cancel does; nothing when the operation cannot be cancelled.
    void RequestCancel();

    QString Message() const;
    int Value() const;

protected:
    // Escape cancels what can be cancelled; the close box never ends the window.
    void reject() override { RequestCancel(); }

private:
    void ReleaseOwner();

    QLabel* message_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    QPointer<QWidget> disabledOwner_;
    bool cancelRequested_ = false;
};

}  // namespace vk::gui
