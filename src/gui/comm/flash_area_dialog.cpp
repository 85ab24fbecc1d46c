#include "gui/comm/flash_area_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "core/persist/flash_areas.h"
#include "gui/app/window_list.h"
#include "gui/widgets/status_strip.h"

namespace vk::gui {
namespace {

constexpr const char* kLoadCaption = "Load setting data";
constexpr const char* kLoadMessage = "Select the flash memory area to load setting data";
constexpr const char* kStoreCaption = "Store setting data";
constexpr const char* kStoreMessage = "Select the flash memory area to save setting data";

}  // namespace

FlashAreaDialog::FlashAreaDialog(Mode mode, bool factoryMode, OnlineStatusNotifier& notifier,
                                 WindowList& windows, QWidget* parent)
    : QDialog(parent), windows_(windows), list_(new QComboBox(this)), message_(new QLabel(this)) {
    setObjectName("flashAreaDialog");
    setAccessibleName("Parameter Flash Area Select");
    const bool load = mode == Mode::Load;
    setWindowTitle(load ? kLoadCaption : kStoreCaption);
    message_->setText(load ? kLoadMessage : kStoreMessage);
    message_->setObjectName("message");
    list_->setObjectName("areaList");
    for (int area = 0; area < FlashAreas::kAreaCount; ++area) {
        if (area == FlashAreas::kFactoryArea && !load && !factoryMode) continue;
        list_->addItem(QString::fromStdString(FlashAreas::AreaName(area)));
    }
    list_->setCurrentIndex(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &FlashAreaDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FlashAreaDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 12, 12, 8);
    body->addWidget(message_);
    body->addWidget(list_);
    body->addWidget(buttons);
    layout->addLayout(body);
    layout->addWidget(new StatusStrip(notifier, this));
    windows_.AddWindow(this);
}

FlashAreaDialog::~FlashAreaDialog() {
    windows_.RemoveWindow(this);
}

QString FlashAreaDialog::Message() const {
    return message_->text();
}

void FlashAreaDialog::Preselect(int area) {
    const int index = list_->findText(QString::fromStdString(FlashAreas::AreaName(area)));
    if (index >= 0) list_->setCurrentIndex(index);
}

void FlashAreaDialog::accept() {
    selected_ = FlashAreas::AreaOfName(list_->currentText().toStdString());
    QDialog::accept();
}

}  // namespace vk::gui
