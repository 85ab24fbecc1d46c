#pragma once

#include <QTabWidget>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "core/core_context.h"
#include "core/persist/settings_backend.h"
#include "core/protocol/parameter_reader.h"
#include "gui/pages/control_binding.h"
#include "gui/pages/page_info.h"
#include "gui/pages/page_table.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"

namespace vk::test {

inline constexpr const char* kMonoModel = "VK-4100M-PMCL";
inline constexpr const char* kColourModel = "VK-4100C-PMCL";

// The nine pages in a tab window, bound to a fresh core that talks to a simulated camera
// over a real pseudo-terminal.
class PageRig {
public:
    explicit PageRig(const std::string& model = kMonoModel) {
        sim::SimOptions options;
        options.model = model;
        camera = std::make_unique<sim::SimulatedCamera>(options);
        for (std::size_t i = 0; i < gui::PageInfos().size(); ++i) {
            auto* page = new QWidget;
            gui::BuildPage(static_cast<int>(i), page);
            tabs.addTab(page, gui::PageInfos()[i].title);
            pages.push_back(page);
        }
        binding = std::make_unique<gui::ControlBinding>(core, pages);
    }

    // Starts the camera, opens the channel and checks the model. False when any step fails.
    bool Connect() {
        std::string error;
        if (!camera->Start(&error)) return false;
        core.port.PinPort(camera->DevicePath());
        if (!core.channel.OpenChannel(ChannelMode::ComPort, 115200, 0)) return false;
        return core.modelCheck.Check().ok();
    }

    // What the main window does on a read: adapt to the model, read, show.
    void ReadAll(bool factoryMode = true) {
        binding->ApplyModel(core.modelCheck.modelIndex);
        core.runner.Run({kFullReadProgressText, true, true}, [&](Operation& operation) {
            return ParameterReader()
                .ReadAllParameters(operation, core.modelCheck.modelIndex, factoryMode)
                .outcome;
        });
        binding->RefreshAllControls();
        binding->UpdateCombinedDisplays();
    }

    bool ShowActive() {
        tabs.resize(1300, 640);
        tabs.show();
        tabs.activateWindow();
        return QTest::qWaitForWindowActive(&tabs);
    }

    void ShowPageOf(QWidget* control) {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (pages[i]->isAncestorOf(control)) tabs.setCurrentIndex(static_cast<int>(i));
        }
    }

    template <class T>
    T* Control(int controlId) {
        return qobject_cast<T*>(binding->FindControl(controlId));
    }

    const ControlTable& Table() { return core.exchange.Controls(); }
    std::optional<std::int32_t> CameraValue(ControlId id) {
        return core.exchange.Values().CameraValue(id);
    }

    std::unique_ptr<sim::SimulatedCamera> camera;
    RecordingUserInterface ui;
    MemorySettingsBackend backend;
    CoreContext core{ui, backend};
    QTabWidget tabs;
    std::vector<QWidget*> pages;  // owned by tabs
    std::unique_ptr<gui::ControlBinding> binding;
};

}  // namespace vk::test
