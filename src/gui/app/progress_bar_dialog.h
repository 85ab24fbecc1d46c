#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;

namespace vk::gui {

// The one modeless progress window of long operations. While it shows, the window it stands
// over is disabled, so that the user cannot start a second operation.
class CProgressBarDialog : public QDialog {
    Q_OBJECT
public:
    explicit CProgressBarDialog(QWidget* parent = nullptr);

    // Shows the message over the top-level window of `owner` and disables that window.
    void ShowProgress(QWidget* owner, const QString& message);
    // Only while shown: sets the bar (0..100) and repaints at once.
    void SetProgress(int percent);
    // Only while shown: fills the bar, closes, and gives the owner back its input.
    void CloseProgress();

    QString Message() const;
    int Value() const;

protected:
    // The user cannot close it; the operation does.
    void reject() override {}

private:
    void ReleaseOwner();

    QLabel* message_;
    QProgressBar* bar_;
    QPointer<QWidget> disabledOwner_;
};

}  // namespace vk::gui
