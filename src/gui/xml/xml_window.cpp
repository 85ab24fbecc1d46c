#include "gui/xml/xml_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/core_context.h"
#include "core/genicam/description_download.h"
#include "core/genicam/description_file.h"
#include "core/genicam/feature_value.h"
#include "core/genicam/register_reader.h"
#include "gui/app/app_texts.h"
#include "gui/app/qt_user_interface.h"
#include "gui/res/pictures.h"
#include "gui/widgets/status_strip.h"
#include "gui/xml/feature_grid.h"
#include "gui/xml/feature_grid_model.h"
#include "gui/xml/feature_tree.h"

namespace vk::gui {
namespace {

constexpr const char* kCaption = "XML";
constexpr const char* kOpenFilter =
    "XML file data (*.xml);;Zipped XML file data (*.zip);;All files (*)";
constexpr const char* kStoppedUnanswered =
    "The camera did not answer; the remaining registers were not read.";
constexpr QSize kPreferredSize{560, 640};

}  // namespace

XmlWindow::XmlWindow(CoreContext& core, QtUserInterface& desktop, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      core_(core),
      desktop_(desktop),
      serial_(core.exchange),
      perOperation_(core.runner, serial_),
      forgetting_(perOperation_, core.exchange) {
    setObjectName("xmlWindow");
    setWindowTitle(kCaption);
    setWindowIcon(ApplicationIcon());

    readAll_ = new QPushButton(tr("Read All Data"), this);
    readAll_->setObjectName(QStringLiteral("ctl%1").arg(kReadAllDataId));
    readAll_->setProperty("controlId", kReadAllDataId);
    readAll_->setEnabled(false);
    connect(readAll_, &QPushButton::clicked, this, &XmlWindow::ReadAllData);

    fileLabel_ = new QLabel(this);
    fileLabel_->setObjectName("xmlFile");
    fileLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    grid_ = new FeatureGrid(this);
    grid_->SetPort(&forgetting_);
    tree_ = new FeatureTree(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("xmlTabs");
    tabs_->addTab(grid_, tr("Registers"));
    tabs_->addTab(tree_, tr("Features"));

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(readAll_);
    top->addWidget(fileLabel_, 1);

    auto* body = FrameWithStatusStrip(this, core_.notifier, {8, 8, 8, 6});
    body->setSpacing(6);
    body->addLayout(top);
    body->addWidget(tabs_, 1);
    resize(kPreferredSize);
}

QString XmlWindow::DownloadPath() const {
    const QString folder = downloadFolder_.isEmpty() ? QDir::currentPath() : downloadFolder_;
    return QDir(folder).filePath(kDownloadFileName);
}

void XmlWindow::SetPacketTimeout(int ms) {
    packetTimeoutMs_ = ms;
    UpdateTiming();
}

void XmlWindow::UpdateTiming() {
    serial_.SetTiming(RegisterTiming{packetTimeoutMs_, core_.channel.BaudRate()});
}

void XmlWindow::DownloadDescriptionFile() {
    UpdateTiming();
    const std::filesystem::path file = DownloadPath().toStdString();
    DownloadResult result;
    result.outcome = ExchangeResult::Failure(ExchangeStatus::Busy);  // unless it runs
    core_.runner.Run({kDownloadProgressText, true, true, true}, [&](Operation& operation) {
        result = DownloadDescription(operation, serial_, file);
        return result.outcome;
    });
    if (result.ok()) {
        std::string text = DownloadCompleteText(file);
        for (const std::string& note : result.notes)
            text += "\n" + note;
        core_.ui.ShowMessage(text, kProductTitle, MessageIcon::Information);
    } else if (!result.cancelled()) {
        core_.ui.ShowMessage(result.error.empty() ? result.outcome.Describe() : result.error,
                             kCommunicationErrorCaption, MessageIcon::Exclamation);
    }
}

QString XmlWindow::AskDescriptionFile(const QString& folder) {
    return QFileDialog::getOpenFileName(this, tr("Open File"), folder, kOpenFilter);
}

void XmlWindow::OpenDescriptionFile() {
    const QString folder = QDir::currentPath();
    const QString path =
        chooseDescriptionFile ? chooseDescriptionFile(folder) : AskDescriptionFile(folder);
    if (path.isEmpty()) return;
    OpenFile(path);
}

bool XmlWindow::OpenFile(const QString& path) {
    const DescriptionParse parse =
        LoadDescriptionFile(QDir::toNativeSeparators(path).toStdString());
    if (!parse.ok) {
        core_.ui.ShowMessage(parse.error, kProductTitle, MessageIcon::Stop);
        return false;
    }
    UpdateTiming();
    grid_->SetTable(parse.table);
    if (const DescriptionText xml =
            ReadDescriptionFile(QDir::toNativeSeparators(path).toStdString());
        xml.ok) {
        std::string error;
        tree_->SetMap(genicam::BuildNodeMap(xml.text, error), &forgetting_);
    }
    // The family writes every number register big-endian; a file that does not is another
    // maker's, and its tree is what to look at.
    bool familyLayout = !parse.table.records.empty();
    if (const genicam::NodeMap* map = tree_->Map()) {
        for (const auto& node : map->Nodes()) {
            const std::string& type = node->Type();
            if ((type == "IntReg" || type == "FloatReg" || type == "MaskedIntReg") &&
                node->Text("Endianess") != "BigEndian") {
                familyLayout = false;
            }
        }
    }
    tabs_->setCurrentWidget(familyLayout ? static_cast<QWidget*>(grid_) : tree_);
    openedFile_ = path;
    fileLabel_->setText(QFileInfo(path).fileName());
    fileLabel_->setToolTip(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    readAll_->setEnabled(!parse.table.records.empty() || tree_->Map() != nullptr);
    show();
    raise();
    activateWindow();
    if (!parse.notes.empty()) {
        std::string text;
        for (const std::string& note : parse.notes)
            text += (text.empty() ? "" : "\n") + note;
        core_.ui.ShowMessage(text, kCaption, MessageIcon::Exclamation);
    }
    return true;
}

void XmlWindow::ReadAllData() {
    UpdateTiming();
    if (tabs_->currentWidget() == tree_) {
        const ProgressOwner progressOver(desktop_, this);
        tree_->ReadAll(core_.runner, serial_);
        return;
    }
    FeatureGridModel* model = grid_->Model();
    const ProgressOwner progressOver(desktop_, this);
    RegisterReadAll all;
    core_.runner.Run({kReadAllRegistersText, true, true}, [&](Operation& operation) {
        all = RegisterReader().ReadAll(
            operation, serial_, model->Table(), [&](int record, const RegisterResult& result) {
                if (result.ok()) {
                    const FeatureRecord& r =
                        model->Table().records[static_cast<std::size_t>(record)];
                    model->ShowValue(record, ValueFromRegister(r, result.bytes));
                } else {
                    model->ShowFailure(record, QString::fromStdString(result.reason));
                }
            });
        return all.outcome;
    });
    if (all.stoppedUnanswered) {
        core_.ui.ShowMessage(kStoppedUnanswered, kCommunicationErrorCaption,
                             MessageIcon::Exclamation);
    }
}

}  // namespace vk::gui
