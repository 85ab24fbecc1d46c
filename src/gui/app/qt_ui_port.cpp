#include "app/qt_ui_port.h"

#include <QApplication>
#include <QMessageBox>

#include "app/app_texts.h"

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
    }
    return QMessageBox::NoIcon;
}

QString Caption(const std::string& caption) {
    return caption.empty() ? QString(kProductTitle) : QString::fromStdString(caption);
}

}  // namespace

QtUiPort::~QtUiPort() {
    delete progress_.data();
    while (waitCursorDepth_ > 0)
        SetWaitCursor(false);
}

QWidget* QtUiPort::Owner() const {
    if (progress_ && progress_->isVisible()) return progress_;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return mainWindow_;
}

void QtUiPort::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    QMessageBox box(ToQt(icon), Caption(caption), QString::fromStdString(text), QMessageBox::Ok,
                    Owner());
    box.exec();
}

bool QtUiPort::AskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, Caption(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, Owner());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtUiPort::ShowProgress(const std::string& text) {
    if (!progress_) progress_ = new CProgressBarDialog(mainWindow_);
    QWidget* owner = progressOwner_ ? progressOwner_.data() : QApplication::activeWindow();
    if (!owner || owner == progress_) owner = mainWindow_;
    progress_->ShowProgress(owner, QString::fromStdString(text));
}

void QtUiPort::SetProgress(int percent) {
    if (progress_) progress_->SetProgress(percent);
}

void QtUiPort::CloseProgress() {
    if (progress_) progress_->CloseProgress();
}

void QtUiPort::PumpEvents() {
    QCoreApplication::processEvents();
}

void QtUiPort::SetWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitCursorDepth_;
    } else if (waitCursorDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitCursorDepth_;
    }
}

}  // namespace vk::gui
