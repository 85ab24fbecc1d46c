#include "gui/comm/terminal_window.h"

#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>
#include <optional>

#include "core/comm/terminal_line.h"
#include "core/core_context.h"
#include "gui/app/app_texts.h"
#include "gui/app/window_list.h"
#include "gui/comm/line_log_model.h"
#include "gui/comm/log_file.h"
#include "gui/res/pictures.h"
#include "gui/widgets/status_strip.h"
#include "gui/widgets/tool_button.h"

namespace vk::gui {
namespace {

constexpr const char* kSending = "Now, sending the command.";
constexpr const char* kFileWritten = "Writing file has been done !";

// Every mnemonic of the command table, for completing what is typed.
QStringList Mnemonics(const CommandTable& table) {
    QStringList names;
    for (CommandId id = 0; id < table.Count(); ++id) {
        const std::string& m = table.Entry(id).mnemonic;
        if (!m.empty()) names << QString::fromStdString(m);
    }
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    return names;
}

}  // namespace

TerminalWindow::TerminalWindow(CoreContext& core, WindowList& windows, QWidget* parent)
    : QDialog(parent), core_(core) {
    setObjectName("terminalWindow");
    setWindowTitle("RS-232C TERMINAL");
    setWindowIcon(ApplicationIcon());
    setSizeGripEnabled(true);
    BuildLayout();
    windows.AddWindow(this);
    resize(620, 440);
}

void TerminalWindow::BuildLayout() {
    edit_ = new QLineEdit(this);
    edit_->setObjectName("commandText");
    edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit_->installEventFilter(this);
    auto* completer = new QCompleter(Mnemonics(core_.exchange.Commands()), edit_);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    edit_->setCompleter(completer);

    log_ = new QListView(this);
    log_->setObjectName("terminalLog");
    log_->setUniformItemSizes(true);
    log_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    log_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    model_ = new LineLogModel(core_.logs.terminal, this);
    log_->setModel(model_);

    auto* close = MakeButton("Close", "close", this);
    auto* send = MakeButton("Send", "send", this);
    auto* clear = MakeButton("Clear", "clear", this);
    auto* save = MakeButton("Save", "save", this);
    send->setDefault(true);  // Enter in the edit sends

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton* b : {close, send, clear, save})
        buttons->addWidget(b);
    buttons->addStretch(1);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(edit_, 0, 0);
    grid->addWidget(log_, 1, 0);
    grid->addLayout(buttons, 0, 1, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);

    FrameWithStatusStrip(this, core_.notifier, {10, 10, 10, 8})->addLayout(grid);

    connect(send, &QPushButton::clicked, this, &TerminalWindow::Send);
    connect(clear, &QPushButton::clicked, this, [this] { core_.logs.terminal.Clear(); });
    connect(save, &QPushButton::clicked, this, &TerminalWindow::SaveLog);
    connect(close, &QPushButton::clicked, this, &TerminalWindow::hide);
}

void TerminalWindow::Send() {
    const std::string text = edit_->text().toStdString();
    history_.Add(text);
    core_.runner.Run({kSending, true, false, true}, [&](Operation& operation) {
        return SendTerminalLine(operation.exchange, text);
    });
    // Kept for another send, but selected: a typed command replaces it.
    edit_->setFocus();
    edit_->selectAll();
}

bool TerminalWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        std::optional<std::string> shown;
        if (key == Qt::Key_Up) {
            shown = history_.Older(edit_->text().toStdString());
        } else if (key == Qt::Key_Down) {
            shown = history_.Newer();
        } else {
            return false;
        }
        if (shown) edit_->setText(QString::fromStdString(*shown));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TerminalWindow::SaveLog() {
    std::string folder;
    core_.settings.ReadText(static_cast<int>(SettingIndex::CommandLogFilePath), folder);
    const QString start = QString::fromStdString(folder);
    const QString path = chooseLogFile ? chooseLogFile(start) : AskLogFile(start);
    if (path.isEmpty()) return;
    SaveLogTo(path);
}

QString TerminalWindow::AskLogFile(const QString& folder) {
    QFileDialog dialog(this, "Save", folder, "CSV file (*.csv)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("csv");
    // Replacing a file is asked below, in the tool's own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

bool TerminalWindow::SaveLogTo(QString path) {
    if (QFileInfo(path).suffix().isEmpty()) path += path.endsWith('.') ? "csv" : ".csv";
    std::string bytes;
    for (const std::string& line : core_.logs.terminal.Lines()) {
        bytes += line;
        bytes += '\n';
    }
    if (!WriteLogFile(core_.ui, path, bytes)) return false;
    core_.logs.terminal.Add(kFileWritten);
    core_.settings.WriteText(static_cast<int>(SettingIndex::CommandLogFilePath),
                             QFileInfo(path).absolutePath().toStdString());
    return true;
}

}  // namespace vk::gui
