#include "gui/identity/identity_feature.h"

#include <QTimer>

#include "core/protocol/control_ids.h"
#include "gui/app/main_menu.h"
#include "gui/app/main_window.h"
#include "gui/comm/terminal_window.h"
#include "gui/identity/about_dialog.h"
#include "gui/identity/camera_id_dialog.h"
#include "gui/identity/lens_window.h"
#include "gui/identity/user_id_dialog.h"

namespace vk::gui {
namespace {

constexpr int kTerminalButton = controls::kTerminal.id;
constexpr int kLensButton = controls::kLensControl.id;

void ShowSideWindow(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// Runs a modal identity window: it shows with its placeholders, then asks the camera.
template <typename Dialog>
void RunModal(Dialog& dialog) {
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.Load(); });
    dialog.exec();
}

}  // namespace

void AttachIdentityFeature(MainWindow& window) {
    CoreContext& core = window.Core();
    WindowList& windows = window.Windows();
    // Side windows live as long as the main window; closing them only hides them.
    auto* terminal = new TerminalWindow(core, windows, &window);
    auto* lens = new LensWindow(core, windows, &window);
    window.SetActionHandler(kTerminalButton, [terminal] { ShowSideWindow(terminal); });
    window.SetActionHandler(kLensButton, [lens] { ShowSideWindow(lens); });

    window.Menu()->SetHandler(kMenuAbout, [&window] {
        AboutDialog dialog(window.Core(), window.Windows(), window.ControlMode(), &window);
        RunModal(dialog);
    });
    window.Menu()->SetHandler(kMenuEditUserId, [&window] {
        UserIdDialog dialog(window.Core(), window.Windows(), &window);
        RunModal(dialog);
    });
    window.Menu()->SetHandler(kMenuEditCameraId, [&window] {
        CameraIdDialog dialog(window.Core(), window.Windows(), window.ControlMode(), &window);
        RunModal(dialog);
    });
}

}  // namespace vk::gui
