#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "gui/app/hidden_mode_switch.h"
#include "gui/app/window_list.h"
#include "gui/comm/communication_host.h"

class QTabWidget;

namespace vk {
class CoreContext;
}

namespace vk::gui {

class CommunicationWindow;
class QtUserInterface;
class ParameterPage;
class ControlBinding;
class IdleReader;
class MainMenu;
class StatusStrip;
class WindowGeometry;

// The main window: the menu, the tab control with the parameter pages, the status strip.
// It connects to the camera at start, reads every parameter, switches between user and
// factory mode, and owns the side windows.
class MainWindow : public QMainWindow, public CommunicationHost {
    Q_OBJECT
public:
    static constexpr int kPageCount = 9;

    // startComPort: a COM port index to open at start instead of the stored selection (the
    // simulated camera's or one named on the command line).
    // desktop: the core's user interface as the desktop's own (progress owners, the window
    // list an operation switches off).
    MainWindow(CoreContext& core, QtUserInterface& desktop,
               std::optional<std::uint32_t> startComPort = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence: show the values, apply the mode, connect and read the camera.
    void Initialize();

    // Opens the channel and checks the model; true when the camera answered.
    bool InitCommunication();
    // Reads every parameter of the mode, with progress and Cancel.
    void ReadAllSettings() override;
    // The idle reader follows the channel's mode.
    void ChannelChanged() override;
    void RefreshAllControls();
    void ApplyControlMode();
    void ToggleControlMode();

    bool IsFactoryMode() const override { return controlMode_ == 1; }
    std::uint32_t ControlMode() const { return controlMode_; }
    std::uint32_t CurrentArea() const { return currentArea_; }
    // The area the camera runs from after a load or a store.
    void SetCurrentArea(std::uint32_t area);
    // After a camera reset the tool closes without asking.
    void SetCloseWithoutConfirm() { closeWithoutConfirm_ = true; }
    // The one way the tool ends (Exit, Escape, the close box, a termination signal): while
    // an operation runs it asks the operation to stop instead; otherwise it asks the user
    // (unless told not to), keeps the windows' places and ends. True when it ended.
    bool RequestClose();
    bool Ended() const { return ended_; }
    // F5 and Settings > Reconnect: the same port opened again, then the start-up read.
    void Reconnect();

    // The page control with that id, or null.
    QWidget* FindControl(int controlId) const;
    // A page push button starts `handler`; until a handler is set the button stays greyed.
    // Each feature sets the handlers of its buttons (and of its menu items, Menu()) when it
    // is attached to the window.
    void SetActionHandler(int controlId, std::function<void()> handler);
    CoreContext& Core() const { return core_; }
    QtUserInterface& Desktop() const { return desktop_; }

    CommunicationWindow* Communication() const { return communication_; }
    WindowList& Windows() { return windows_; }
    QTabWidget* Tabs() const { return tab_; }
    MainMenu* Menu() const { return menu_; }
    ParameterPage* Page(int creationIndex) const;
    ControlBinding* Binding() const { return binding_.get(); }

signals:
    // The tool has ended: the application leaves its event loop.
    void ended();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape that no control took asks to end the tool, as Exit does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    void BuildTabs();
    void FitToScreen();
    bool HandleKeyPress(QWidget* target, int key, Qt::KeyboardModifiers modifiers);
    // The next (+1) or previous (-1) page, round the end.
    void SwitchPage(int step);
    bool QueryCurrentArea();
    bool OperationRunning() const;
    void OnReload();
    void ShowCommunication();

    CoreContext& core_;
    QtUserInterface& desktop_;
    std::optional<std::uint32_t> startComPort_;
    WindowList windows_;
    MainMenu* menu_ = nullptr;
    QTabWidget* tab_ = nullptr;
    StatusStrip* banner_ = nullptr;
    std::array<ParameterPage*, kPageCount> pages_{};
    int pageCount_ = 0;
    std::unique_ptr<ControlBinding> binding_;
    CommunicationWindow* communication_ = nullptr;
    IdleReader* idleReader_ = nullptr;

    std::uint32_t controlMode_ = 0;
    std::uint32_t currentArea_ = 0;
    bool closeWithoutConfirm_ = false;
    bool ended_ = false;
    std::vector<WindowGeometry*> places_;
    bool communicationPlaced_ = false;  // beside this window, or where it was last time
    HiddenModeSwitch modeSwitch_;
    std::map<int, std::function<void()>> actionHandlers_;
    // A key press is offered to every parent in turn; it is looked at only once.
    const QEvent* lastKeyPress_ = nullptr;
    QPointer<QWidget> lastKeyTarget_;
};

}  // namespace vk::gui
