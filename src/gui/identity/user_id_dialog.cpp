#include "gui/identity/user_id_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/camera/identity/camera_information.h"
#include "core/camera/identity/identity_writes.h"
#include "core/core_context.h"
#include "gui/app/window_list.h"
#include "gui/identity/identity_run.h"
#include "gui/res/pictures.h"
#include "gui/widgets/status_strip.h"

namespace vk::gui {
namespace {

constexpr const char* kReading = "Now, reading the user id.";
constexpr const char* kWriting = "Now, writing the user id.";

}  // namespace

UserIdDialog::UserIdDialog(CoreContext& core, WindowList& windows, QWidget* parent)
    : QDialog(parent), core_(core) {
    setObjectName("userIdDialog");
    setWindowTitle("User Id");
    setWindowIcon(ApplicationIcon());

    edit_ = new QLineEdit(this);
    edit_->setObjectName("userId");
    edit_->setMinimumWidth(200);
    edit_->setMaxLength(static_cast<int>(kUserIdMaxLength));  // the camera keeps no more
    auto* label = new QLabel("User ID", this);
    label->setBuddy(edit_);
    auto* save = new QPushButton("Save", this);
    save->setObjectName("save");
    save->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(label);
    row->addWidget(edit_, 1);
    row->addWidget(save);
    FrameWithStatusStrip(this, core_.notifier, {14, 14, 14, 12})->addLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(save, &QPushButton::clicked, this, &UserIdDialog::Save);
    windows.AddWindow(this);
}

void UserIdDialog::Load() {
    std::string text;
    const bool read = core_.runner
                          .Run({kReading, false, false, true},
                               [&](Operation& operation) {
                                   const auto asked = QueryUserId(operation.exchange);
                                   text = asked.value;
                                   return asked;
                               })
                          .ok();
    edit_->setText(read ? QString::fromStdString(text) : kUserIdPlaceholder);
}

void UserIdDialog::Save() {
    const std::string text = edit_->text().toStdString();
    RunIdentityWrite(core_, kWriting,
                     [&](Exchange& exchange) { return WriteUserId(exchange, text); });
}

}  // namespace vk::gui
