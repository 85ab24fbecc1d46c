#include "gui/app/tool_application.h"

#include <QApplication>
#include <QTimer>

#include "core/core_context.h"
#include "gui/app/app_texts.h"
#include "gui/app/main_window.h"
#include "gui/app/program_settings.h"
#include "gui/app/qt_user_interface.h"
#include "gui/app/session_settings.h"
#include "gui/app/termination_signals.h"
#include "gui/comm/communication_window.h"
#ifdef VK_HAVE_SIMULATOR
#include "sim/simulated_camera.h"
#endif

namespace vk::gui {

ToolApplication::ToolApplication(ProgramOptions options, UserInterface* ui,
                                 SettingsBackend* settings)
    : options_(std::move(options)) {
    if (!settings) ownSettings_ = CreateProgramSettings();
    settings_ = settings ? settings : ownSettings_.get();
    // A given port (tests) hears what a person would be told; the windows still behave as
    // the desktop's own.
    ownUi_ = std::make_unique<QtUserInterface>(ui);
    ui_ = ownUi_.get();
}

ToolApplication::~ToolApplication() {
    // The window closes the channel and keeps the mode; the core then writes the channel
    // selection and the normal end.
    mainWindow_.reset();
    core_.reset();
#ifdef VK_HAVE_SIMULATOR
    camera_.reset();
#endif
}

bool ToolApplication::Create(std::string* error) {
    std::optional<std::string> device;
    if (options_.port) device = options_.port->toStdString();
#ifdef VK_HAVE_SIMULATOR
    if (options_.simulateModel) {
        sim::SimOptions simOptions;
        if (!options_.simulateModel->isEmpty()) {
            simOptions.model = options_.simulateModel->toStdString();
        }
        camera_ = std::make_unique<sim::SimulatedCamera>(simOptions);
        std::string reason;
        if (!camera_->Start(&reason)) {
            if (error) *error = "cannot start the simulated camera: " + reason;
            return false;
        }
        device = camera_->DevicePath();
    }
#else
    (void)error;  // only the simulated camera can fail to start
#endif

    deviceSession_ = device.has_value();
    if (device) {
        sessionSettings_ = std::make_unique<SessionChannelSettings>(*settings_);
        settings_ = sessionSettings_.get();
    }
    core_ = std::make_unique<CoreContext>(*ui_, *settings_);
    std::optional<std::uint32_t> startPort;
    if (device) {
        // The named device becomes the first COM port and is opened at start.
        core_->port.PinPort(*device);
        core_->channel.SetMode(ChannelMode::ComPort);
        startPort = 0;
    }
    mainWindow_ = std::make_unique<MainWindow>(*core_, *ownUi_, startPort);
#ifdef VK_HAVE_SIMULATOR
    if (camera_) mainWindow_->Communication()->SetPortLabel(*device, "Simulated camera");
#endif
    ownUi_->SetMainWindow(mainWindow_.get());
    return true;
}

int ToolApplication::Run() {
    std::string error;
    if (!Create(&error)) {
        ui_->ShowMessage(error, "", MessageIcon::Stop);
        return 1;
    }
    const TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, mainWindow_.get(),
                     [this](int) { EndSoon(); });
    QObject::connect(mainWindow_.get(), &MainWindow::ended, qApp, &QCoreApplication::quit);
    Start();
    // Ended during start-up, or when the main window ends.
    const int code = mainWindow_->Ended() || endRequested_ ? 0 : QApplication::exec();
    SaveAtNormalEnd();
    return code;
}

void ToolApplication::SaveAtNormalEnd() {
    if (core_) core_->SaveAtNormalEnd();
}

void ToolApplication::Start() {
    mainWindow_->show();
    if (const std::string problem = settings_->Problem(); !problem.empty()) {
        ui_->ShowMessage("The stored settings are not used:\n" + problem, kProductTitle,
                         MessageIcon::Exclamation);
    }
    mainWindow_->Initialize();
    if (!endRequested_) RecoverStoredChannel();
}

void ToolApplication::RecoverStoredChannel() {
    SerialChannel& channel = core_->channel;
    if (deviceSession_ || channel.IsUsable()) return;
    // A rate the port or library refuses would otherwise fail every start, and in user mode
    // the rate list is hidden. The default is kept only once it opens.
    const std::uint32_t rate = channel.BaudRate();
    if (rate != SerialChannel::kDefaultBaudRate) {
        channel.SetBaudRate(SerialChannel::kDefaultBaudRate);
        const std::string mode = kChannelModeNames[ModeIndex(channel.GetMode())];
        const std::string question = "The stored connection (" + mode + ", " +
                                     std::to_string(rate) + " bit/s) did not open.\nTry " +
                                     std::to_string(SerialChannel::kDefaultBaudRate) +
                                     " bit/s instead?";
        if (ui_->AskYesNo(question, kProductTitle) && !endRequested_ &&
            mainWindow_->InitCommunication()) {
            mainWindow_->ReadAllSettings();
        }
    }
    CommunicationWindow* communication = mainWindow_->Communication();
    communication->ShowChannelSelection();
    if (channel.IsUsable() || endRequested_) return;
    // Where the user picks another port or mode.
    communication->show();
    communication->raise();
    communication->activateWindow();
}

void ToolApplication::EndSoon() {
    endRequested_ = true;
    if (!mainWindow_) return;
    ownUi_->RequestCancel();
    FinishWhenIdle();
}

void ToolApplication::FinishWhenIdle() {
    // A box or dialog waiting for an answer gets "no", also one that opens on the way out.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog->isVisible() && dialog->isModal()) {
            dialog->reject();
        }
    }
    if (ownUi_->OperationRunning() || QApplication::activeModalWidget()) {
        QTimer::singleShot(20, mainWindow_.get(), [this] { FinishWhenIdle(); });
        return;
    }
    // No question: whoever sent the signal has decided.
    mainWindow_->SetCloseWithoutConfirm();
    mainWindow_->RequestClose();
}

}  // namespace vk::gui
