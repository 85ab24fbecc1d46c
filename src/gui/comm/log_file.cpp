#include "gui/comm/log_file.h"

#include <QFileInfo>
#include <filesystem>

#include "core/persist/atomic_file.h"
#include "core/user_interface.h"
#include "gui/app/app_texts.h"

namespace vk::gui {

namespace {
constexpr const char* kFileOpenError = "File open error !";
}  // namespace

bool WriteLogFile(UserInterface& ui, const QString& path, const std::string& bytes) {
    if (QFileInfo::exists(path) &&
        !ui.AskYesNo(ReplaceFileQuestion(path.toStdString()), kProductTitle)) {
        return false;
    }
    const FileOutcome written =
        WriteFileAtomically(std::filesystem::path(path.toStdU16String()), bytes);
    if (!written) {
        ui.ShowMessage(
            std::string(kFileOpenError) + "\n" + path.toStdString() + ": " + written.reason,
            kProductTitle, MessageIcon::Stop);
    }
    return written.ok;
}

}  // namespace vk::gui
