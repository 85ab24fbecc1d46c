#pragma once

#include <QStringList>
#include <QTabWidget>
#include <memory>
#include <string>
#include <vector>

#include "core/core_context.h"
#include "core/persist/settings_backend.h"
#include "core/protocol/parameter_reader.h"
#include "gui/app/main_window.h"
#include "gui/app/tool_application.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"

namespace vk::gui::test {

// The desktop tool as the program builds it, with a recording UserInterface and settings in memory.
struct ToolUnderTest {
    vk::test::RecordingUserInterface ui;
    MemorySettingsBackend settings;
    std::unique_ptr<ToolApplication> app;

    // Builds the tool; false when it could not be created.
    bool Create(const ProgramOptions& options) {
        app = std::make_unique<ToolApplication>(options, &ui, &settings);
        std::string error;
        return app->Create(&error);
    }
    bool CreateSimulated(const QString& model = {}) {
        ProgramOptions options;
        options.simulateModel = model;
        return Create(options);
    }
    // Shows the main window and runs its start-up sequence.
    MainWindow* Start() {
        MainWindow* window = app->Window();
        window->show();
        window->Initialize();
        return window;
    }

    CoreContext& Core() { return *app->Core(); }
    sim::SimulatedCamera& Camera() { return *app->Camera(); }
    MainWindow* Window() { return app->Window(); }

    bool HasMessage(const std::string& text) const {
        for (const auto& m : ui.messages) {
            if (m.text == text) return true;
        }
        return false;
    }
};

inline QStringList TabTitles(const QTabWidget* tabs) {
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    return titles;
}

// The queries a full read of the mode sends, in table order, for a camera of the model.
inline std::vector<std::string> FullReadQueries(CoreContext& core, int modelIndex, bool factory) {
    std::vector<std::string> lines;
    const ControlTable& table = core.exchange.Controls();
    for (int row = 0; row < table.RowCount(); ++row) {
        if (IsReadInFullRead(table, row, modelIndex, factory)) {
            lines.push_back(core.exchange.GetMnemonic(table.Row(row).commandId) + "?");
        }
    }
    return lines;
}

inline std::vector<std::string> Concat(std::vector<std::string> a,
                                       const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace vk::gui::test
