#include "gui/identity/camera_id_dialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/core_context.h"
#include "gui/app/window_list.h"
#include "gui/identity/identity_run.h"
#include "gui/res/pictures.h"
#include "gui/widgets/status_strip.h"

namespace vk::gui {
namespace {

constexpr const char* kReading = "Now, reading the camera id.";
constexpr const char* kWriting = "Now, writing the camera id.";
constexpr std::uint32_t kFactoryMode = 1;

}  // namespace

CameraIdDialog::CameraIdDialog(CoreContext& core, WindowList& windows, std::uint32_t controlMode,
                               QWidget* parent)
    : QDialog(parent), core_(core) {
    setObjectName("cameraIdDialog");
    setWindowTitle("Camera Id");
    setWindowIcon(ApplicationIcon());

    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(new QLabel("Camera ID", this));
    row->addSpacing(6);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (std::size_t i = 0; i < kBoxes; ++i) {
        boxes_[i] = new QLineEdit(this);
        boxes_[i]->setObjectName(QString("character%1").arg(i + 1));
        boxes_[i]->setMaxLength(1);
        boxes_[i]->setFont(fixed);
        boxes_[i]->setAlignment(Qt::AlignCenter);
        boxes_[i]->setFixedWidth(28);
        boxes_[i]->installEventFilter(this);
        connect(boxes_[i], &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (!text.isEmpty()) Advance(i);
        });
        row->addWidget(boxes_[i]);
    }
    save_ = new QPushButton("Save", this);
    save_->setObjectName("save");
    save_->setAutoDefault(false);
    save_->setEnabled(controlMode == kFactoryMode);
    row->addSpacing(8);
    row->addWidget(save_);

    FrameWithStatusStrip(this, core_.notifier, {14, 14, 14, 12})->addLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(save_, &QPushButton::clicked, this, &CameraIdDialog::Save);
    windows.AddWindow(this);
}

void CameraIdDialog::Advance(std::size_t from) {
    if (from + 1 >= kBoxes) return;
    boxes_[from + 1]->setFocus();
    boxes_[from + 1]->selectAll();
}

bool CameraIdDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Backspace) {
        const auto box = std::find(boxes_.begin(), boxes_.end(), watched);
        if (box != boxes_.end() && box != boxes_.begin() && (*box)->text().isEmpty()) {
            QLineEdit* previous = *(box - 1);
            previous->setFocus();
            previous->clear();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CameraIdDialog::Load() {
    std::string id;
    const bool read = core_.runner
                          .Run({kReading, false, false, true},
                               [&](Operation& operation) {
                                   const auto asked = QueryCameraId(operation.exchange);
                                   id = asked.value;
                                   return asked;
                               })
                          .ok();
    if (!read) return;
    for (std::size_t i = 0; i < kBoxes; ++i)
        boxes_[i]->setText(i < id.size() ? QString(QChar::fromLatin1(id[i])) : QString());
}

std::string CameraIdDialog::Joined() const {
    std::string id;
    for (const QLineEdit* box : boxes_)
        id += box->text().toStdString();
    return id;
}

void CameraIdDialog::Save() {
    const std::string id = Joined();
    RunIdentityWrite(core_, kWriting,
                     [&](Exchange& exchange) { return WriteCameraId(exchange, id); });
}

}  // namespace vk::gui
