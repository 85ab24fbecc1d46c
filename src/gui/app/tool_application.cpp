#include "app/tool_application.h"

#include <QApplication>

#include "app/main_window.h"
#include "app/program_settings.h"
#include "app/qt_ui_port.h"
#include "app/session_settings.h"
#include "comm/communication_window.h"
#include "core_context.h"
#include "sim/simulated_camera.h"

namespace vk::gui {

ToolApplication::ToolApplication(ProgramOptions options, UiPort* ui, SettingsBackend* settings)
    : options_(std::move(options)) {
    if (!settings) ownSettings_ = CreateProgramSettings();
    settings_ = settings ? settings : ownSettings_.get();
    // A given port (tests) hears what a person would be told; the windows still behave as
    // the desktop's own.
    ownUi_ = std::make_unique<QtUiPort>(ui);
    ui_ = ownUi_.get();
}

ToolApplication::~ToolApplication() {
    // The window closes the channel and keeps the mode; the core then writes the channel
    // selection and the normal end.
    mainWindow_.reset();
    core_.reset();
    camera_.reset();
}

bool ToolApplication::Create(std::string* error) {
    std::optional<std::string> device;
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
    } else if (options_.port) {
        device = options_.port->toStdString();
    }

    if (device) {
        sessionSettings_ = std::make_unique<SessionChannelSettings>(*settings_);
        settings_ = sessionSettings_.get();
    }
    core_ = std::make_unique<CoreContext>(*ui_, *settings_);
    std::optional<std::uint32_t> startPort;
    if (device) {
        // The named device becomes the first COM port and is opened at start.
        core_->port.PinPort(*device);
        core_->channel.SetMode(static_cast<std::uint32_t>(ChannelMode::ComPort));
        startPort = 0;
    }
    mainWindow_ = std::make_unique<MainWindow>(*core_, startPort);
    if (camera_) mainWindow_->Communication()->SetPortLabel(*device, "Simulated camera");
    ownUi_->SetMainWindow(mainWindow_.get());
    return true;
}

int ToolApplication::Run() {
    std::string error;
    if (!Create(&error)) {
        ui_->ShowMessage(error, "", MessageIcon::Stop);
        return 1;
    }
    QObject::connect(mainWindow_.get(), &QDialog::finished, qApp, &QCoreApplication::quit);
    mainWindow_->show();
    mainWindow_->Initialize();
    if (!mainWindow_->isVisible()) return 0;  // ended during start-up
    return QApplication::exec();
}

}  // namespace vk::gui
