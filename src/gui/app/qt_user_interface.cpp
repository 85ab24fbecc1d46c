#include "gui/app/qt_user_interface.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>

#include "gui/app/app_texts.h"
#include "gui/app/window_list.h"

namespace vk::gui {
namespace {

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString Caption(const std::string& caption) {
    return caption.empty() ? QString(kProductTitle) : QString::fromStdString(caption);
}

}  // namespace

QtUserInterface::~QtUserInterface() {
    delete progress_.data();
    while (waitCursorDepth_ > 0)
        SetWaitCursor(false);
}

QWidget* QtUserInterface::Owner() const {
    if (progress_ && progress_->isVisible()) return progress_;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return mainWindow_;
}

void QtUserInterface::ShowMessage(const std::string& text, const std::string& caption,
                                  MessageIcon icon) {
    if (listener_) {
        listener_->ShowMessage(text, caption, icon);
        return;
    }
    QMessageBox box(ToQt(icon), Caption(caption), QString::fromStdString(text), QMessageBox::Ok,
                    Owner());
    box.exec();
}

bool QtUserInterface::AskYesNo(const std::string& text, const std::string& caption) {
    if (listener_) return listener_->AskYesNo(text, caption);
    QMessageBox box(QMessageBox::Question, Caption(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, Owner());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool QtUserInterface::AskYesNoOnce(const std::string& text, const std::string& caption,
                                   bool& dontAsk) {
    dontAsk = false;
    if (listener_) return listener_->AskYesNo(text, caption);
    QMessageBox box(QMessageBox::Question, Caption(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, Owner());
    box.setDefaultButton(QMessageBox::Yes);
    auto* check = new QCheckBox("Don't ask again", &box);
    box.setCheckBox(check);
    const bool yes = box.exec() == QMessageBox::Yes;
    dontAsk = check->isChecked();
    return yes;
}

void QtUserInterface::ShowProgress(const std::string& text) {
    if (listener_) listener_->ShowProgress(text);
    progressText_ = QString::fromStdString(text);
    percentKnown_ = false;
    // Inside an operation the window waits for the glance to pass; once it shows, a new
    // text only replaces the message (a transfer gives one per step).
    if (operating_ && !operationShown_) return;
    if (operating_ && progress_ && progress_->isVisible()) {
        progress_->SetMessage(progressText_);
        return;
    }
    OpenWindow();
}

void QtUserInterface::OpenWindow() {
    if (!progress_) progress_ = new ProgressWindow(mainWindow_);
    QWidget* owner = progressOwner_ ? progressOwner_.data() : QApplication::activeWindow();
    if (!owner || owner == progress_) owner = mainWindow_;
    progress_->ShowProgress(owner, progressText_);
    if (operating_) progress_->SetCancellable(operation_.cancellable);
}

void QtUserInterface::SetProgress(int percent) {
    if (listener_) listener_->SetProgress(percent);
    percentKnown_ = true;
    if (progress_) progress_->SetProgress(percent);
}

void QtUserInterface::CloseProgress() {
    if (listener_) listener_->CloseProgress();
    if (progress_) progress_->CloseProgress();
}

void QtUserInterface::PumpEvents() {
    if (listener_) listener_->PumpEvents();
    if (operating_) {
        if (!operationShown_ && started_.elapsed() >= kGlanceMs) ShowOperation();
        if (operationShown_ && !percentKnown_) UpdateElapsed();
    }
    QCoreApplication::processEvents();
}

void QtUserInterface::SetWaitCursor(bool on) {
    if (listener_) listener_->SetWaitCursor(on);
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitCursorDepth_;
    } else if (waitCursorDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitCursorDepth_;
    }
}

void QtUserInterface::BeginOperation(const OperationInfo& info) {
    if (listener_) listener_->BeginOperation(info);
    operating_ = true;
    operationShown_ = false;
    percentKnown_ = false;
    operation_ = info;
    progressText_ = QString::fromStdString(info.name);
    shownSeconds_ = -1;
    focusBefore_ = QApplication::focusWidget();
    started_.start();
    if (progress_) progress_->SetCancellable(false);
    if (info.progressAtOnce) ShowOperation();
}

void QtUserInterface::ShowOperation() {
    operationShown_ = true;
    if (windows_) windows_->DisableAll();
    SetWaitCursor(true);
    OpenWindow();
    if (!percentKnown_ && !operation_.progressAtOnce) {
        progress_->SetBusy();
        UpdateElapsed();
    }
}

void QtUserInterface::UpdateElapsed() {
    const qint64 seconds = started_.elapsed() / 1000;
    if (!progress_ || seconds == shownSeconds_) return;
    shownSeconds_ = seconds;
    progress_->SetMessage(QString("%1 (%2 s)").arg(progressText_).arg(seconds));
}

void QtUserInterface::EndOperation() {
    if (listener_) listener_->EndOperation();
    const bool shown = operationShown_;
    operating_ = false;
    operationShown_ = false;
    if (!shown) return;
    CloseProgress();
    if (progress_) progress_->SetCancellable(false);
    if (windows_) windows_->EnableAll();
    SetWaitCursor(false);
    if (focusBefore_) focusBefore_->setFocus();
}

void QtUserInterface::RequestCancel() {
    if (!operating_ || !operation_.cancellable) return;
    if (!operationShown_) ShowOperation();
    progress_->RequestCancel();
}

bool QtUserInterface::CancelRequested() {
    if (listener_ && listener_->CancelRequested()) return true;
    return progress_ && progress_->CancelRequested();
}

}  // namespace vk::gui
