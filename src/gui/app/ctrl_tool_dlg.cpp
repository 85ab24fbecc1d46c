#include "app/ctrl_tool_dlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/app_texts.h"
#include "app/key_rules.h"
#include "app/main_menu.h"
#include "app/qt_ui_port.h"
#include "app/receive_timer.h"
#include "app/tab_sheet_dialog.h"
#include "comm/communication_dialog.h"
#include "core_context.h"
#include "pages/page_set.h"
#include "protocol/parameter_reader.h"
#include "res/pictures.h"
#include "widgets/status_strip.h"

namespace vk::gui {
namespace {

constexpr const char* kExitQuestion = "Are you sure to terminate the Camera Control Tool ?";
constexpr const char* kExitCaption = "Confirm";
constexpr int kAreaQueryTimeoutMs = 2500;
constexpr int kSendTimeoutMs = 2500;
constexpr QSize kPreferredSize{1180, 660};

}  // namespace

CCtrlToolDlg::CCtrlToolDlg(CoreContext& core, std::optional<std::uint32_t> startComPort,
                           QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      core_(core),
      startComPort_(startComPort),
      controlMode_(core.settings.Number(SettingIndex::ControlMode)) {
    setObjectName("mainWindow");
    setWindowIcon(ApplicationIcon());
    setWindowTitle(QString("%1  Ver %2").arg(kProductTitle, kVersionText));
    windows_.AddWindow(this);

    receiveTimer_ = new ReceiveTimer(core_.command, this);
    communication_ = new CCommunicationDialog(core_, *this, windows_, this);
    BuildLayout();
    BuildTabs();  // the listed pages decide the size the window asks for
    FitToScreen();

    // Every key of the window passes here first: the hidden mode switch and the Enter and
    // Escape rules.
    qApp->installEventFilter(this);
    core_.command.Controls().CommitAll();
}

CCtrlToolDlg::~CCtrlToolDlg() {
    qApp->removeEventFilter(this);
    binding_.reset();
    // The side windows leave the window list as they end; the list is a member, which ends
    // before the child widgets do.
    delete communication_;
    communication_ = nullptr;
    core_.channel.CloseChannel();
    core_.settings.SetNumber(SettingIndex::ControlMode, controlMode_);
}

void CCtrlToolDlg::BuildLayout() {
    menu_ = new MainMenu(this, {
                                   {kMenuExit, [this] { reject(); }},
                                   {kMenuReload, [this] { OnReload(); }},
                                   {kMenuOpenCommunication, [this] { ShowCommunication(); }},
                               });

    tab_ = new QTabWidget(this);
    tab_->setObjectName("tabControl");
    std::vector<QWidget*> pageWidgets;
    for (int i = 0; i < kPageCount && i < static_cast<int>(PageInfos().size()); ++i) {
        pages_[i] = new CTabSheetDialog(i, this, tab_);
        pages_[i]->hide();
        windows_.AddWindow(pages_[i]);
        pageWidgets.push_back(pages_[i]);
        pageCount_ = i + 1;
    }
    binding_ = std::make_unique<ControlBinding>(core_, pageWidgets);

    banner_ = new StatusStrip(core_.notifier, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menu_->Bar());
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 8, 8, 6);
    body->addWidget(tab_);
    layout->addLayout(body, 1);
    layout->addWidget(banner_);
}

void CCtrlToolDlg::FitToScreen() {
    QSize size = sizeHint().expandedTo(kPreferredSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    }
    resize(size);
}

CTabSheetDialog* CCtrlToolDlg::Page(int creationIndex) const {
    return creationIndex >= 0 && creationIndex < pageCount_ ? pages_[creationIndex] : nullptr;
}

QWidget* CCtrlToolDlg::FindControl(int controlId) const {
    return binding_ ? binding_->FindControl(controlId) : nullptr;
}

void CCtrlToolDlg::Initialize() {
    ShowCommunication();
    RefreshAllControls();
    ApplyControlMode();
    if (InitCommunication() == 1) ReadAllSettings();
    communication_->ShowChannelSelection();
    core_.command.Controls().CommitAll();
    RefreshAllControls();
}

int CCtrlToolDlg::InitCommunication() {
    SerialChannel& channel = core_.channel;
    bool opened = false;
    if (startComPort_) {
        opened = channel.OpenChannel(static_cast<std::uint32_t>(ChannelMode::ComPort),
                                     channel.BaudRate(), *startComPort_);
        startComPort_.reset();
    } else {
        opened = channel.ReopenChannel();
    }
    if (!opened) {
        core_.ui.ShowMessage(kFailedToInitialize, kProductTitle, MessageIcon::Exclamation);
        return 0;
    }
    const bool answered = core_.modelCheck.Check();
    QueryCurrentArea();
    return answered ? 1 : 0;
}

bool CCtrlToolDlg::QueryCurrentArea() {
    std::int32_t area = 0;
    if (!core_.command.QueryInt(core_.command.FindCommand("EA"), area, kAreaQueryTimeoutMs)) {
        return false;
    }
    currentArea_ = static_cast<std::uint32_t>(area);
    return true;
}

void CCtrlToolDlg::ReadAllSettings() {
    if (reading_) return;
    reading_ = true;
    QPointer<QWidget> focus = QApplication::focusWidget();
    windows_.DisableAll();

    core_.modelCheck.Check();  // the camera may have changed
    binding_->ApplyModel(core_.modelCheck.modelIndex);
    const ProgressOwner progressOver(core_.ui, this);
    ParameterReader reader(core_.command, core_.notifier, core_.ui);
    reader.ReadAllParameters(core_.modelCheck.modelIndex, IsFactoryMode());
    if (isVisible()) {
        raise();
        activateWindow();
    }
    RefreshAllControls();
    core_.command.Controls().CommitAll();
    RefreshAllControls();
    binding_->UpdateCombinedDisplays();

    windows_.EnableAll();
    if (focus) focus->setFocus();
    reading_ = false;
}

void CCtrlToolDlg::RefreshAllControls() {
    binding_->RefreshAllControls();
}

void CCtrlToolDlg::ApplyControlMode() {
    BuildTabs();
    if (QMenu* utility = menu_->TopMenu(kUtilityMenuPosition)) {
        // The menu widget's own state, which its entry in the bar follows: enabling the
        // window again after a long operation must not enable it in user mode.
        utility->setEnabled(IsFactoryMode());
        utility->menuAction()->setEnabled(IsFactoryMode());
    }
    SendChangedValues(core_.command, kSendTimeoutMs);
    core_.command.Controls().CommitAll();
    communication_->RefreshControlMode();
}

void CCtrlToolDlg::BuildTabs() {
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

void CCtrlToolDlg::ToggleControlMode() {
    controlMode_ = controlMode_ == 0 ? 1 : 0;
    ApplyControlMode();
    if (QueryCurrentArea()) ReadAllSettings();
}

void CCtrlToolDlg::OnReload() {
    QueryCurrentArea();
    ReadAllSettings();
}

void CCtrlToolDlg::ShowCommunication() {
    if (!communication_->isVisible()) {
        // Beside the main window where the screen has room, else at its right edge.
        communication_->adjustSize();
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

void CCtrlToolDlg::reject() {
    if (closeWithoutConfirm_ != 1 && !core_.ui.AskYesNo(kExitQuestion, kExitCaption)) return;
    QDialog::reject();
}

bool CCtrlToolDlg::eventFilter(QObject* watched, QEvent* event) {
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

bool CCtrlToolDlg::HandleKeyPress(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    // While a read runs the window takes no keys: no mode switch, no value from an edit.
    if (reading_ || !isEnabled()) {
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
