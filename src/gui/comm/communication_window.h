#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "core/comm/online_status_notifier.h"
#include "core/operation_runner.h"
#include "gui/app/session_questions.h"

class QComboBox;
class QLabel;
class QListView;
class QPushButton;

namespace vk {
class CoreContext;
class SerialChannel;
}  // namespace vk

namespace vk::gui {

class CommunicationHost;
class LineLogModel;
class WindowList;

// The connection window: transport, port and baud rate, automatic search, line status,
// flash areas, and the list of every line exchanged with the camera.
class CommunicationWindow : public QDialog, public OnlineStatusObserver {
    Q_OBJECT
public:
    CommunicationWindow(CoreContext& core, CommunicationHost& host, WindowList& windows,
                        QWidget* parent = nullptr);
    ~CommunicationWindow() override;

    void OnOnlineStatusChanged(bool online) override;

    // Rebuilds the port list from the channel; opens port 0 when the channel's port is not
    // in the list.
    void FillPortList();
    // Shows the channel's mode, port and baud rate without changing anything.
    void ShowChannelSelection();
    // Adapts the controls to user or factory mode.
    void RefreshControlMode();
    // Shows the area the camera runs from; an area outside the list shows as unknown.
    void ShowCurrentArea(std::uint32_t area);
    // Shows the port with this device path under another name (the simulated camera's).
    void SetPortLabel(const std::string& device, const QString& label);

    // Opens the same channel again and, when the camera answers, reads everything, as a new
    // selection of the port does; says what failed otherwise. True when the camera answered.
    bool Reconnect();

    // Saves the message list, oldest line first, to a file the user picks.
    void WriteMessagesToFile();
    // Saves the message list to this file, asking before replacing one.
    bool WriteMessagesTo(const QString& path);

    // The setting-file buttons start these; until they are set the buttons stay greyed.
    void SetSettingFileHandlers(std::function<void()> write, std::function<void()> read);

    // Picks the file for the message list (empty: cancelled); starts in `folder`. The
    // default asks with a save dialog.
    std::function<QString(const QString& folder)> chooseMessageFile;

private:
    void BuildLayout();
    QWidget* BuildPortGroup();
    QWidget* BuildLineStatusGroup();
    QWidget* BuildAreaGroup();
    QWidget* BuildFilesGroup();
    QWidget* BuildFlashGroup();
    QWidget* BuildMessageGroup();

    void OnCategoryChanged(int position);
    void OnPortChanged(int position);
    void OnBaudRateChanged(int position);
    void AutoSearch();
    void OnGetArea();
    void OnStore();
    void OnLoad();
    void ApplyStoreRule();
    // Every camera operation of this window goes through the core's runner.
    ExchangeResult Run(const char* name, const OperationRunner::Body& body,
                       bool cancellable = false);
    // Opens what `select` picks; when it opened, checks the model and reads everything.
    void SelectChannel(const std::function<bool(SerialChannel&)>& select);
    // After the channel changed: checks the model and reads everything when it answered.
    void CheckAndReread();
    QString AskMessageFile(const QString& folder);

    CoreContext& core_;
    CommunicationHost& host_;
    WindowList& windows_;

    QComboBox* category_ = nullptr;
    QComboBox* portName_ = nullptr;
    QLabel* baudLabel_ = nullptr;
    QComboBox* baudRate_ = nullptr;
    QPushButton* auto_ = nullptr;
    QLabel* lineIcon_ = nullptr;
    QLabel* lineText_ = nullptr;
    QLabel* areaName_ = nullptr;
    QComboBox* areaList_ = nullptr;
    QPushButton* store_ = nullptr;
    QPushButton* writeSettingFile_ = nullptr;
    QPushButton* readSettingFile_ = nullptr;
    QListView* messages_ = nullptr;
    std::map<std::string, QString> portLabels_;
    SessionQuestions questions_;
    LineLogModel* messageModel_ = nullptr;
};

}  // namespace vk::gui
