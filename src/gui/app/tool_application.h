#pragma once

#include <memory>
#include <string>

#include "gui/app/program_options.h"

namespace vk {
class CoreContext;
class SettingsBackend;
class UserInterface;
namespace sim {
class SimulatedCamera;
}
}  // namespace vk

namespace vk::gui {

class MainWindow;
class QtUserInterface;

// The program: the settings store, the simulated camera when asked for, the core objects
// and the main window, created in that order and ended in the reverse one.
class ToolApplication {
public:
    // ui hears what the person is told instead of message boxes, and settings replace the
    // program's store (tests); null: the program's own.
    explicit ToolApplication(ProgramOptions options, UserInterface* ui = nullptr,
                             SettingsBackend* settings = nullptr);
    ~ToolApplication();
    ToolApplication(const ToolApplication&) = delete;
    ToolApplication& operator=(const ToolApplication&) = delete;

    // Starts the simulated camera (when asked for) and builds the main window; false with a
    // reason when the simulated camera cannot start.
    bool Create(std::string* error);
    // Shows the main window, connects and reads the camera, and runs until the window ends
    // (or Ctrl-C, SIGTERM or SIGHUP end it the normal way).
    int Run();
    // Shows the main window and runs its start-up sequence. A stored channel that cannot
    // open is offered for correction: a retry at the default rate, then the communication
    // window.
    void Start();
    // Ends the program the normal way as soon as no operation or dialog is running: a
    // running operation is cancelled and open dialogs are answered no.
    void EndSoon();
    bool EndRequested() const { return endRequested_; }
    // The orderly end (Run ends with it): the channel selection is stored and the run marked
    // as ended normally. A run that never gets here is taken as one that died.
    void SaveAtNormalEnd();

    MainWindow* Window() const { return mainWindow_.get(); }
    CoreContext* Core() const { return core_.get(); }
#ifdef VK_HAVE_SIMULATOR
    sim::SimulatedCamera* Camera() const {
        return camera_.get();
    }
#endif

private:
    void RecoverStoredChannel();
    void FinishWhenIdle();

    ProgramOptions options_;
    std::unique_ptr<SettingsBackend> ownSettings_;
    std::unique_ptr<QtUserInterface> ownUi_;
    std::unique_ptr<SettingsBackend> sessionSettings_;
    SettingsBackend* settings_;
    UserInterface* ui_;
#ifdef VK_HAVE_SIMULATOR
    std::unique_ptr<sim::SimulatedCamera> camera_;
#endif
    std::unique_ptr<CoreContext> core_;
    std::unique_ptr<MainWindow> mainWindow_;
    bool deviceSession_ = false;  // a device from the command line, not the stored channel
    bool endRequested_ = false;
};

}  // namespace vk::gui
