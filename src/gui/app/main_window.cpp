#include "gui/app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/comm/init_communication.h"
#include "core/core_context.h"
#include "core/persist/flash_areas.h"
#include "core/protocol/parameter_reader.h"
#include "gui/app/app_texts.h"
#include "gui/app/idle_reader.h"
#include "gui/app/key_rules.h"
#include "gui/app/main_menu.h"
#include "gui/app/parameter_page.h"
#include "gui/app/qt_user_interface.h"
#include "gui/app/window_geometry.h"
#include "gui/comm/communication_window.h"
#include "gui/comm/setting_file_feature.h"
#include "gui/identity/identity_feature.h"
#include "gui/lut/lut_feature.h"
#include "gui/pages/camera_actions_feature.h"
#include "gui/pages/control_binding.h"
#include "gui/pages/page_info.h"
#include "gui/res/pictures.h"
#include "gui/widgets/status_strip.h"
#include "gui/xml/xml_feature.h"

namespace vk::gui {
namespace {

constexpr const char* kExitQuestion = "Are you sure to terminate the Camera Control Tool ?";
constexpr const char* kExitCaption = "Confirm";
constexpr const char* kConnecting = "Now, connecting to the camera.";
constexpr const char* kOfflineReload =
    "The tool is offline: the camera did not answer, so nothing can be read.\n"
    "Reconnect to the same port now?";
constexpr QSize kPreferredSize{1180, 660};

}  // namespace

MainWindow::MainWindow(CoreContext& core, QtUserInterface& desktop,
                       std::optional<std::uint32_t> startComPort, QWidget* parent)
    : QMainWindow(parent),
      core_(core),
      desktop_(desktop),
      startComPort_(startComPort),
      controlMode_(core.settings.Number(SettingIndex::ControlMode)) {
    // The mode this run uses is written now and at each toggle, never as the window ends.
    core_.settings.SetNumber(SettingIndex::ControlMode, controlMode_);
    setObjectName("mainWindow");
    setWindowIcon(ApplicationIcon());
    setWindowTitle(QString("%1  Ver %2").arg(kProductTitle, kVersionText));
    windows_.AddWindow(this);
    desktop_.SetWindowList(&windows_);

    idleReader_ = new IdleReader(core_.exchange, core_.channel, core_.ui, this);
    // A window of its own beside this one, not one kept above it.
    communication_ = new CommunicationWindow(core_, *this, windows_, nullptr);
    places_.push_back(new WindowGeometry(*communication_, core_.store, "Communication"));
    BuildLayout();
    BuildTabs();  // the listed pages decide the size the window asks for
    FitToScreen();
    places_.push_back(new WindowGeometry(*this, core_.store, "Main"));
    AttachSettingFiles(*this);
    AttachLutFeature(*this);
    AttachCameraActions(*this);
    AttachIdentityFeature(*this);
    AttachXmlFeature(*this);

    // Every key of the window passes here first: the hidden mode switch and the Enter and
    // Escape rules.
    qApp->installEventFilter(this);
    qApp->installEventFilter(new ScreenFitter(this));
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // Hidden first, so that both windows keep their places for the next run.
    hide();
    communication_->hide();
    desktop_.SetWindowList(nullptr);
    binding_.reset();
    // The side windows leave the window list as they end; the list is a member, which ends
    // before the child widgets do.
    delete communication_;
    communication_ = nullptr;
    core_.channel.CloseChannel();
}

void MainWindow::BuildLayout() {
    menu_ = new MainMenu(this);
    menu_->SetHandler(kMenuExit, [this] { close(); });
    menu_->SetHandler(kMenuReload, [this] { OnReload(); });
    menu_->SetHandler(kMenuReconnect, [this] { Reconnect(); });
    menu_->SetHandler(kMenuOpenCommunication, [this] { ShowCommunication(); });

    tab_ = new QTabWidget(this);
    tab_->setObjectName("tabControl");
    std::vector<QWidget*> pageWidgets;
    for (int i = 0; i < kPageCount && i < static_cast<int>(PageInfos().size()); ++i) {
        pages_[i] = new ParameterPage(i, this, tab_);
        pages_[i]->hide();
        windows_.AddWindow(pages_[i]);
        pageWidgets.push_back(pages_[i]);
        pageCount_ = i + 1;
    }
    binding_ = std::make_unique<ControlBinding>(core_, pageWidgets);
    connect(binding_.get(), &ControlBinding::actionRequested, this, [this](int controlId) {
        const auto it = actionHandlers_.find(controlId);
        if (it != actionHandlers_.end()) it->second();
    });

    banner_ = new StatusStrip(core_.notifier, this);

    setMenuBar(menu_->Bar());
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 6);
    body->addWidget(tab_);
    layout->addLayout(body, 1);
    layout->addWidget(banner_);
    setCentralWidget(central);
}

void MainWindow::FitToScreen() {
    QSize size = sizeHint().expandedTo(kPreferredSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    }
    resize(size);
}

ParameterPage* MainWindow::Page(int creationIndex) const {
    return creationIndex >= 0 && creationIndex < pageCount_ ? pages_[creationIndex] : nullptr;
}

QWidget* MainWindow::FindControl(int controlId) const {
    return binding_ ? binding_->FindControl(controlId) : nullptr;
}

void MainWindow::SetActionHandler(int controlId, std::function<void()> handler) {
    actionHandlers_[controlId] = std::move(handler);
    binding_->SetActionAvailable(controlId, true);
}

void MainWindow::Initialize() {
    ShowCommunication();
    RefreshAllControls();
    ApplyControlMode();
    if (InitCommunication()) ReadAllSettings();
    communication_->ShowChannelSelection();
    RefreshAllControls();
}

bool MainWindow::InitCommunication() {
    ConnectResult connected;
    core_.runner.Run({kConnecting}, [&](Operation&) {
        connected = vk::InitCommunication(core_, currentArea_, startComPort_);
        // Told while the start-up still runs: a stop signal then answers every box.
        for (const Notice& notice : connected.failure)
            ShowNotice(core_.ui, notice);
        return ExchangeResult::Success();
    });
    startComPort_.reset();
    ChannelChanged();
    if (connected.answered) SetCurrentArea(currentArea_);
    return connected.answered;
}

bool MainWindow::QueryCurrentArea() {
    std::uint32_t area = currentArea_;
    const bool answered = core_.runner
                              .Run({kConnecting},
                                   [&](Operation&) {
                                       const auto asked =
                                           FlashAreas(core_.exchange).QueryCurrentArea();
                                       if (asked) area = asked.value;
                                       return asked;
                                   })
                              .ok();
    if (answered) SetCurrentArea(area);
    return answered;
}

void MainWindow::SetCurrentArea(std::uint32_t area) {
    currentArea_ = area;
    communication_->ShowCurrentArea(area);
}

bool MainWindow::OperationRunning() const {
    return core_.runner.Running();
}

void MainWindow::ChannelChanged() {
    idleReader_->FollowChannel();
}

void MainWindow::ReadAllSettings() {
    const ProgressOwner progressOver(desktop_, this);
    std::string summary;
    core_.runner.Run({kFullReadProgressText, true, true, true}, [&](Operation& operation) {
        core_.modelCheck.Check();  // the camera may have changed
        binding_->ApplyModel(core_.modelCheck.modelIndex);
        const FullReadResult read = ParameterReader().ReadAllParameters(
            operation, core_.modelCheck.modelIndex, IsFactoryMode());
        summary = FullReadSummary(core_.exchange, read);
        return read.outcome;
    });
    // One box for the whole read, however many rows failed.
    if (!summary.empty()) ShowCommunicationError(core_.ui, summary);
    if (isVisible()) {
        raise();
        activateWindow();
    }
    RefreshAllControls();
    binding_->UpdateCombinedDisplays();
}

void MainWindow::RefreshAllControls() {
    binding_->RefreshAllControls();
}

void MainWindow::ApplyControlMode() {
    BuildTabs();
    binding_->SetFactoryMode(IsFactoryMode());
    menu_->SetMenuEnabled(kUtilityMenuPosition, IsFactoryMode(), "Needs factory mode.");
    communication_->RefreshControlMode();
}

void MainWindow::BuildTabs() {
    const QSignalBlocker block(tab_);
    tab_->clear();
    for (int i = 0; i < pageCount_; ++i) {
        if (!IsFactoryMode() && pages_[i]->FactoryOnly()) {
            pages_[i]->hide();
            continue;
        }
        const int position = tab_->addTab(pages_[i], pages_[i]->Title());
        tab_->tabBar()->setTabData(position, i);
    }
    tab_->setCurrentIndex(0);
}

void MainWindow::ToggleControlMode() {
    controlMode_ = controlMode_ == 0 ? 1 : 0;
    // Written as it changes: the next run starts in this mode.
    core_.settings.SetNumber(SettingIndex::ControlMode, controlMode_);
    ApplyControlMode();
    if (QueryCurrentArea()) ReadAllSettings();
}

void MainWindow::SwitchPage(int step) {
    const int count = tab_->count();
    if (count < 2) return;
    tab_->setCurrentIndex((tab_->currentIndex() + step + count) % count);
}

void MainWindow::OnReload() {
    // Offline, every row would wait out its time-out: the tool says so and offers the
    // reconnect instead.
    if (!core_.notifier.Current()) {
        if (core_.ui.AskYesNo(kOfflineReload, kProductTitle)) Reconnect();
        return;
    }
    QueryCurrentArea();
    ReadAllSettings();
}

void MainWindow::Reconnect() {
    communication_->Reconnect();
}

void MainWindow::ShowCommunication() {
    if (!communicationPlaced_) {
        communicationPlaced_ = true;
        // Beside the main window where the screen has room, else at its right edge.
        communication_->resize(communication_->sizeHint());
        FitOnScreen(*communication_);
        const QRect main = frameGeometry();
        QPoint at = main.topRight() + QPoint(8, 0);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            if (at.x() + communication_->width() > area.right()) {
                at.setX(area.right() - communication_->width() - 8);
            }
            at.setY(std::max(at.y(), area.top()));
        }
        communication_->move(at);
    }
    communication_->show();
    communication_->raise();
    communication_->activateWindow();
}

bool MainWindow::RequestClose() {
    if (ended_) return true;
    // While the camera is busy the request stops the operation instead.
    if (OperationRunning()) {
        core_.ui.RequestCancel();
        return false;
    }
    if (!closeWithoutConfirm_ && !core_.ui.AskYesNo(kExitQuestion, kExitCaption)) return false;
    ended_ = true;
    for (WindowGeometry* place : places_)
        place->Save();
    communication_->hide();
    hide();
    emit ended();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (RequestClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        lastKeyPress_ = nullptr;
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || target->window() != this) return false;
    if (event == lastKeyPress_ && lastKeyTarget_ && lastKeyTarget_->parentWidget() == target) {
        lastKeyTarget_ = target;  // the same press, passed on to the parent
        return false;
    }
    lastKeyPress_ = event;
    lastKeyTarget_ = target;
    const auto* key = static_cast<QKeyEvent*>(event);
    return HandleKeyPress(target, key->key(), key->modifiers());
}

bool MainWindow::HandleKeyPress(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    // While an operation runs the window takes no keys: no mode switch, no value from an edit.
    if (OperationRunning() || !isEnabled()) {
        modeSwitch_.Disarm();
        return false;
    }
    const auto step = modeSwitch_.OnKeyPress(key, modifiers.testFlag(Qt::ShiftModifier),
                                             modifiers.testFlag(Qt::ControlModifier));
    if (step == HiddenModeSwitch::Result::Consumed) return true;
    if (step == HiddenModeSwitch::Result::Completed) {
        ToggleControlMode();
        return true;
    }
    if (const int step = PageStepOf(key, modifiers.testFlag(Qt::ControlModifier))) {
        SwitchPage(step);
        return true;
    }
    switch (EnterEscapeRule(target, key)) {
        case KeyRule::PassOn:
            return false;
        case KeyRule::Swallow:
            return true;
        case KeyRule::CommitEdit:
            binding_->CommitFocusedEdit();
            return true;
    }
    return false;
}

}  // namespace vk::gui
