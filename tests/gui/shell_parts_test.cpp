// The small parts of the desktop shell: window list, progress window, the Qt UserInterface, the
// status strip, the idle reader and the command line.
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "cl/cl_test_support.h"
#include "core/core_context.h"
#include "gui/app/idle_reader.h"
#include "gui/app/program_options.h"
#include "gui/app/progress_window.h"
#include "gui/app/qt_user_interface.h"
#include "gui/app/window_list.h"
#include "gui/widgets/status_strip.h"
#include "support/pty_peer.h"
#include "support/recording_user_interface.h"

using namespace vk;
using namespace vk::gui;

namespace {

struct SeenBox {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    bool hasYesNo = false;
};

// Answers the next message box with `button` once it is open, noting what it showed.
void AnswerNextBox(SeenBox& seen, QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            // Not open yet: look again on the next turn of the loop.
            AnswerNextBox(seen, button);
            return;
        }
        seen = {box->icon(), box->windowTitle(), box->text(),
                box->button(QMessageBox::Yes) && box->button(QMessageBox::No)};
        box->button(button)->click();
    });
}

}  // namespace

class ShellPartsTest : public QObject {
    Q_OBJECT

private slots:
    void windowListSwitchesItsWindowsTogether();
    void progressWindowHoldsItsOwnerDisabled();
    void uiPortShowsBoxesWithIconAndCaption();
    void statusStripFollowsTheNotifier();
    void idleReaderTakesLinesOnlyWhileNoOperationOwnsTheLine();
    void idleReaderLooksAtACameraLinkLibraryAndFollowsTheMode();
    void programOptions();
};

void ShellPartsTest::windowListSwitchesItsWindowsTogether() {
    WindowList list;
    QWidget a, b;
    auto* c = new QWidget;
    list.AddWindow(&a);
    list.AddWindow(&b);
    list.AddWindow(&b);
    list.AddWindow(c);
    list.AddWindow(nullptr);
    QCOMPARE(list.Count(), 4);

    list.DisableAll();
    QVERIFY(!a.isEnabled() && !b.isEnabled() && !c->isEnabled());
    delete c;  // a window that went away is skipped
    list.EnableAll();
    QVERIFY(a.isEnabled() && b.isEnabled());
    QCOMPARE(list.Count(), 3);

    list.RemoveWindow(&b);  // every entry of it
    QCOMPARE(list.Count(), 1);
    list.DisableAll();
    QVERIFY(!a.isEnabled() && b.isEnabled());
}

void ShellPartsTest::progressWindowHoldsItsOwnerDisabled() {
    QWidget owner;
    auto* child = new QPushButton("x", &owner);
    owner.show();
    ProgressWindow progress;

    progress.SetProgress(40);  // not shown: ignored
    QCOMPARE(progress.Value(), 0);

    progress.ShowProgress(child, "Now, reading camera settings.");
    QVERIFY(progress.isVisible());
    QVERIFY(progress.isEnabled());
    QVERIFY(!owner.isEnabled());
    QCOMPARE(progress.Message(), QString("Now, reading camera settings."));
    progress.SetProgress(42);
    QCOMPARE(progress.Value(), 42);
    QTest::keyClick(&progress, Qt::Key_Escape);  // the user cannot close it
    QVERIFY(progress.isVisible());

    progress.CloseProgress();
    QVERIFY(!progress.isVisible());
    QCOMPARE(progress.Value(), 100);
    QVERIFY(owner.isEnabled());
    progress.SetProgress(10);
    QCOMPARE(progress.Value(), 100);

    // An owner that was already disabled stays disabled.
    owner.setEnabled(false);
    progress.ShowProgress(&owner, "again");
    progress.CloseProgress();
    QVERIFY(!owner.isEnabled());
}

void ShellPartsTest::uiPortShowsBoxesWithIconAndCaption() {
    QtUserInterface ui;
    QWidget main;
    main.show();
    ui.SetMainWindow(&main);

    SeenBox seen;
    AnswerNextBox(seen, QMessageBox::Ok);
    ui.ShowMessage("Failed to initialize!", "", MessageIcon::Exclamation);
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.caption, QString("VK-4100 Control Tool"));
    QCOMPARE(seen.text, QString("Failed to initialize!"));

    AnswerNextBox(seen, QMessageBox::Yes);
    QVERIFY(ui.AskYesNo("Are you sure to terminate the Camera Control Tool ?", "Confirm"));
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.caption, QString("Confirm"));
    QVERIFY(seen.hasYesNo);

    ui.ShowProgress("Now, Storing camera data.");
    QVERIFY(ui.Progress() && ui.Progress()->isVisible());
    QVERIFY(!main.isEnabled());
    ui.SetProgress(70);
    QCOMPARE(ui.Progress()->Value(), 70);
    ui.CloseProgress();
    QVERIFY(main.isEnabled());

    ui.SetWaitCursor(true);
    ui.SetWaitCursor(true);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetWaitCursor(false);
    ui.SetWaitCursor(false);
    ui.SetWaitCursor(false);  // one too many does no harm
    QVERIFY(!QApplication::overrideCursor());
}

void ShellPartsTest::statusStripFollowsTheNotifier() {
    OnlineStatusNotifier notifier;
    notifier.SetOnline();
    auto strip = std::make_unique<StatusStrip>(notifier);
    QCOMPARE(strip->Shown(), 1);  // what was last shown, from the start
    notifier.SetOffline();
    QCOMPARE(strip->Shown(), 0);
    StatusStrip second(notifier);
    notifier.SetOnline();
    QCOMPARE(strip->Shown(), 1);
    QCOMPARE(second.Shown(), 1);
    strip.reset();  // unregisters itself
    notifier.SetOffline();
    QCOMPARE(second.Shown(), 0);
}

void ShellPartsTest::idleReaderTakesLinesOnlyWhileNoOperationOwnsTheLine() {
    vk::test::RecordingUserInterface ui;
    MemorySettingsBackend settings;
    CoreContext core(ui, settings);
    vk::test::PtyPeer camera;
    core.port.PinPort(camera.Path());
    QVERIFY(core.channel.OpenChannel(ChannelMode::ComPort, 9600, 0));
    IdleReader reader(core.exchange, core.channel, ui);

    // Woken by the bytes themselves: no timer runs.
    camera.Send("TMP0=41\r\nHELLO\r\n");
    QTRY_COMPARE(core.exchange.QueuedReplies(), std::size_t{2});
    QCOMPARE(core.logs.messages.At(0), std::string("HELLO"));
    QCOMPARE(core.logs.messages.At(1), std::string("TMP0=41"));
    QVERIFY(core.logs.terminal.At(0).ends_with("Rx: HELLO"));

    // A binary answer full of line ends, while an operation owns the line and the event loop
    // turns: every byte reaches the operation, in order, and none becomes a line.
    const std::string binary("\x42\x0A\x0D\x0A\x00\x01\r\n\xFF", 9);
    std::vector<std::uint8_t> got(binary.size());
    const ExchangeResult result = core.runner.Run({"binary"}, [&](Operation& operation) {
        camera.Send(binary);
        QTest::qWait(100);  // the reader is told of the bytes meanwhile
        return operation.exchange.ReceiveBytes(got, 2000);
    });
    QVERIFY(result.ok());
    QCOMPARE(std::string(got.begin(), got.end()), binary);
    QCOMPARE(core.exchange.QueuedReplies(), std::size_t{2});
    QVERIFY(core.logs.terminal.At(0).ends_with("Rx: 42 0A 0D 0A 00 01 0D 0A FF"));

    // Once the line is free again the reader takes what comes.
    camera.Send("COMPLETE\r\n");
    QTRY_COMPARE(core.exchange.QueuedReplies(), std::size_t{3});
}

void ShellPartsTest::idleReaderLooksAtACameraLinkLibraryAndFollowsTheMode() {
    vk::test::FakeClEnvironment fake;
    vk::test::PtyPeer grabber;
    fake.env.Set(vk::test::fakecl::kDevice, grabber.Path());
    vk::test::PtyPeer comPort;
    vk::test::RecordingUserInterface ui;
    MemorySettingsBackend settings;
    CoreContext core(ui, settings);
    core.port.PinPort(comPort.Path());
    QVERIFY(core.channel.OpenChannel(ChannelMode::ComPort, 9600, 0));
    IdleReader reader(core.exchange, core.channel, ui);

    // A library tells of no bytes: once the reader follows the new mode it looks by itself.
    QVERIFY2(core.channel.OpenChannel(ChannelMode::ClSerialV11, 9600, 0),
             core.channel.LastOpenError().c_str());
    reader.FollowChannel();
    grabber.Send("HELLO\r\n");
    QTRY_COMPARE(core.exchange.QueuedReplies(), std::size_t{1});
    QCOMPARE(core.logs.messages.At(0), std::string("HELLO"));
    // Not while an operation holds the line; the next look after it takes the line.
    const ExchangeResult held = core.runner.Run({"hold"}, [&](Operation&) {
        grabber.Send("AGAIN\r\n");
        QTest::qWait(4 * IdleReader::kLibraryPollMs);
        return ExchangeResult::Success();
    });
    QVERIFY(held.ok());
    QCOMPARE(core.exchange.QueuedReplies(), std::size_t{1});
    QTRY_COMPARE(core.exchange.QueuedReplies(), std::size_t{2});

    // Back on the COM port the port's own notice wakes it.
    QVERIFY(core.channel.OpenChannel(ChannelMode::ComPort, 9600, 0));
    reader.FollowChannel();
    comPort.Send("BACK\r\n");
    QTRY_COMPARE(core.exchange.QueuedReplies(), std::size_t{3});
    QCOMPARE(core.logs.messages.At(0), std::string("BACK"));
}

void ShellPartsTest::programOptions() {
    ProgramOptions o;
    QString error;
    QVERIFY(ParseProgramOptions({}, o, error));
    QVERIFY(!o.simulateModel && !o.port && !o.help);

    QVERIFY(ParseProgramOptions({"--simulate"}, o, error));
    QVERIFY(o.simulateModel && o.simulateModel->isEmpty());
    QVERIFY(ParseProgramOptions({"--simulate=VK-26000C-MCL"}, o, error));
    QCOMPARE(*o.simulateModel, QString("VK-26000C-MCL"));
    QVERIFY(ParseProgramOptions({"--port", "/dev/ttyUSB0"}, o, error));
    QCOMPARE(*o.port, QString("/dev/ttyUSB0"));
    QVERIFY(ParseProgramOptions({"--port=/dev/ttyS1"}, o, error));
    QCOMPARE(*o.port, QString("/dev/ttyS1"));

    // --port alone and with --simulate are the start-up test's, through the real program.
    const QStringList bad[] = {{"--port="}, {"--simulate="}, {"--baud", "9600"}, {"extra"}};
    for (const QStringList& args : bad) {
        error.clear();
        QVERIFY2(!ParseProgramOptions(args, o, error), qPrintable(args.join(' ')));
        QVERIFY(!error.isEmpty());
    }
}

QTEST_MAIN(ShellPartsTest)
#include "shell_parts_test.moc"
