#include "gui/identity/about_dialog.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QUrl>
#include <QVBoxLayout>

#include "core/camera/identity/camera_information.h"
#include "core/core_context.h"
#include "gui/app/app_texts.h"
#include "gui/app/window_list.h"
#include "gui/identity/identity_run.h"
#include "gui/res/pictures.h"
#include "gui/widgets/status_strip.h"
#include "gui/widgets/tool_button.h"

namespace vk::gui {
namespace {

constexpr const char* kReading = "Now, reading the camera information.";
constexpr const char* kWritingUserId = "Now, writing the user id.";
constexpr const char* kWritingDeviceVersion = "Now, writing the device version.";
constexpr const char* kNoFileSelected = "No file was selected !!";
constexpr const char* kMakerAddress = "https://www.ostra.example/";
constexpr const char* kMakerText = "www.ostra.example";

}  // namespace

AboutDialog::AboutDialog(CoreContext& core, WindowList& windows, std::uint32_t controlMode,
                         QWidget* parent)
    : QDialog(parent), core_(core), controlMode_(controlMode) {
    setObjectName("aboutDialog");
    setWindowTitle("About This Control");
    setWindowIcon(ApplicationIcon());
    openFile = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };

    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* body = FrameWithStatusStrip(this, core_.notifier, {14, 12, 14, 10});
    body->setSpacing(10);
    body->addWidget(BuildHeader());
    body->addWidget(BuildCameraGroup());
    body->addWidget(BuildUserIdGroup());
    body->addWidget(BuildHelpGroup());
    body->addWidget(ok);

    windows.AddWindow(this);
    SetUserIdEditable(false);
    FillHelpFiles();
    ShowPlaceholders();
    // The device version is written only in factory mode.
    const bool factory = controlMode_ != 0;
    for (QLineEdit* d : digits_)
        d->setEnabled(factory);
    saveDeviceVersion_->setVisible(factory);
}

QWidget* AboutDialog::BuildHeader() {
    auto* header = new QWidget(this);
    auto* icon = new QLabel(header);
    icon->setPixmap(ApplicationIcon().pixmap(48, 48));
    auto* name = new QLabel(kProductTitle, header);
    name->setObjectName("toolName");
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    name->setFont(bold);
    auto* version = new QLabel(QString("Version %1").arg(kVersionText), header);
    version->setObjectName("toolVersion");
    auto* link =
        new QLabel(QString("<a href=\"%1\">%2</a>").arg(kMakerAddress, kMakerText), header);
    link->setObjectName("makerAddress");
    link->setOpenExternalLinks(true);
    link->setCursor(Qt::PointingHandCursor);

    auto* layout = new QGridLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(link, 2, 1);
    layout->setColumnStretch(1, 1);
    return header;
}

QWidget* AboutDialog::BuildCameraGroup() {
    auto* group = new QGroupBox("Camera", this);
    firmware_ = MakeValueField("firmwareVersion", group);
    model_ = MakeValueField("modelName", group);
    cameraId_ = MakeValueField("cameraId", group);
    fpga_ = MakeValueField("fpgaVersion", group);

    auto* version = new QHBoxLayout;
    version->setSpacing(4);
    const auto* digit = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), group);
    for (std::size_t i = 0; i < digits_.size(); ++i) {
        if (i > 0) version->addWidget(new QLabel(".", group));
        digits_[i] = new QLineEdit(group);
        digits_[i]->setObjectName(QString("deviceVersion%1").arg(i + 1));
        digits_[i]->setValidator(digit);
        digits_[i]->setAlignment(Qt::AlignCenter);
        digits_[i]->setFixedWidth(36);
        version->addWidget(digits_[i]);
    }
    saveDeviceVersion_ = MakeButton("Save Dev Ver", "saveDeviceVersion", group);
    version->addSpacing(8);
    version->addWidget(saveDeviceVersion_);
    version->addStretch(1);

    auto* layout = new QGridLayout(group);
    layout->setHorizontalSpacing(10);
    int row = 0;
    const std::pair<const char*, QLabel*> fields[] = {{"Firmware Version", firmware_},
                                                      {"Model Name", model_},
                                                      {"Camera ID", cameraId_},
                                                      {"FPGA Version", fpga_}};
    for (const auto& [text, field] : fields) {
        layout->addWidget(new QLabel(text, group), row, 0);
        layout->addWidget(field, row++, 1);
    }
    layout->addWidget(new QLabel("Device Version", group), row, 0);
    layout->addLayout(version, row, 1);
    layout->setColumnStretch(1, 1);
    connect(saveDeviceVersion_, &QPushButton::clicked, this, &AboutDialog::SaveDeviceVersion);
    return group;
}

QWidget* AboutDialog::BuildUserIdGroup() {
    auto* group = new QGroupBox("User ID", this);
    userId_ = new QLineEdit(group);
    userId_->setObjectName("userId");
    protect_ = new QRadioButton("Protect User ID", group);
    protect_->setObjectName("protectUserId");
    enable_ = new QRadioButton("Enable To Edit User ID", group);
    enable_->setObjectName("enableUserId");
    saveUserId_ = MakeButton("Save User ID", "saveUserId", group);

    auto* layout = new QGridLayout(group);
    layout->addWidget(userId_, 0, 0, 1, 2);
    layout->addWidget(saveUserId_, 0, 2);
    layout->addWidget(protect_, 1, 0);
    layout->addWidget(enable_, 1, 1);
    layout->setColumnStretch(1, 1);
    connect(protect_, &QRadioButton::clicked, this, [this] { SetUserIdEditable(false); });
    connect(enable_, &QRadioButton::clicked, this, [this] { SetUserIdEditable(true); });
    connect(saveUserId_, &QPushButton::clicked, this, &AboutDialog::SaveUserId);
    return group;
}

QWidget* AboutDialog::BuildHelpGroup() {
    auto* group = new QGroupBox("Help", this);
    helpFiles_ = new QComboBox(group);
    helpFiles_->setObjectName("helpFiles");
    helpFiles_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    helpFiles_->setMinimumContentsLength(20);
    auto* view = MakeButton("View Help File", "viewHelpFile", group);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(helpFiles_, 1);
    layout->addWidget(view);
    connect(view, &QPushButton::clicked, this, &AboutDialog::ViewHelpFile);
    return group;
}

void AboutDialog::FillHelpFiles() {
    helpFiles_->clear();
    helpFiles_->addItems(QDir::current().entryList({"*.pdf"}, QDir::Files, QDir::Name));
    helpFiles_->setCurrentIndex(helpFiles_->count() > 0 ? 0 : -1);
}

void AboutDialog::ShowPlaceholders() {
    firmware_->setText(kVersionPlaceholder);
    fpga_->setText(kVersionPlaceholder);
    cameraId_->setText(kNamePlaceholder);
    model_->setText(kNamePlaceholder);
    userId_->setText(kUserIdPlaceholder);
    for (QLineEdit* d : digits_)
        d->setText(kDigitPlaceholder);
}

void AboutDialog::SetUserIdEditable(bool editable) {
    userId_->setEnabled(editable);
    saveUserId_->setEnabled(editable);
    protect_->setChecked(!editable);
    enable_->setChecked(editable);
}

void AboutDialog::Load() {
    CameraInformation info;
    core_.runner.Run({kReading}, [&](Operation& operation) {
        info = ReadCameraInformation(operation.exchange, core_.modelCheck);
        return ExchangeResult::Success();
    });
    Show(info);
}

void AboutDialog::Show(const CameraInformation& info) {
    ShowPlaceholders();
    const auto show = [](QLabel* field, const std::optional<std::string>& text) {
        if (text) field->setText(QString::fromStdString(*text));
    };
    show(firmware_, info.firmwareVersion);
    show(model_, info.modelName);
    show(cameraId_, info.cameraId);
    show(fpga_, info.fpgaVersion);
    if (info.userId) userId_->setText(QString::fromStdString(*info.userId));
    if (info.deviceVersion) {
        const auto d = DeviceVersionDigits(*info.deviceVersion);
        for (std::size_t i = 0; i < digits_.size(); ++i)
            digits_[i]->setText(QString::number(d[i]));
    }
}

void AboutDialog::SaveUserId() {
    const std::string text = userId_->text().toStdString();
    RunIdentityWrite(core_, kWritingUserId,
                     [&](Exchange& exchange) { return WriteUserId(exchange, text); });
}

void AboutDialog::SaveDeviceVersion() {
    std::array<std::string, 4> texts;
    for (std::size_t i = 0; i < digits_.size(); ++i)
        texts[i] = digits_[i]->text().toStdString();
    RunIdentityWrite(core_, kWritingDeviceVersion,
                     [&](Exchange& exchange) { return WriteDeviceVersion(exchange, texts); });
}

void AboutDialog::ViewHelpFile() {
    const QString name = helpFiles_->currentText();
    if (name.isEmpty()) {
        core_.ui.ShowMessage(kNoFileSelected, kProductTitle, MessageIcon::Stop);
        return;
    }
    openFile(QDir::current().absoluteFilePath(name));
}

}  // namespace vk::gui
