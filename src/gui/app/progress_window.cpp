#include "gui/app/progress_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/app/app_texts.h"
#include "gui/app/window_geometry.h"

namespace vk::gui {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      message_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton("Cancel", this)) {
    setWindowTitle(kProductTitle);
    setModal(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(true);
    message_->setMinimumWidth(320);
    cancel_->setObjectName("cancelOperation");
    cancel_->setAutoDefault(false);
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::RequestCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 18);
    layout->setSpacing(10);
    layout->addWidget(message_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressWindow::ShowProgress(QWidget* owner, const QString& message) {
    ReleaseOwner();
    QWidget* top = owner ? owner->window() : nullptr;
    if (top == this) top = nullptr;
    if (top && parentWidget() != top) {
        // Over the owner and on top of it; a child window keeps its own enabled state below.
        setParent(top, windowFlags());
    }
    if (top && top->isEnabled()) {
        top->setEnabled(false);
        disabledOwner_ = top;
    }
    setEnabled(true);
    message_->setText(message);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    // Over the middle of its owner each time, wherever the last operation's owner was.
    adjustSize();
    CentreOnParent(*this);
    FitOnScreen(*this);
    show();
    raise();
    // Lets the window appear before the work goes on.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::SetProgress(int percent) {
    if (!isVisible()) return;
    bar_->setRange(0, 100);
    bar_->setValue(std::clamp(percent, 0, 100));
    bar_->repaint();
}

void ProgressWindow::SetBusy() {
    bar_->setRange(0, 0);
}

void ProgressWindow::SetMessage(const QString& message) {
    message_->setText(message);
}

void ProgressWindow::CloseProgress() {
    cancel_->hide();
    if (!isVisible()) return;
    bar_->setRange(0, 100);
    bar_->setValue(100);
    hide();
    QWidget* owner = disabledOwner_;
    ReleaseOwner();
    if (owner) owner->activateWindow();
}

void ProgressWindow::SetCancellable(bool cancellable) {
    cancelRequested_ = false;
    cancel_->setEnabled(true);
    cancel_->setVisible(cancellable);
}

void ProgressWindow::RequestCancel() {
    if (!cancel_->isVisible()) return;
    cancelRequested_ = true;
    // Said once; the operation stops at its next step.
    cancel_->setEnabled(false);
    message_->setText(message_->text() + "\nCancelling...");
}

void ProgressWindow::ReleaseOwner() {
    if (disabledOwner_) disabledOwner_->setEnabled(true);
    disabledOwner_ = nullptr;
}

QString ProgressWindow::Message() const {
    return message_->text();
}

int ProgressWindow::Value() const {
    return bar_->value();
}

}  // namespace vk::gui
