#pragma once

#include <QDialog>
#include <functional>

#include "gui/comm/send_history.h"

class QLineEdit;
class QListView;
class QPushButton;

namespace vk {
class CoreContext;
}

namespace vk::gui {

class LineLogModel;
class WindowList;

// The raw view of the serial traffic: every line sent and received, stamped, newest on top;
// a line typed by hand can be sent, the log cleared and saved. Closing only hides it; the
// log goes on filling while it is hidden.
class TerminalWindow : public QDialog {
    Q_OBJECT
public:
    TerminalWindow(CoreContext& core, WindowList& windows, QWidget* parent = nullptr);

    // Sends the edit's text as typed; the text stays for the next send.
    void Send();
    // Saves the log, newest line first, to a file the user picks.
    void SaveLog();
    // Saves the log to this file (".csv" added when it has no extension), asking before
    // replacing one; true when written.
    bool SaveLogTo(QString path);

    // Picks the file for the log (empty: cancelled); starts in `folder`. The default asks
    // with a save dialog.
    std::function<QString(const QString& folder)> chooseLogFile;

    QLineEdit* CommandEdit() const { return edit_; }
    QListView* LogView() const { return log_; }
    LineLogModel* LogModel() const { return model_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    QString AskLogFile(const QString& folder);

    CoreContext& core_;
    QLineEdit* edit_ = nullptr;
    QListView* log_ = nullptr;
    LineLogModel* model_ = nullptr;
    SendHistory history_;
};

}  // namespace vk::gui
