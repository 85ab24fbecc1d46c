#include "gui/comm/communication_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <vector>

#include "core/comm/init_communication.h"
#include "core/comm/port_search.h"
#include "core/core_context.h"
#include "core/persist/flash_areas.h"
#include "gui/app/app_texts.h"
#include "gui/app/window_list.h"
#include "gui/comm/communication_host.h"
#include "gui/comm/line_log_model.h"
#include "gui/comm/log_file.h"
#include "gui/res/pictures.h"
#include "gui/widgets/status_strip.h"
#include "gui/widgets/tool_button.h"

namespace vk::gui {
namespace {

// Flash area names by area number; the same texts name the areas in both lists.
constexpr std::array<const char*, 4> kAreaNames = {"Factory Data", "User 1 Data", "User 2 Data",
                                                   "User 3 Data"};
constexpr std::array<const char*, 5> kBaudRateNames = {"9600bps", "19200bps", "38400bps",
                                                       "57600bps", "115200bps"};
constexpr const char* kUnknownArea = "Unkown";
constexpr const char* kStoring = "Now, Storing camera data.";
constexpr const char* kLoading = "Now, loading camera data.";
constexpr const char* kOpening = "Now, opening the port.";
constexpr const char* kSearching = "Now, searching for the camera.";
constexpr const char* kAskingArea = "Now, asking for the current area.";
constexpr const char* kFileWritten = "Writing file has been done!";
constexpr const char* kStillOffline =
    "\nThe tool stays offline. Check the cable and the camera's power, then Reconnect again.";

constexpr int kStoreTimeoutMs = 40000;
constexpr int kLoadTimeoutMs = 10000;
constexpr int kDefaultArea = 1;

QComboBox* MakeList(const char* name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setMinimumContentsLength(16);
    return combo;
}

}  // namespace

CommunicationWindow::CommunicationWindow(CoreContext& core, CommunicationHost& host,
                                         WindowList& windows, QWidget* parent)
    : QDialog(parent), core_(core), host_(host), windows_(windows), questions_(core.ui) {
    setWindowTitle("Communication");
    setWindowIcon(ApplicationIcon());
    BuildLayout();

    core_.notifier.Register(this);
    windows_.AddWindow(this);
    OnOnlineStatusChanged(false);  // the line counts as offline until the camera answers

    category_->setCurrentIndex(static_cast<int>(ModeIndex(core_.channel.GetMode())));
    FillPortList();
    baudRate_->setCurrentIndex(SerialChannel::BaudRateIndex(core_.channel.BaudRate()));
    RefreshControlMode();
    areaList_->setCurrentIndex(kDefaultArea);
    ApplyStoreRule();
}

CommunicationWindow::~CommunicationWindow() {
    core_.notifier.Unregister(this);
    windows_.RemoveWindow(this);
}

void CommunicationWindow::BuildLayout() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(BuildPortGroup(), 0, 0, 2, 1);
    grid->addWidget(BuildLineStatusGroup(), 0, 1);
    grid->addWidget(BuildAreaGroup(), 1, 1);
    grid->addWidget(BuildFlashGroup(), 2, 0);
    grid->addWidget(BuildFilesGroup(), 2, 1);
    grid->addWidget(BuildMessageGroup(), 3, 0, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    FrameWithStatusStrip(this, core_.notifier, {12, 12, 12, 10})->addLayout(grid);
}

QWidget* CommunicationWindow::BuildPortGroup() {
    auto* group = new QGroupBox("Communication Port", this);
    category_ = MakeList("category", group);
    for (const char* name : kChannelModeNames)
        category_->addItem(name);
    portName_ = MakeList("portName", group);
    baudRate_ = MakeList("baudRate", group);
    for (const char* name : kBaudRateNames)
        baudRate_->addItem(name);
    auto_ = MakeButton("Auto", "autoSearch", group);
    baudLabel_ = new QLabel("Baud Rate", group);
    baudLabel_->setObjectName("baudRateLabel");

    auto* categoryLabel = new QLabel("Category", group);
    auto* portLabel = new QLabel("Port Name", group);
    categoryLabel->setBuddy(category_);
    portLabel->setBuddy(portName_);
    baudLabel_->setBuddy(baudRate_);

    auto* layout = new QGridLayout(group);
    layout->setHorizontalSpacing(8);
    layout->addWidget(categoryLabel, 0, 0);
    layout->addWidget(category_, 0, 1, 1, 2);
    layout->addWidget(portLabel, 1, 0);
    layout->addWidget(portName_, 1, 1);
    layout->addWidget(auto_, 1, 2);
    layout->addWidget(baudLabel_, 2, 0);
    layout->addWidget(baudRate_, 2, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
    // Tab follows the rows as they are seen.
    setTabOrder(portName_, auto_);
    setTabOrder(auto_, baudRate_);

    connect(category_, &QComboBox::activated, this, &CommunicationWindow::OnCategoryChanged);
    connect(portName_, &QComboBox::activated, this, &CommunicationWindow::OnPortChanged);
    connect(baudRate_, &QComboBox::activated, this, &CommunicationWindow::OnBaudRateChanged);
    connect(auto_, &QPushButton::clicked, this, &CommunicationWindow::AutoSearch);
    return group;
}

QWidget* CommunicationWindow::BuildLineStatusGroup() {
    auto* group = new QGroupBox("Line Status", this);
    lineIcon_ = new QLabel(group);
    lineIcon_->setObjectName("lineStatusIcon");
    lineIcon_->setFixedSize(kLineStatusSize);
    lineText_ = new QLabel(group);
    lineText_->setObjectName("lineStatusText");
    QFont bold = lineText_->font();
    bold.setBold(true);
    lineText_->setFont(bold);
    auto* layout = new QHBoxLayout(group);
    layout->setSpacing(10);
    layout->addWidget(lineIcon_);
    layout->addWidget(lineText_, 1);
    return group;
}

QWidget* CommunicationWindow::BuildAreaGroup() {
    auto* group = new QGroupBox("Current Area", this);
    areaName_ = new QLabel(group);
    areaName_->setObjectName("areaName");
    areaName_->setFrameShape(QFrame::StyledPanel);
    areaName_->setFrameShadow(QFrame::Sunken);
    areaName_->setMinimumWidth(110);
    auto* getArea = MakeButton("Get Area", "getArea", group);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(areaName_, 1);
    layout->addWidget(getArea);
    connect(getArea, &QPushButton::clicked, this, &CommunicationWindow::OnGetArea);
    return group;
}

QWidget* CommunicationWindow::BuildFlashGroup() {
    auto* group = new QGroupBox("Factory And User Setting In Camera", this);
    areaList_ = MakeList("areaList", group);
    for (const char* name : kAreaNames)
        areaList_->addItem(name);
    store_ = MakeButton("Store", "store", group);
    store_->setEnabled(false);
    auto* load = MakeButton("Load", "load", group);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(areaList_, 1);
    layout->addWidget(store_);
    layout->addWidget(load);
    connect(areaList_, &QComboBox::currentIndexChanged, this, &CommunicationWindow::ApplyStoreRule);
    connect(store_, &QPushButton::clicked, this, &CommunicationWindow::OnStore);
    connect(load, &QPushButton::clicked, this, &CommunicationWindow::OnLoad);
    return group;
}

QWidget* CommunicationWindow::BuildFilesGroup() {
    auto* group = new QGroupBox("Files", this);
    writeSettingFile_ = MakeButton("Write To File...", "writeSettingFile", group);
    readSettingFile_ = MakeButton("Read To FIle....", "readSettingFile", group);
    writeSettingFile_->setToolTip(
        "Saves every camera setting (All Data) to a camera setting file.");
    readSettingFile_->setToolTip("Loads a camera setting file into the camera.");
    writeSettingFile_->setEnabled(false);
    readSettingFile_->setEnabled(false);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(writeSettingFile_);
    layout->addWidget(readSettingFile_);
    return group;
}

void CommunicationWindow::SetSettingFileHandlers(std::function<void()> write,
                                                 std::function<void()> read) {
    const std::pair<QPushButton*, std::function<void()>> buttons[] = {
        {writeSettingFile_, std::move(write)}, {readSettingFile_, std::move(read)}};
    for (auto& [button, handler] : buttons) {
        button->disconnect(this);
        button->setEnabled(static_cast<bool>(handler));
        if (handler) connect(button, &QPushButton::clicked, this, handler);
    }
}

QWidget* CommunicationWindow::BuildMessageGroup() {
    auto* group = new QGroupBox("ControlTool Message", this);
    messages_ = new QListView(group);
    messages_->setObjectName("messageList");
    messages_->setUniformItemSizes(true);
    messages_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    messages_->setMinimumHeight(160);
    messages_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    messageModel_ = new LineLogModel(core_.logs.messages, this);
    messages_->setModel(messageModel_);
    auto* write = MakeButton("Write To File", "writeMessages", group);
    write->setToolTip("Saves the messages listed here to a text file.");
    auto* clear = MakeButton("Clear", "clearMessages", group);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(write);
    buttons->addWidget(clear);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(messages_, 1);
    layout->addLayout(buttons);
    connect(write, &QPushButton::clicked, this, &CommunicationWindow::WriteMessagesToFile);
    connect(clear, &QPushButton::clicked, this, [this] { core_.logs.messages.Clear(); });
    return group;
}

void CommunicationWindow::OnOnlineStatusChanged(bool online) {
    const QString text = online ? "Online" : "Offline";
    if (text == lineText_->text()) return;  // told again with every answer
    lineIcon_->setPixmap(LineStatusPicture(online));
    lineText_->setText(text);
}

void CommunicationWindow::FillPortList() {
    QSignalBlocker block(portName_);
    portName_->clear();
    const int count = core_.channel.GetPortCount();
    for (int i = 0; i < count; ++i) {
        const std::string name = core_.channel.GetPortName(i);
        const auto label = portLabels_.find(name);
        portName_->addItem(label != portLabels_.end() ? label->second
                                                      : QString::fromStdString(name));
        portName_->setItemData(i, QString::fromStdString(name), Qt::ToolTipRole);
    }
    const std::uint32_t current = core_.channel.CurrentPortIndex();
    if (current < static_cast<std::uint32_t>(count)) {
        portName_->setCurrentIndex(static_cast<int>(current));
    } else {
        Run(kOpening, [this](Operation&) {
            core_.channel.SelectPort(0);
            return ExchangeResult::Success();
        });
        portName_->setCurrentIndex(0);
    }
}

void CommunicationWindow::ShowChannelSelection() {
    const QSignalBlocker blockCategory(category_);
    const QSignalBlocker blockPort(portName_);
    const QSignalBlocker blockBaud(baudRate_);
    category_->setCurrentIndex(static_cast<int>(ModeIndex(core_.channel.GetMode())));
    const int port = static_cast<int>(core_.channel.CurrentPortIndex());
    if (port < portName_->count()) portName_->setCurrentIndex(port);
    baudRate_->setCurrentIndex(SerialChannel::BaudRateIndex(core_.channel.BaudRate()));
}

void CommunicationWindow::RefreshControlMode() {
    const bool factory = host_.IsFactoryMode();
    baudLabel_->setVisible(factory);
    baudRate_->setVisible(factory);
    baudLabel_->setEnabled(factory);
    baudRate_->setEnabled(factory);
    ApplyStoreRule();
}

void CommunicationWindow::ApplyStoreRule() {
    // The factory area is written only in factory mode.
    const bool allowed = !(areaList_->currentIndex() == 0 && !host_.IsFactoryMode());
    store_->setEnabled(allowed);
    store_->setToolTip(allowed ? "Stores the camera's current settings into the chosen area."
                               : "The factory area can be written only in factory mode.");
}

ExchangeResult CommunicationWindow::Run(const char* name, const OperationRunner::Body& body,
                                        bool cancellable) {
    return core_.runner.Run({name, cancellable, false}, body);
}

void CommunicationWindow::SelectChannel(const std::function<bool(SerialChannel&)>& select) {
    bool opened = false;
    Run(kOpening, [&](Operation&) {
        opened = select(core_.channel);
        return ExchangeResult::Success();
    });
    host_.ChannelChanged();
    if (!opened) {
        core_.notifier.SetOffline();  // nothing can answer on a port that is not open
        if (auto reason = OpenFailureNotice(core_.channel)) ShowNotice(core_.ui, *reason);
        return;
    }
    CheckAndReread();
}

bool CommunicationWindow::Reconnect() {
    bool opened = false;
    Run(kOpening, [&](Operation&) {
        opened = core_.channel.ReopenChannel();
        return ExchangeResult::Success();
    });
    host_.ChannelChanged();
    ShowChannelSelection();
    const std::string port = portName_->currentText().toStdString();
    if (!opened) {
        core_.notifier.SetOffline();
        const std::string& reason = core_.channel.LastOpenError();
        core_.ui.ShowMessage("Reconnect: " + port + " did not open" +
                                 (reason.empty() ? "." : ": " + reason) + kStillOffline,
                             kCommunicationErrorCaption, MessageIcon::Exclamation);
        return false;
    }
    const ExchangeResult checked =
        Run(kOpening, [this](Operation&) { return core_.modelCheck.Check(); });
    if (checked) {
        host_.ReadAllSettings();
        return true;
    }
    // A refusal has told its own text; silence and a lost line say nothing by themselves.
    if (checked.message.empty() && checked.status != ExchangeStatus::Busy) {
        core_.ui.ShowMessage("Reconnect: " + port + " opened, but the camera did not answer (" +
                                 checked.Describe() + ")." + kStillOffline,
                             kCommunicationErrorCaption, MessageIcon::Exclamation);
    }
    return false;
}

void CommunicationWindow::CheckAndReread() {
    if (Run(kOpening, [this](Operation&) { return core_.modelCheck.Check(); })) {
        host_.ReadAllSettings();
    }
}

void CommunicationWindow::OnCategoryChanged(int position) {
    const std::optional<ChannelMode> mode = ChannelModeOf(static_cast<std::uint32_t>(position));
    if (!mode) return;  // a list without a choice
    bool opened = false;
    Run(kOpening, [&](Operation&) {
        opened = core_.channel.SelectMode(*mode);
        return ExchangeResult::Success();
    });
    host_.ChannelChanged();
    if (!opened) {
        if (auto reason = OpenFailureNotice(core_.channel)) ShowNotice(core_.ui, *reason);
        core_.ui.ShowMessage(kFailedToInitialize, kProductTitle, MessageIcon::Exclamation);
    }
    FillPortList();
    CheckAndReread();
}

void CommunicationWindow::OnPortChanged(int position) {
    const auto index = static_cast<std::uint32_t>(position);
    SelectChannel([index](SerialChannel& channel) { return channel.SelectPort(index); });
}

void CommunicationWindow::OnBaudRateChanged(int position) {
    const std::uint32_t rate = SerialChannel::BaudRateFromIndex(position);
    SelectChannel([rate](SerialChannel& channel) { return channel.SelectBaudRate(rate); });
}

void CommunicationWindow::AutoSearch() {
    // What each port did is told once at the end, not in a box per port.
    PortSearchResult search;
    Run(
        kSearching,
        [&](Operation& operation) {
            search = SearchPorts(operation, core_.channel, core_.modelCheck);
            return ExchangeResult::Success();
        },
        true);
    host_.ChannelChanged();
    if (search.found) {
        core_.notifier.SetOnline();
        const QSignalBlocker block(portName_);
        portName_->setCurrentIndex(*search.found);
        host_.ReadAllSettings();
        return;
    }
    if (!search.cancelled) ShowCommunicationError(core_.ui, search.FailureText());
    core_.notifier.SetOffline();
    // The channel stays on the last index tried; the list must not claim another port.
    const QSignalBlocker block(portName_);
    const int last = static_cast<int>(core_.channel.CurrentPortIndex());
    portName_->setCurrentIndex(last < portName_->count() ? last : -1);
}

void CommunicationWindow::SetPortLabel(const std::string& device, const QString& label) {
    portLabels_[device] = label;
    const QSignalBlocker block(portName_);
    const int current = portName_->currentIndex();
    FillPortList();
    if (current < portName_->count()) portName_->setCurrentIndex(current);
}

void CommunicationWindow::ShowCurrentArea(std::uint32_t area) {
    areaName_->setText(area < kAreaNames.size() ? kAreaNames[area] : kUnknownArea);
}

void CommunicationWindow::OnGetArea() {
    std::uint32_t area = kAreaNames.size();
    const bool answered = Run(kAskingArea, [&](Operation&) {
                              const auto asked = FlashAreas(core_.exchange).QueryCurrentArea();
                              if (asked) area = asked.value;
                              return asked;
                          }).ok();
    ShowCurrentArea(answered ? area : kAreaNames.size());
}

void CommunicationWindow::OnStore() {
    const int area = areaList_->currentIndex();
    const std::string question = std::string("Store the camera's current settings into \"") +
                                 kAreaNames[std::size_t(area)] +
                                 "\"?\nWhat the area holds now is overwritten.";
    if (!questions_.Confirm("store", question, kProductTitle)) return;
    const bool stored = Run(kStoring, [&](Operation& operation) {
                            operation.SetText(kStoring);
                            return FlashAreas(core_.exchange).Store(area, kStoreTimeoutMs);
                        }).ok();
    if (!stored) return;
    ShowCurrentArea(static_cast<std::uint32_t>(area));
    core_.ui.ShowMessage(kStoreCompleted, kProductTitle, MessageIcon::Information);
}

void CommunicationWindow::OnLoad() {
    const int area = areaList_->currentIndex();
    if (Run(kLoading,
            [&](Operation&) { return FlashAreas(core_.exchange).Load(area, kLoadTimeoutMs); })) {
        ShowCurrentArea(static_cast<std::uint32_t>(area));
        host_.ReadAllSettings();
    }
}

void CommunicationWindow::WriteMessagesToFile() {
    std::string folder;
    core_.settings.ReadText(static_cast<int>(SettingIndex::CommandLogFilePath), folder);
    const QString start = QString::fromStdString(folder);
    const QString path = chooseMessageFile ? chooseMessageFile(start) : AskMessageFile(start);
    if (path.isEmpty()) return;
    if (WriteMessagesTo(path)) {
        core_.settings.WriteText(static_cast<int>(SettingIndex::CommandLogFilePath),
                                 QFileInfo(path).absolutePath().toStdString());
    }
}

QString CommunicationWindow::AskMessageFile(const QString& folder) {
    QFileDialog dialog(this, "Write To File", folder, "txt file (*.txt)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("txt");
    // Replacing a file is asked below, in the tool's own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

bool CommunicationWindow::WriteMessagesTo(const QString& path) {
#ifdef _WIN32
    constexpr const char* kLineEnd = "\r\n";  // a text file of the platform
#else
    constexpr const char* kLineEnd = "\n";
#endif
    std::string bytes;
    const auto& lines = core_.logs.messages.Lines();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        bytes += *it;
        bytes += kLineEnd;
    }
    if (!WriteLogFile(core_.ui, path, bytes)) return false;
    core_.logs.messages.Add(kFileWritten);
    return true;
}

}  // namespace vk::gui
