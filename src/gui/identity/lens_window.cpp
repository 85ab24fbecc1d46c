#include "gui/identity/lens_window.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/camera/identity/lens.h"
#include "core/core_context.h"
#include "gui/app/window_list.h"
#include "gui/res/pictures.h"
#include "gui/widgets/hold_button.h"
#include "gui/widgets/status_strip.h"

namespace vk::gui {
namespace {

constexpr const char* kMoving = "Now, moving the lens.";
constexpr int kRetryMs = 20;

}  // namespace

LensWindow::LensWindow(CoreContext& core, WindowList& windows, QWidget* parent)
    : QDialog(parent), core_(core) {
    setObjectName("lensWindow");
    setWindowTitle("Motor Lens");
    setWindowIcon(ApplicationIcon());

    auto* grid = new QGridLayout;
    grid->setSpacing(6);
    for (std::size_t i = 0; i < kLensMoves.size(); ++i) {
        const LensMove& move = kLensMoves[i];
        auto* button = new HoldButton(move.caption, this);
        button->setObjectName(QString("lens%1").arg(move.controlId));
        button->setProperty("controlId", move.controlId);
        button->setMinimumSize(96, 34);
        grid->addWidget(button, static_cast<int>(i / 2), static_cast<int>(i % 2));
        connect(button, &HoldButton::held, this, [this, &move] { OnHeld(move); });
        connect(button, &HoldButton::letGo, this, [this, &move] { OnLetGo(move); });
    }
    movement_ = new QLabel(this);
    movement_->setObjectName("movement");
    movement_->setAlignment(Qt::AlignCenter);
    movement_->setFrameShape(QFrame::StyledPanel);
    movement_->setFrameShadow(QFrame::Sunken);
    movement_->setMinimumHeight(24);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::hide);

    auto* body = FrameWithStatusStrip(this, core_.notifier, {14, 12, 14, 10});
    body->setSpacing(10);
    body->addLayout(grid);
    body->addWidget(movement_);
    body->addWidget(close);

    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &LensWindow::SendOwedStops);
    windows.AddWindow(this);
}

HoldButton* LensWindow::Button(int controlId) const {
    return findChild<HoldButton*>(QString("lens%1").arg(controlId));
}

void LensWindow::OnHeld(const LensMove& move) {
    movement_->setText(move.label);
    core_.runner.Run({kMoving},
                     [&](Operation& operation) { return StartLensMove(operation.exchange, move); });
}

void LensWindow::OnLetGo(const LensMove& move) {
    movement_->clear();
    owedStops_.push_back(&move);
    SendOwedStops();
}

void LensWindow::SendOwedStops() {
    // A release that comes while the start still waits for its answer (or while anything
    // else holds the line) is sent as soon as the line is free: the lens must not keep
    // moving.
    while (!owedStops_.empty()) {
        if (core_.runner.Running()) {
            retry_.start();
            return;
        }
        const LensMove& move = *owedStops_.front();
        owedStops_.pop_front();
        core_.runner.Run({kMoving}, [&](Operation& operation) {
            return StopLensMove(operation.exchange, move);
        });
    }
}

}  // namespace vk::gui
