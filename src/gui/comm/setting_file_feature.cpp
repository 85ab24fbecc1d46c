#include "gui/comm/setting_file_feature.h"

#include <QFileDialog>
#include <QFileInfo>

#include "core/core_context.h"
#include "core/persist/atomic_file.h"
#include "core/persist/setting_file_loader.h"
#include "gui/app/app_texts.h"
#include "gui/app/main_menu.h"
#include "gui/app/main_window.h"
#include "gui/app/qt_user_interface.h"
#include "gui/comm/communication_window.h"
#include "gui/comm/setting_file_diff_dialog.h"
#include "gui/pages/control_binding.h"

namespace vk::gui {
namespace {

// How many rows a question or a summary names before "...".
constexpr std::size_t kNamedRows = 8;

constexpr const char* kSavingSettingFile = "Now, writing camera setting file.";

std::filesystem::path PathOf(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace

SettingFileFeature::SettingFileFeature(MainWindow& window) : QObject(&window), window_(window) {
    setObjectName("settingFiles");
}

QString SettingFileFeature::StoredFolder() const {
    std::string folder;
    window_.Core().settings.ReadText(static_cast<int>(SettingIndex::CameraFilePath), folder);
    return QString::fromStdString(folder);
}

std::string SettingFileFeature::SaveSummary(SettingFileVariant variant, std::size_t leftOut) const {
    const ControlTable& table = window_.Core().exchange.Controls();
    const bool factory = window_.IsFactoryMode();
    const std::size_t saved =
        SettingFileRowsOfModel(table, variant, factory, window_.Core().modelCheck.modelIndex)
            .size() -
        leftOut;
    // The page values of the mode that no setting file keeps.
    int notKept = 0;
    for (const ControlEntry& row : table.Rows()) {
        const bool shown =
            row.level == ParamLevel::User || (factory && row.level == ParamLevel::Factory);
        if (shown && row.controlKind != ControlKind::Button && row.commandId != kNoCommand &&
            !row.inSettingFile) {
            ++notKept;
        }
    }
    return std::to_string(saved) + " values saved; " + std::to_string(notKept) +
           " page values are not kept in setting files";
}

void SettingFileFeature::StoreFolder(const QString& path) {
    window_.Core().settings.WriteText(static_cast<int>(SettingIndex::CameraFilePath),
                                      QFileInfo(path).absolutePath().toStdString());
}

void SettingFileFeature::Save(SettingFileVariant variant) {
    const QString path = ChooseFile(true);
    if (path.isEmpty()) return;
    if (SaveTo(path, variant)) StoreFolder(path);
}

QString SettingFileFeature::ChooseFile(bool save) {
    const QString folder = StoredFolder();
    return chooseFile ? chooseFile(save, folder) : AskFile(save, folder);
}

void SettingFileFeature::Open() {
    const QString path = ChooseFile(false);
    if (path.isEmpty()) return;
    StoreFolder(path);
    LoadFrom(path);
}

void SettingFileFeature::Compare() {
    const QString path = ChooseFile(false);
    if (path.isEmpty()) return;
    StoreFolder(path);
    LoadFrom(path, true);
}

bool SettingFileFeature::SaveTo(const QString& path, SettingFileVariant variant) {
    CoreContext& core = window_.Core();
    if (QFileInfo::exists(path) &&
        !core.ui.AskYesNo(ReplaceFileQuestion(path.toStdString()), kProductTitle)) {
        return false;
    }
    // A setting file is a record of the camera: values it never gave are read first; what
    // still cannot be read is left out only when the user agrees, and the summary names it.
    const bool factory = window_.IsFactoryMode();
    const int model = core.modelCheck.modelIndex;
    const ProgressOwner progressOver(window_.Desktop(), &window_);
    std::vector<int> unknown = UnknownSettingFileRows(core.exchange, variant, factory, model);
    if (!unknown.empty()) {
        core.runner.Run({kSavingSettingFile, true, true}, [&](Operation& operation) {
            return ReadRowsForSettingFile(operation, unknown).outcome;
        });
        window_.RefreshAllControls();
        unknown = UnknownSettingFileRows(core.exchange, variant, factory, model);
    }
    const std::string count = std::to_string(unknown.size());
    if (!unknown.empty() &&
        !core.ui.AskYesNo(count + " values could not be read from the camera (" +
                              RowNames(core.exchange, unknown, kNamedRows) +
                              ").\nSave the file without them?",
                          kProductTitle)) {
        return false;
    }
    std::optional<Notice> failure;
    core.runner.Run({kSavingSettingFile}, [&](Operation&) {
        failure = WriteSettingFile(core.exchange, core.modelCheck, PathOf(path), variant, factory);
        return ExchangeResult::Success();
    });
    if (failure) ShowNotice(core.ui, *failure);
    const bool written = !failure;
    if (written) {
        std::string summary = SaveSummary(variant, unknown.size());
        if (!unknown.empty()) {
            summary += "; the file was saved without " + count +
                       " values the camera has not given: " +
                       RowNames(core.exchange, unknown, kNamedRows) + ".";
        }
        core.ui.ShowMessage(summary, kProductTitle, MessageIcon::Information);
    }
    return written;
}

void SettingFileFeature::LoadFrom(const QString& path, bool compareOnly) {
    CoreContext& core = window_.Core();
    PreparedSettingFile prepared =
        PrepareSettingFile(core.exchange, PathOf(path), window_.IsFactoryMode());
    if (!prepared) return ShowNotice(core.ui, *prepared.failure);
    SettingFilePlan plan = std::move(prepared.plan);
    const ProgressOwner progressOver(window_.Desktop(), &window_);
    SettingFileComparison comparison;
    const ExchangeResult compared =
        core.runner.Run({kComparingSettingFile, true, true, true}, [&](Operation& operation) {
            comparison = CompareWithCamera(operation, core.modelCheck, plan);
            return comparison.outcome;
        });
    // What the comparison read is the tool's value now.
    window_.RefreshAllControls();
    if (compared.status == ExchangeStatus::Busy || comparison.cancelled) return;

    const LoadChoice choice =
        chooseLoad ? chooseLoad(path, comparison) : AskLoad(path, comparison, compareOnly);
    if (choice == LoadChoice::Cancel || (compareOnly && choice == LoadChoice::All)) return;
    if (choice == LoadChoice::DifferencesOnly) plan = OnlyLines(plan, comparison.DifferingLines());

    SettingFileLoadResult result;
    core.runner.Run({kLoadingSettingFile, true, true, true}, [&](Operation& operation) {
        result = SettingFileLoader().Load(operation, core.modelCheck, plan);
        return result.outcome;
    });
    ShowLoadedValues();
    const std::string summary = LoadSummary(result);
    if (!summary.empty()) {
        // Lines only left out (a user's own file holds its device version) are a note.
        core.ui.ShowMessage(summary, kSettingFileCaption,
                            result.Clean() ? MessageIcon::Information : MessageIcon::Exclamation);
    }
}

void SettingFileFeature::ShowLoadedValues() {
    ControlBinding* binding = window_.Binding();
    binding->ApplyModel(window_.Core().modelCheck.modelIndex);
    window_.RefreshAllControls();
    binding->UpdateCombinedDisplays();
}

QString SettingFileFeature::AskFile(bool save, const QString& folder) {
    QFileDialog dialog(&window_, save ? "Save As" : "Open", folder,
                       QString("%1;;All files (*)").arg(kSettingFileFilter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A name typed into Open is the file meant, suffix or not.
    if (save) dialog.setDefaultSuffix(kSettingFileSuffix);
    // Replacing a file is asked in the tool's own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

SettingFileFeature::LoadChoice SettingFileFeature::AskLoad(const QString& path,
                                                           const SettingFileComparison& comparison,
                                                           bool compareOnly) {
    SettingFileDiffDialog dialog(path, comparison,
                                 compareOnly ? SettingFileDiffDialog::Purpose::Compare
                                             : SettingFileDiffDialog::Purpose::Load,
                                 &window_);
    switch (dialog.exec()) {
        case SettingFileDiffDialog::LoadAll:
            return LoadChoice::All;
        case SettingFileDiffDialog::LoadDifferences:
            return LoadChoice::DifferencesOnly;
        default:
            return LoadChoice::Cancel;
    }
}

SettingFileFeature* AttachSettingFiles(MainWindow& window) {
    auto* feature = new SettingFileFeature(window);
    MainMenu* menu = window.Menu();
    menu->SetHandler(kMenuOpen, [feature] { feature->Open(); });
    menu->SetHandler(kMenuCompareWithFile, [feature] { feature->Compare(); });
    menu->SetHandler(kMenuSaveAllData, [feature] { feature->Save(SettingFileVariant::AllData); });
    menu->SetHandler(kMenuSaveShippingData,
                     [feature] { feature->Save(SettingFileVariant::ShippingData); });
    window.Communication()->SetSettingFileHandlers(
        [feature] { feature->Save(SettingFileVariant::AllData); }, [feature] { feature->Open(); });
    return feature;
}

}  // namespace vk::gui
