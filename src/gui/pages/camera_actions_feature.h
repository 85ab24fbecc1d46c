#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "core/camera/actions/action_executor.h"
#include "gui/app/session_questions.h"
#include "gui/comm/flash_area_dialog.h"

namespace vk::gui {

class MainWindow;

// The page buttons and combo boxes that start camera actions, and the Settings menu's
// flash areas. Every action is a row of the core's action table; this only gathers what the
// page holds, runs the row through the runner and shows what came of it.
class CameraActionsFeature : public QObject {
    Q_OBJECT
public:
    explicit CameraActionsFeature(MainWindow& window);

    // Tests shorten the polls.
    void SetTiming(const ActionTiming& timing) { timing_ = timing; }
    // Picks a flash area (nothing: cancelled); the default asks with FlashAreaDialog.
    std::function<std::optional<int>(FlashAreaDialog::Mode)> chooseArea;

    // As if the user pressed the action's button (or chose its combo box's "once" item).
    void RunAction(const CameraAction& action);
    void LoadSettings();
    void StoreSettings();

private:
    // Runs the function when the "once" item was chosen; true when it did.
    bool OnAutoCombo(const CameraAction& action, int value);
    ActionInput GatherInput(const CameraAction& action) const;
    void Show(const CameraAction& action, const ActionOutcome& outcome);
    std::optional<int> AskArea(FlashAreaDialog::Mode mode);
    void SetRelatedEnabled(const CameraAction& action, bool enabled);

    MainWindow& window_;
    ActionTiming timing_;
    SessionQuestions questions_;
};

// Sets the handlers of every action button, the automatic functions' combo boxes and the
// Settings menu's Load settings and Store settings.
void AttachCameraActions(MainWindow& window);

}  // namespace vk::gui
