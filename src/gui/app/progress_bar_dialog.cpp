#include "app/progress_bar_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/app_texts.h"

namespace vk::gui {

CProgressBarDialog::CProgressBarDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      message_(new QLabel(this)),
      bar_(new QProgressBar(this)) {
    setWindowTitle(kProductTitle);
    setModal(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(true);
    message_->setMinimumWidth(320);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 18);
    layout->setSpacing(10);
    layout->addWidget(message_);
    layout->addWidget(bar_);
    setFixedSize(sizeHint());
}

void CProgressBarDialog::ShowProgress(QWidget* owner, const QString& message) {
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
    bar_->setValue(0);
    show();
    raise();
    // Lets the window appear before the work blocks the event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CProgressBarDialog::SetProgress(int percent) {
    if (!isVisible()) return;
    bar_->setValue(std::clamp(percent, 0, 100));
    bar_->repaint();
}

void CProgressBarDialog::CloseProgress() {
    if (!isVisible()) return;
    bar_->setValue(100);
    hide();
    QWidget* owner = disabledOwner_;
    ReleaseOwner();
    if (owner) owner->activateWindow();
}

void CProgressBarDialog::ReleaseOwner() {
    if (disabledOwner_) disabledOwner_->setEnabled(true);
    disabledOwner_ = nullptr;
}

QString CProgressBarDialog::Message() const {
    return message_->text();
}

int CProgressBarDialog::Value() const {
    return bar_->value();
}

}  // namespace vk::gui
