#include "gui/lut/lut_feature.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>

#include "core/core_context.h"
#include "core/lut/lut_file.h"
#include "core/lut/lut_transfer.h"
#include "core/persist/atomic_file.h"
#include "gui/app/app_texts.h"
#include "gui/app/main_menu.h"
#include "gui/app/main_window.h"
#include "gui/app/qt_user_interface.h"
#include "gui/lut/lut_editor.h"
#include "gui/pages/control_binding.h"
#include "gui/widgets/control_kinds.h"
#include "gui/widgets/status_strip.h"

namespace vk::gui {
namespace {

constexpr const char* kFileFilter = "Camera gamma data (*.csv)";
constexpr int kGreen = 1;  // the one table of a monochrome camera
constexpr int kCascadeStep = 50;
constexpr const char* kEditPointsLost =
    "Saving the LUT file reads the camera's tables into the editors: the edit points of the "
    "curves being edited are lost.\nRead the tables and save?";

// The file system's own encoding of a name, whatever the locale says.
std::filesystem::path ToPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Runs one LUT transfer as a camera operation whose progress stands over `owner`. A transfer
// that did not finish ends with one message: where it stopped, why, what the camera holds.
template <typename Body>
ExchangeResult RunTransfer(MainWindow& window, QWidget* owner, std::string text, Body body) {
    CoreContext& core = window.Core();
    const ProgressOwner over(window.Desktop(), owner);
    OperationInfo info = lut::TransferInfo(std::move(text));
    info.callerShowsFailure = true;
    std::string stopped;
    const ExchangeResult result = core.runner.Run(info, [&](Operation& operation) {
        lut::LutTransfer transfer(operation);
        ExchangeResult outcome = body(transfer);
        if (operation.WasCancelled() && outcome.ok()) outcome.status = ExchangeStatus::Cancelled;
        stopped = transfer.StopText(outcome);
        return outcome;
    });
    if (stopped.empty()) return result;
    if (result.status == ExchangeStatus::Cancelled) {
        core.ui.ShowMessage(stopped, kProductTitle, MessageIcon::Exclamation);
    } else {
        ShowCommunicationError(core.ui, stopped);
    }
    return result;
}

}  // namespace

LutFeature::LutFeature(MainWindow& window)
    : QObject(&window), window_(window), folder_(QDir::currentPath()) {
    setObjectName("lutFeature");
    CoreContext& core = window.Core();
    for (int channel = 0; channel < static_cast<int>(editors_.size()); ++channel) {
        // A window of its own beside the main window, as every tool window is.
        auto* editor = new LutEditor(channel);
        editor->setObjectName(QString("lutEditor%1").arg(channel));
        editor->AddFooter(new StatusStrip(core.notifier, editor));
        window.Windows().AddWindow(editor);
        connect(editor, &LutEditor::readRequested, this, [this, editor] { ReadTable(*editor); });
        connect(editor, &LutEditor::writeRequested, this, [this, editor] { WriteTable(*editor); });
        connect(editor, &LutEditor::writeAllRequested, this,
                [this, editor] { WriteToAllChannels(*editor); });
        editors_[std::size_t(channel)] = editor;
    }
    core.notifier.Register(this);
    OnOnlineStatusChanged(core.notifier.Current());

    window.Menu()->SetHandler(kMenuOpenLutFile, [this] { OpenLutFile(); });
    window.Menu()->SetHandler(kMenuSaveLutFile, [this] { SaveLutFile(); });
    window.Menu()->SetHandler(kMenuLoadAllLutTable, [this] { ReadAllTables(); });
    window.SetActionHandler(kOpenLutTable, [this] { ShowEditors(true); });
    // The binding greys "Open LUT Table" unless the selector is on "LUT"; the editors go with
    // any other value, the user's choice or the camera's as a read shows it.
    if (auto* selector = qobject_cast<QComboBox*>(window.FindControl(kLutSelector))) {
        connect(selector, &QComboBox::currentIndexChanged, this, [this, selector] {
            if (ControlKinds::ReadValue(selector) != kSelectorLut) ShowEditors(false);
        });
    }
}

LutFeature::~LutFeature() {
    window_.Core().notifier.Unregister(this);
    // The editors have no parent; they end with the main window.
    for (LutEditor*& editor : editors_) {
        delete editor;
        editor = nullptr;
    }
}

void LutFeature::OnOnlineStatusChanged(bool online) {
    if (shownOnline_ == online) return;  // told again with every answer
    shownOnline_ = online;
    for (LutEditor* editor : editors_)
        editor->SetCameraOnline(online);
}

void LutFeature::ShowEditors(bool show) {
    const int model = window_.Core().modelCheck.modelIndex;
    const bool monochrome = model != ModelCheck::kNoModel && !ModelCheck::IsColour(model);
    for (int channel = 0; channel < static_cast<int>(editors_.size()); ++channel) {
        LutEditor& editor = *editors_[std::size_t(channel)];
        if (!show || (monochrome && channel != kGreen)) {
            editor.hide();
            continue;
        }
        editor.SetMonochrome(monochrome);
        PlaceOnFirstShow(editor, channel);
        editor.show();
        editor.raise();
    }
}

void LutFeature::PlaceOnFirstShow(LutEditor& editor, int order) {
    if (placed_[std::size_t(order)]) return;
    placed_[std::size_t(order)] = true;
    // Cascaded from the main window's corner, so each title bar stays visible.
    const int d = kCascadeStep * (order + 1);
    editor.move(window_.frameGeometry().topLeft() + QPoint(d, d));
}

lut::Tables LutFeature::EditorTables() const {
    lut::Tables tables{};
    for (std::size_t channel = 0; channel < editors_.size(); ++channel)
        tables[channel] = editors_[channel]->Values();
    return tables;
}

void LutFeature::ReadTable(LutEditor& editor) {
    const int channel = editor.Channel();
    lut::Table table = editor.Values();
    const ExchangeResult result =
        RunTransfer(window_, &editor, lut::ReadingText(channel),
                    [&](lut::LutTransfer& transfer) { return transfer.ReadTable(channel, table); });
    // What arrived is shown even when the read stopped part-way.
    if (result.status != ExchangeStatus::Busy) editor.ShowTable(table);
}

void LutFeature::WriteTable(LutEditor& editor) {
    const int channel = editor.Channel();
    const lut::Table table = editor.Values();
    RunTransfer(window_, &editor, lut::kWritingText,
                [&](lut::LutTransfer& transfer) { return transfer.WriteTable(channel, table); });
}

void LutFeature::WriteToAllChannels(LutEditor& editor) {
    const lut::Table table = editor.Values();
    RunTransfer(window_, &editor, lut::kWritingText,
                [&](lut::LutTransfer& transfer) { return transfer.WriteToAllChannels(table); });
}

bool LutFeature::ReadAllTables() {
    lut::Tables tables = EditorTables();
    std::size_t reached = 0;  // editors whose read started
    const ExchangeResult result =
        RunTransfer(window_, &window_, lut::ReadingText(0), [&](lut::LutTransfer& transfer) {
            ExchangeResult read;
            for (std::size_t channel = 0; read && channel < tables.size(); ++channel) {
                reached = channel + 1;
                read = transfer.ReadTable(static_cast<int>(channel), tables[channel]);
            }
            return read;
        });
    for (std::size_t channel = 0; channel < reached; ++channel)
        editors_[channel]->ShowTable(tables[channel]);
    return result.ok();
}

void LutFeature::OpenLutFile() {
    const QString path = AskFile(false, folder_);
    if (path.isEmpty()) return;
    folder_ = QFileInfo(path).absolutePath();
    LoadFile(path);
}

void LutFeature::SaveLutFile() {
    // The file holds the tables as the camera has them; reading them replaces curves being
    // edited.
    const bool edits = std::any_of(editors_.begin(), editors_.end(),
                                   [](const LutEditor* editor) { return editor->HasEdits(); });
    if (edits && !window_.Core().ui.AskYesNo(kEditPointsLost, kProductTitle)) return;
    if (!ReadAllTables()) return;
    const QString path = AskFile(true, folder_);
    if (path.isEmpty()) return;
    folder_ = QFileInfo(path).absolutePath();
    SaveFile(path);
}

bool LutFeature::LoadFile(const QString& path) {
    UserInterface& ui = window_.Core().ui;
    const lut::LutLoad load = lut::LoadLutFile(ToPath(path));
    if (!load.ok) {
        ui.ShowMessage(load.error, kProductTitle, MessageIcon::Stop);
        return false;
    }
    // The file loaded; a limited value is a warning, not an error.
    if (!load.notice.empty()) ui.ShowMessage(load.notice, kProductTitle, MessageIcon::Exclamation);
    for (std::size_t channel = 0; channel < editors_.size(); ++channel)
        editors_[channel]->ShowTable(load.tables[channel]);
    return true;
}

bool LutFeature::SaveFile(const QString& path) {
    UserInterface& ui = window_.Core().ui;
    if (QFileInfo::exists(path) &&
        !ui.AskYesNo(ReplaceFileQuestion(path.toStdString()), kProductTitle)) {
        return false;
    }
    std::string error;
    if (lut::SaveLutFile(ToPath(path), EditorTables(), &error)) return true;
    ui.ShowMessage(error, kProductTitle, MessageIcon::Stop);
    return false;
}

QString LutFeature::AskFile(bool save, const QString& folder) {
    if (chooseFile) return chooseFile(save, folder);
    QFileDialog dialog(&window_, save ? "Save As" : "Open", folder, kFileFilter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("csv");
    // Replacing a file is asked in the tool's own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

LutFeature* AttachLutFeature(MainWindow& window) {
    return new LutFeature(window);
}

}  // namespace vk::gui
